#include "platform/TextCodec.h"

#include <cerrno>

#include <iconv.h>

namespace platform {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Only plain names: an empty name would mean the locale's code page, and
// suffixes such as "//IGNORE" would allow partial results.
bool IsPlainName(std::string_view name)
{
    return !name.empty() && name.size() < 64 && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// One open converter, closed when it goes out of scope.
class Converter {
public:
    Converter(std::string_view to, std::string_view from)
    {
        if (IsPlainName(to) && IsPlainName(from))
            handle_ = ::iconv_open(std::string(to).c_str(), std::string(from).c_str());
    }
    ~Converter()
    {
        if (handle_ != kNoConverter)
            ::iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsOpen() const { return handle_ != kNoConverter; }
    bool Convert(std::string_view text, std::string& out);

private:
    // Converts what is left of the input (or, with in == nullptr, flushes the
    // shift state); the output grows as needed.
    bool Step(char** in, size_t* inLeft, std::string& out);

    iconv_t handle_ = kNoConverter;
};

bool Converter::Step(char** in, size_t* inLeft, std::string& out)
{
    for (;;) {
        const size_t used = out.size();
        out.resize(used + 2 * (inLeft != nullptr ? *inLeft : 0) + 16);
        char* next = out.data() + used;
        size_t outLeft = out.size() - used;
        const size_t result = ::iconv(handle_, in, inLeft, &next, &outLeft);
        out.resize(out.size() - outLeft);
        if (result != static_cast<size_t>(-1))
            return true;
        if (errno != E2BIG)
            return false;  // EILSEQ: invalid or unmappable, EINVAL: cut short
    }
}

bool Converter::Convert(std::string_view text, std::string& out)
{
    out.clear();
    std::string input(text);
    char* in = input.data();
    size_t inLeft = input.size();
    if (!Step(&in, &inLeft, out) || inLeft != 0 || !Step(nullptr, nullptr, out)) {
        out.clear();
        return false;
    }
    return true;
}

class IconvTextCodec final : public TextCodec {
public:
    bool IsKnown(std::string_view codePage) override
    {
        return Converter("UTF-8", codePage).IsOpen() && Converter(codePage, "UTF-8").IsOpen();
    }
    bool ToUtf8(std::string_view codePage, std::string_view text, std::string& out) override
    {
        return Run(Converter("UTF-8", codePage), text, out);
    }
    bool FromUtf8(std::string_view codePage, std::string_view text, std::string& out) override
    {
        return Run(Converter(codePage, "UTF-8"), text, out);
    }

private:
    static bool Run(Converter&& converter, std::string_view text, std::string& out)
    {
        out.clear();
        return converter.IsOpen() && converter.Convert(text, out);
    }
};

}  // namespace

TextCodec& SystemTextCodec()
{
    static IconvTextCodec codec;
    return codec;
}

}  // namespace platform
