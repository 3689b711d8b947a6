// The description the skin generator draws from: which image files each skin
// folder gets, from which SVG template, with which parameters, and the
// per-language texts that pictures with words use.
//
// images/*.txt, one image per line ('#' starts a comment line):
//   set NAME=VALUE                      a parameter every image sees
//   OUTPUT TEMPLATE [NAME=VALUE ...]    an image (".png" or ".bmp")
// A value may be quoted ("two words"). NAME.LANG=VALUE (LANG one of en,
// zhTW, zhCN, de) sets the parameter for that language only. A value that
// starts with '@' names a text of texts/*.tsv.
// The files are read in name order; a "set" applies to the images after it.
//
// texts/*.tsv, one text per line: KEY<TAB>en<TAB>zhTW<TAB>zhCN<TAB>de; every
// language needs its text (an untranslated picture must not ship unnoticed);
// "\n" in a text is a line break.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skingen {

inline constexpr int kLanguageCount = 4;
// Language index 0..3 as the program counts them, and the skin folder each uses.
inline constexpr std::array<std::string_view, kLanguageCount> kLanguageCodes = {"en", "zhTW", "zhCN", "de"};
inline constexpr std::array<std::string_view, kLanguageCount> kSkinFolders = {"VimoSkin", "VimoSkin1", "VimoSkin2",
                                                                              "VimoSkin3"};

struct ImageEntry {
    std::string output;  // file name in the skin folder
    std::string templateName;  // SVG file under the sources folder
    std::string file;  // the images/*.txt it was described in
    // name -> value per language (after the ".LANG" overrides)
    std::array<std::map<std::string, std::string>, kLanguageCount> parameters;
    int line = 0;
};

struct ParseError {
    int line = 0;  // 1-based
    std::string message;
};

class SkinManifest {
public:
    // False with Error() set on the first bad line.
    // `file` is remembered in each image, for messages about it.
    bool ParseImages(std::string_view text, const std::string& file = {});
    bool ParseTexts(std::string_view text);

    const std::vector<ImageEntry>& Images() const { return images_; }
    // The text of that key and language; nullopt for an unknown key.
    std::optional<std::string> Text(const std::string& key, int language) const;
    // The parameters of an image for one language, texts ("@key") resolved.
    // nullopt with Error() set when a text is missing.
    std::optional<std::map<std::string, std::string>> ResolvedParameters(const ImageEntry& image, int language);
    const ParseError& Error() const { return error_; }

private:
    bool ParseImageLine(std::string_view line, int number, const std::string& file);
    bool ParseTextLine(std::string_view line, int number);
    bool ApplyAssignment(std::string_view token, std::array<std::map<std::string, std::string>, kLanguageCount>& into,
                         int number);
    bool Fail(int line, std::string message);

    std::array<std::map<std::string, std::string>, kLanguageCount> globals_;
    std::vector<ImageEntry> images_;
    std::map<std::string, std::array<std::string, kLanguageCount>> texts_;
    ParseError error_;
};

// Splits at blanks and tabs; "..." keeps blanks (no escapes). nullopt for an
// unterminated quote.
std::optional<std::vector<std::string>> SplitTokens(std::string_view line);

}  // namespace skingen
