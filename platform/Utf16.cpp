#include "platform/Utf16.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length of the sequence a lead byte starts and the bits it contributes.
int SequenceLength(uint8_t lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The allowed range of the second byte after each lead byte, which rules out
// overlong forms, surrogates and values above U+10FFFF.
bool SecondByteFits(uint8_t lead, uint8_t second)
{
    if (lead == 0xE0)
        return second >= 0xA0 && second <= 0xBF;
    if (lead == 0xED)
        return second >= 0x80 && second <= 0x9F;
    if (lead == 0xF0)
        return second >= 0x90 && second <= 0xBF;
    if (lead == 0xF4)
        return second >= 0x80 && second <= 0x8F;
    return (second & 0xC0) == 0x80;
}

}  // namespace

size_t Utf8SequenceAt(std::string_view utf8, size_t pos)
{
    const auto* p = reinterpret_cast<const uint8_t*>(utf8.data()) + pos;
    const size_t left = utf8.size() - pos;
    const uint8_t lead = p[0];
    if (lead < 0x80)
        return 1;
    const size_t length = static_cast<size_t>(SequenceLength(lead));
    if (length == 0)
        return 1;
    size_t valid = 1;
    while (valid < length && valid < left
           && (valid == 1 ? SecondByteFits(lead, p[1]) : (p[valid] & 0xC0) == 0x80))
        ++valid;
    return valid;
}

std::u16string Utf8ToUtf16(std::string_view utf8)
{
    std::u16string out(utf8.size(), u'\0');
    out.resize(DecodeUtf8(utf8, out.data()));
    return out;
}

size_t DecodeUtf8(std::string_view utf8, char16_t* out)
{
    char16_t* w = out;
    const auto* p = reinterpret_cast<const uint8_t*>(utf8.data());
    const uint8_t* end = p + utf8.size();
    while (p < end) {
#if defined(__SSE2__)
        // Runs of ASCII, sixteen bytes at a time.
        while (end - p >= 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            if (_mm_movemask_epi8(chunk) != 0)
                break;
            const __m128i zero = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i*>(w), _mm_unpacklo_epi8(chunk, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(w + 8), _mm_unpackhi_epi8(chunk, zero));
            w += 16;
            p += 16;
        }
#endif
        // Runs of ASCII, eight bytes at a time.
        while (end - p >= 8) {
            uint64_t chunk;
            std::memcpy(&chunk, p, 8);
            if ((chunk & 0x8080808080808080ull) != 0)
                break;
            for (int i = 0; i < 8; ++i)
                w[i] = p[i];
            w += 8;
            p += 8;
        }
        if (p == end)
            break;
        const uint8_t lead = *p;
        if (lead < 0x80) {
            *w++ = lead;
            ++p;
            continue;
        }
        const int length = SequenceLength(lead);
        const size_t used = Utf8SequenceAt(utf8, static_cast<size_t>(p - reinterpret_cast<const uint8_t*>(utf8.data())));
        if (length == 0 || used < static_cast<size_t>(length)) {
            *w++ = kReplacement;
            p += used;
            continue;
        }
        uint32_t code = lead & (0xFF >> (length + 1));
        for (int i = 1; i < length; ++i)
            code = (code << 6) | (p[i] & 0x3F);
        if (code >= 0x10000) {
            code -= 0x10000;
            *w++ = static_cast<char16_t>(0xD800 | (code >> 10));
            *w++ = static_cast<char16_t>(0xDC00 | (code & 0x3FF));
        } else {
            *w++ = static_cast<char16_t>(code);
        }
        p += length;
    }
    return static_cast<size_t>(w - out);
}

std::string Utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        uint32_t code = utf16[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00
            && utf16[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

}  // namespace platform
