// The built nerit_skingen on a small sources folder of its own: what it draws,
// what replaces a drawn image, and that a run that fails leaves the folders
// of the previous run exactly as they were.
#include "tests/RunShell.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr const char* kFolders[] = {"VimoSkin", "VimoSkin1", "VimoSkin2", "VimoSkin3"};

constexpr const char* kBox = "<svg xmlns='http://www.w3.org/2000/svg' width='{{w}}' height='8'>"
                             "<rect width='4' height='8' fill='{{colour}}'/><text y='7'>{{label}}</text></svg>";

void Write(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string Read(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Every file under `folder` (hidden ones too) with its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        files[fs::relative(entry.path(), folder).string()] = entry.is_regular_file() ? Read(entry.path()) : "<dir>";
    return files;
}

class SkinGenerator : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(temp_.Path().empty());
        Write(sources_ / "templates" / "box.svg", kBox);
        Write(sources_ / "texts" / "words.tsv", "# key\ten\tzhTW\tzhCN\tde\n"
                                                "save\tSave\t儲存\t保存\tSpeichern\n");
        Write(sources_ / "images" / "00-theme.txt", "set colour=#102030\n");
    }

    testsupport::RunResult Run() const
    {
        return testsupport::RunShell(std::string(NERIT_SKINGEN_PATH) + " '" + sources_.string() + "' '" +
                                     out_.string() + "' '" + overrides_.string() + "'");
    }

    testsupport::TempFolder temp_{"skingen-test"};
    fs::path sources_ = temp_.Path() / "src";
    fs::path out_ = temp_.Path() / "out";
    fs::path overrides_ = temp_.Path() / "override";
};

TEST_F(SkinGenerator, OverridesReplaceDrawnImagesPerFolderOrForAll)
{
    Write(sources_ / "images" / "main.txt", "A.png box.svg w=10 label=@save\n"
                                            "B.png box.svg w=12 label=x\n"
                                            "C.bmp box.svg w=5 label=y\n");
    Write(overrides_ / "VimoSkin2" / "A.png", "hand-made for zhCN");
    Write(overrides_ / "B.png", "hand-made for all");
    const auto run = Run();
    ASSERT_EQ(run.status, 0) << run.out;
    for (int language = 0; language < 4; ++language) {
        const fs::path folder = out_ / kFolders[language];
        EXPECT_EQ(Read(folder / "B.png"), "hand-made for all") << kFolders[language];
        EXPECT_EQ(Read(folder / "C.bmp").substr(0, 2), "BM") << kFolders[language];
        if (language == 2)
            EXPECT_EQ(Read(folder / "A.png"), "hand-made for zhCN");
        else
            EXPECT_EQ(Read(folder / "A.png").substr(1, 3), "PNG") << kFolders[language];
    }
    // The only things in the output are the four folders, nothing half-made.
    std::map<std::string, std::string> expected;
    for (const char* folder : kFolders)
        for (const char* name : {"", "/A.png", "/B.png", "/C.bmp"})
            expected[std::string(folder) + name];
    std::map<std::string, std::string> names;
    for (const auto& [name, bytes] : Snapshot(out_))
        names[name];
    EXPECT_EQ(names, expected);
}

TEST_F(SkinGenerator, EachRunYieldsExactlyTheDescribedImages)
{
    Write(sources_ / "images" / "main.txt", "A.png box.svg w=10 label=a\n"
                                            "B.png box.svg w=10 label=b\n");
    Write(overrides_ / "VimoSkin3" / "A.png", "hand-made");
    ASSERT_EQ(Run().status, 0);
    ASSERT_TRUE(fs::exists(out_ / "VimoSkin1" / "B.png"));
    ASSERT_EQ(Read(out_ / "VimoSkin3" / "A.png"), "hand-made");
    Write(out_ / "VimoSkin" / "stray.png", "left by someone");

    // B leaves the list, A's override goes: the next run draws A everywhere
    // and nothing else remains.
    Write(sources_ / "images" / "main.txt", "A.png box.svg w=10 label=a\n");
    fs::remove(overrides_ / "VimoSkin3" / "A.png");
    const auto run = Run();
    ASSERT_EQ(run.status, 0) << run.out;
    for (const char* folder : kFolders) {
        const auto files = Snapshot(out_ / folder);
        ASSERT_EQ(files.size(), 1u) << folder;
        EXPECT_EQ(files.begin()->first, "A.png");
        EXPECT_EQ(files.begin()->second.substr(1, 3), "PNG") << folder;
    }
    EXPECT_EQ(Snapshot(out_).size(), 8u);
}

TEST_F(SkinGenerator, AFailedRunNamesTheEntryAndLeavesThePreviousFolders)
{
    Write(sources_ / "images" / "main.txt", "A.png box.svg w=10 label=@save\n");
    ASSERT_EQ(Run().status, 0);
    const auto before = Snapshot(out_);

    const struct {
        const char* name;
        std::string images;  // images/main.txt after A's line
        std::string extraTemplate;  // templates/bad.svg
        std::string expected;  // in the message
    } cases[] = {
        {"broken SVG", "# then\nB.png bad.svg w=3\n", "<svg width='3' height='3'><g></svg>",
         "images/main.txt:3: B.png (en): SVG"},
        {"missing template", "B.png absent.svg\n", "", "images/main.txt:2: B.png (en): cannot read template absent.svg"},
        {"missing text", "\n\nB.png box.svg w=3 label=ok label.de=@nothing\n", "",
         "images/main.txt:4: B.png (de): unknown text \"nothing\""},
        {"unclosed placeholder", "B.png bad.svg\n", "<svg width='{{w' height='3'/>",
         "images/main.txt:2: B.png (en): unclosed {{"},
    };
    for (const auto& c : cases) {
        // A's text changes too, so a run that wrote before failing shows.
        Write(sources_ / "texts" / "words.tsv", "save\tStore\t存\t存\tAblegen\n");
        Write(sources_ / "images" / "main.txt", "A.png box.svg w=10 label=@save\n" + c.images);
        fs::remove(sources_ / "templates" / "bad.svg");
        if (!c.extraTemplate.empty())
            Write(sources_ / "templates" / "bad.svg", c.extraTemplate);
        const auto run = Run();
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_NE(run.out.find(c.expected), std::string::npos) << c.name << ": " << run.out;
        EXPECT_EQ(Snapshot(out_), before) << c.name;
    }

    // A text row without its German text stops the run at that row.
    Write(sources_ / "images" / "main.txt", "A.png box.svg w=10 label=@save\n");
    Write(sources_ / "texts" / "words.tsv", "save\tStore\t存\t存\t\n");
    const auto run = Run();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("words.tsv:1: text \"save\" has no de text"), std::string::npos) << run.out;
    EXPECT_EQ(Snapshot(out_), before);
}

}  // namespace
