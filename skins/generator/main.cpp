// nerit_skingen: draws the four skin folders from the SVG templates.
//
//   nerit_skingen SOURCES OUT [OVERRIDES]
// SOURCES holds images/*.txt, texts/*.tsv and templates/*.svg; the images go to
// OUT/VimoSkin, OUT/VimoSkin1, OUT/VimoSkin2 and OUT/VimoSkin3. A file
// OVERRIDES/<skin folder>/<name> or OVERRIDES/<name> is copied instead of
// drawing that image, so any picture can be replaced by a hand-made one.
//
// Each run yields exactly the described images: all four folders are drawn
// into fresh folders beside OUT's, and only when every image is done do they
// replace the old ones, so nothing stale survives and a failed run (exit 1)
// leaves the previous folders as they were.
#include "SkinManifest.h"
#include "SkinRenderer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace skingen;

namespace {

std::optional<std::string> ReadFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::optional<fs::path> OverrideFor(const fs::path& overrides, std::string_view folder, const std::string& name)
{
    if (overrides.empty())
        return std::nullopt;
    std::error_code ec;
    for (const fs::path& candidate : {overrides / folder / name, overrides / name})
        if (fs::is_regular_file(candidate, ec))
            return candidate;
    return std::nullopt;
}

class Generator {
public:
    Generator(fs::path sources, fs::path out, fs::path overrides)
        : sources_(std::move(sources)), out_(std::move(out)), overrides_(std::move(overrides))
    {
    }

    ~Generator() { RemoveFresh(); }

    bool Run()
    {
        return LoadManifest() && MakeFolders() && DrawAll() && ReplaceFolders();
    }

private:
    bool Fail(const std::string& where, const std::string& message)
    {
        std::fprintf(stderr, "nerit_skingen: %s: %s\n", where.c_str(), message.c_str());
        return false;
    }

    // Every images/*.txt and texts/*.tsv, in name order (so a theme file
    // named "00-..." sets the shared parameters first).
    static std::vector<fs::path> FilesIn(const fs::path& folder, std::string_view extension)
    {
        std::vector<fs::path> files;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder, ec))
            if (entry.is_regular_file(ec) && entry.path().extension() == extension)
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }

    template <class Parse>
    bool ParseAll(const fs::path& folder, std::string_view extension, Parse parse)
    {
        const auto files = FilesIn(folder, extension);
        if (files.empty())
            return Fail(folder.string(), "no " + std::string(extension) + " files");
        for (const fs::path& file : files) {
            const auto text = ReadFile(file);
            if (!text)
                return Fail(file.string(), "cannot read it");
            if (!parse(*text, file.filename().string()))
                return Fail(file.string() + ":" + std::to_string(manifest_.Error().line), manifest_.Error().message);
        }
        return true;
    }

    bool LoadManifest()
    {
        return ParseAll(sources_ / "texts", ".tsv",
                        [&](std::string_view t, const std::string&) { return manifest_.ParseTexts(t); }) &&
               ParseAll(sources_ / "images", ".txt", [&](std::string_view t, const std::string& file) {
                   return manifest_.ParseImages(t, "images/" + file);
               });
    }

    // A folder of our own beside `final`, named so that no other run or
    // earlier leftover can be it.
    std::optional<fs::path> FreshFolderBeside(const fs::path& final, std::string_view kind)
    {
        std::error_code ec;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate = final.parent_path() / ("." + final.filename().string() + "." +
                                                             std::string(kind) + "-" + std::to_string(random_()));
            if (fs::create_directory(candidate, ec))
                return candidate;
            if (ec)
                break;
        }
        Fail(final.string(), ec ? ec.message() : "cannot make a fresh folder beside it");
        return std::nullopt;
    }

    bool MakeFolders()
    {
        std::error_code ec;
        if (fs::create_directories(out_, ec); ec)
            return Fail(out_.string(), ec.message());
        for (std::string_view folder : kSkinFolders) {
            auto fresh = FreshFolderBeside(out_ / folder, "new");
            if (!fresh)
                return false;
            fresh_.push_back(std::move(*fresh));
        }
        return true;
    }

    // Moves the old folder aside, the fresh one in, then drops the old one.
    // A failed move puts the old folder back.
    bool ReplaceFolder(const fs::path& fresh, const fs::path& final)
    {
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(final, ec))) {
            fs::rename(fresh, final, ec);
            return ec ? Fail(final.string(), ec.message()) : true;
        }
        const auto aside = FreshFolderBeside(final, "old");
        if (!aside)
            return false;
        const fs::path previous = *aside / "previous";
        std::error_code moved;
        fs::rename(final, previous, moved);
        if (!moved) {
            fs::rename(fresh, final, moved);
            if (moved)
                fs::rename(previous, final, ec);
            // Should the old folder not go back, it stays aside rather than lost.
            if (ec)
                return Fail(final.string(), moved.message() + "; the previous folder is in " + aside->string());
        }
        fs::remove_all(*aside, ec);
        return moved ? Fail(final.string(), moved.message()) : true;
    }

    bool ReplaceFolders()
    {
        for (int i = 0; i < kLanguageCount; ++i)
            if (!ReplaceFolder(fresh_[i], out_ / kSkinFolders[i]))
                return false;
        fresh_.clear();
        return true;
    }

    // Whatever a failed run drew goes; the previous folders stay.
    void RemoveFresh()
    {
        std::error_code ignored;
        for (const fs::path& folder : fresh_)
            fs::remove_all(folder, ignored);
    }

    const std::string* Template(const std::string& name)
    {
        auto found = templates_.find(name);
        if (found == templates_.end()) {
            auto text = ReadFile(sources_ / "templates" / name);
            if (!text)
                return nullptr;
            found = templates_.emplace(name, std::move(*text)).first;
        }
        return &found->second;
    }

    bool DrawOne(const ImageEntry& image, int language)
    {
        const std::string where = image.file + ":" + std::to_string(image.line) + ": " + image.output + " (" +
                                  std::string(kLanguageCodes[language]) + ")";
        const fs::path target = fresh_[language] / image.output;
        if (auto replacement = OverrideFor(overrides_, kSkinFolders[language], image.output)) {
            std::error_code ec;
            fs::copy_file(*replacement, target, fs::copy_options::overwrite_existing, ec);
            return ec ? Fail(where, ec.message()) : true;
        }
        const std::string* svgTemplate = Template(image.templateName);
        if (!svgTemplate)
            return Fail(where, "cannot read template " + image.templateName);
        auto parameters = manifest_.ResolvedParameters(image, language);
        if (!parameters)
            return Fail(where, manifest_.Error().message);
        (*parameters)["lang"] = std::string(kLanguageCodes[language]);
        auto svg = renderer_.Substitute(*svgTemplate, *parameters);
        if (!svg || !renderer_.Render(*svg, target.string()))
            return Fail(where, renderer_.Error());
        return true;
    }

    bool DrawAll()
    {
        for (int language = 0; language < kLanguageCount; ++language)
            for (const ImageEntry& image : manifest_.Images())
                if (!DrawOne(image, language))
                    return false;
        return true;
    }

    fs::path sources_;
    fs::path out_;
    fs::path overrides_;
    SkinManifest manifest_;
    SkinRenderer renderer_;
    std::map<std::string, std::string> templates_;
    std::vector<fs::path> fresh_;  // the folders being drawn, one per language
    std::mt19937_64 random_{std::random_device{}()};
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: nerit_skingen SOURCES OUT [OVERRIDES]\n");
        return 2;
    }
    Generator generator(argv[1], argv[2], argc == 4 ? argv[3] : "");
    return generator.Run() ? 0 : 1;
}
