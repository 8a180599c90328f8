#include "config/new_config.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

// Text mode writes CR LF on Windows: 59 bytes there, 56 elsewhere.
#ifdef _WIN32
#define LINE_END "\r\n"
#else
#define LINE_END "\n"
#endif
constexpr std::string_view kDefaultContent =
    "{" LINE_END "    \"mappings\": []," LINE_END "    \"midi_device\": \"Fenwickloop\"" LINE_END "}";
#undef LINE_END

struct Existing {
    std::wstring name;
    bool is_folder;
};

struct NumberingCase {
    std::string name;
    std::vector<Existing> existing;
    std::wstring created;
};

void PrintTo(const NumberingCase& numbering, std::ostream* out) { *out << numbering.name; }

class CreateNewConfigTest : public testing::TestWithParam<NumberingCase> {};

TEST_P(CreateNewConfigTest, CreatesTheFirstFreeNumberAndTouchesNothingElse) {
    TempDir dir;
    for (const Existing& entry : GetParam().existing) {
        if (entry.is_folder) {
            fs::create_directory(dir.path() / entry.name);
        } else {
            WriteBytes(dir.path() / entry.name, "taken");
        }
    }

    std::error_code error = std::make_error_code(std::errc::io_error);  // a stale value is cleared
    const std::optional<std::wstring> path = CreateNewConfig(dir.path().wstring(), error);

    ASSERT_TRUE(path.has_value());
    EXPECT_FALSE(error) << error.message();
    EXPECT_EQ(*path, dir.Wide(GetParam().created));
    EXPECT_EQ(ReadBytes(*path), kDefaultContent);
    for (const Existing& entry : GetParam().existing) {
        if (entry.is_folder) continue;
        EXPECT_EQ(ReadBytes(dir.path() / entry.name), "taken") << fs::path(entry.name);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Numbering, CreateNewConfigTest,
    testing::Values(
        NumberingCase{"EmptyFolder", {}, L"Config_1.json"},
        NumberingCase{"AfterTwo", {{L"Config_1.json", false}, {L"Config_2.json", false}}, L"Config_3.json"},
        NumberingCase{"GapAtOne", {{L"Config_2.json", false}}, L"Config_1.json"},
        NumberingCase{"GapInTheMiddle", {{L"Config_1.json", false}, {L"Config_3.json", false}}, L"Config_2.json"},
        NumberingCase{"FolderTakesAName", {{L"Config_1.json", true}}, L"Config_2.json"},
        NumberingCase{"LeadingZeroIsAnotherName", {{L"Config_01.json", false}}, L"Config_1.json"},
        NumberingCase{"OtherFilesIgnored", {{L"a.json", false}, {L"Config_1.txt", false}}, L"Config_1.json"}),
    [](const testing::TestParamInfo<NumberingCase>& info) { return info.param.name; });

TEST(CreateNewConfigRepeatTest, EachCallMakesTheNextFile) {
    TempDir dir;
    std::error_code error;
    EXPECT_EQ(CreateNewConfig(dir.path().wstring(), error), dir.Wide("Config_1.json"));
    EXPECT_EQ(CreateNewConfig(dir.path().wstring(), error), dir.Wide("Config_2.json"));
    EXPECT_EQ(ReadBytes(dir.path() / "Config_1.json"), kDefaultContent);
}

TEST(CreateNewConfigFailureTest, NoFolderMeansNoFileAndTheCallerIsToldWhy) {
    TempDir dir;
    WriteBytes(dir.path() / "plain", "a file, not a folder");
    const std::vector<fs::path> unusable = {
        dir.path() / "missing",              // the folder is gone: it is not recreated here
        dir.path() / "plain",                // a file in place of the folder
        dir.path() / std::string(400, 'n'),  // the existence check itself fails
    };
    for (const fs::path& cfg_dir : unusable) {
        std::error_code error;
        EXPECT_EQ(CreateNewConfig(cfg_dir.wstring(), error), std::nullopt) << cfg_dir;
        EXPECT_TRUE(error) << cfg_dir << ": a failure without a reason";
    }
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
    EXPECT_EQ(ReadBytes(dir.path() / "plain"), "a file, not a folder");
}

// The creation itself is exclusive, so a file that appears between the
// existence check and the creation is never overwritten.
TEST(CreateNewTextFileTest, NeverOpensSomethingThatExists) {
    TempDir dir;
    WriteBytes(dir.path() / "file.json", "someone else's");
    fs::create_directory(dir.path() / "folder.json");

    std::error_code error;
    EXPECT_EQ(CreateNewTextFile(dir.path() / "file.json", error), nullptr);
    EXPECT_TRUE(error);
    EXPECT_EQ(CreateNewTextFile(dir.path() / "folder.json", error), nullptr);
    EXPECT_EQ(ReadBytes(dir.path() / "file.json"), "someone else's");
}

#ifndef _WIN32
TEST(CreateNewConfigLinkTest, LinkWhoseTargetIsGoneTakesItsName) {
    TempDir dir;
    fs::create_symlink(dir.path() / "gone.json", dir.path() / "Config_1.json");

    std::error_code error;
    EXPECT_EQ(CreateNewConfig(dir.path().wstring(), error), dir.Wide("Config_2.json"));
    EXPECT_FALSE(fs::exists(dir.path() / "gone.json"));
}
#endif

}  // namespace
