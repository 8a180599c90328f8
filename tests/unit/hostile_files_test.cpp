// Files that are hostile by accident or on purpose: huge, deeply nested,
// binary, or not files at all. Every case must come back (no crash, no hang,
// no sanitizer report) and leave the program in a defined state.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "config/catalogue.h"
#include "config/config_loader.h"
#include "config/key_names.h"
#include "test_files.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;

const std::string kOneMapping = R"({"key":"65","note":60})";

// Loads `content` as the current mapping file of a fresh state.
CoreState LoadFrom(const TempDir& dir, const std::string& content) {
    WriteBytes(dir.path() / "current.json", content);
    CoreState state;
    state.current_config = dir.Wide("current.json");
    LoadConfig(state);
    return state;
}

TEST(HostileMappingFile, LargerThanSixteenMebibytesLoadsNothingButCountsAsRead) {
    TempDir dir;
    std::string content = R"({"mappings":[)" + kOneMapping + "]}";
    content.append(17u << 20, ' ');  // valid JSON, padded past the size limit
    const CoreState state = LoadFrom(dir, content);
    EXPECT_TRUE(state.mappings.empty());
    EXPECT_NE(state.loaded_write_time, 0);
}

TEST(HostileMappingFile, DeepNestingIsSurvivedAndOtherEntriesLoad) {
    TempDir dir;
    const size_t depth = 100000;
    const std::string content =
        R"({"unknown":)" + std::string(depth, '[') + std::string(depth, ']') + R"(,"mappings":[)" + kOneMapping + "]}";
    const CoreState state = LoadFrom(dir, content);
    EXPECT_EQ(state.mappings.count(65), 1u);
}

TEST(HostileMappingFile, DeepNestingInsideAnEntryEmptiesOnlyThatEntry) {
    TempDir dir;
    const size_t depth = 100000;
    const std::string content =
        R"({"mappings":[)" + std::string(depth, '[') + std::string(depth, ']') + "," + kOneMapping + "]}";
    const CoreState state = LoadFrom(dir, content);
    EXPECT_EQ(state.mappings.size(), 1u);
}

TEST(HostileMappingFile, AMillionTinyEntriesLoad) {
    TempDir dir;
    std::string content = R"({"mappings":[)";
    for (int i = 0; i < 1000000; ++i) content += R"({"key":")" + std::to_string(1 + i % 255) + R"("},)";
    content += kOneMapping + "]}";
    const CoreState state = LoadFrom(dir, content);
    EXPECT_EQ(state.mappings.size(), 255u);
    EXPECT_EQ(state.mappings.at(65).notes, std::vector<int32_t>{60});
}

struct BadBytesCase {
    std::string name;
    std::string content;
    size_t mappings;
};

void PrintTo(const BadBytesCase& bad, std::ostream* out) { *out << bad.name; }

class HostileBytesTest : public testing::TestWithParam<BadBytesCase> {};

TEST_P(HostileBytesTest, LoadsWhatIsValidOnly) {
    TempDir dir;
    EXPECT_EQ(LoadFrom(dir, GetParam().content).mappings.size(), GetParam().mappings);
}

INSTANTIATE_TEST_SUITE_P(
    HostileMappingFile, HostileBytesTest,
    testing::Values(
        BadBytesCase{"NulAfterTheValue", R"({"mappings":[)" + kOneMapping + std::string("]}\0\0garbage", 11), 1},
        BadBytesCase{"NulInsideAString", std::string(R"({"mappings":[{"key":"6)") + '\0' + R"(5"}]})", 0},
        BadBytesCase{"InvalidUtf8InAName", "{\"mappings\":[" + kOneMapping + ",{\"key\":\"\xC3\x28\"}]}", 0},
        BadBytesCase{"IntegerBeyondSixtyFourBits",
                     R"({"mappings":[{"key":"65","notes":[123456789012345678901234567890]}]})", 1},
        BadBytesCase{"FloatBeyondThirtyTwoBits", R"({"mappings":[{"key":"65","notes":[1e300,-1e300,60]}]})", 1},
        BadBytesCase{"HugeExponent", R"({"mappings":[{"key":"65","velocity":1e99999}]})", 0},
        BadBytesCase{"BinaryGarbage", std::string("\x00\xFF\x7B\x22\x01\x80\xFE", 7), 0}),
    [](const auto& info) { return info.param.name; });

TEST(HostileKeyNameFile, TenMegabyteLineAndBinaryGarbage) {
    TempDir dir;
    std::string content = "A=65\n" + std::string(10u << 20, 'x') + "=1\n";
    // Every byte value; in the Windows text mode a Ctrl-Z byte ends the file,
    // so only what comes before the garbage is sure to count everywhere.
    for (int byte = 0; byte < 256; ++byte) content += static_cast<char>(byte);
    content += "\nB=66\n";
    WriteBytes(dir.path() / "KeyMapping.cfg", content);
    KeyNameTable key_names;
    LoadKeyNames(key_names, dir.Wide("KeyMapping.cfg"));
    EXPECT_EQ(key_names.at("A"), 65);
    EXPECT_EQ(key_names.at(std::string(10u << 20, 'x')), 1);
}

TEST(HostileSelection, AFolderAsTheCurrentMappingFileLoadsNothing) {
    TempDir dir;
    fs::create_directory(dir.path() / "folder.json");
    CoreState state;
    state.mappings[65] = Mapping{};
    state.current_config = dir.Wide("folder.json");
    LoadConfig(state);
    EXPECT_TRUE(state.mappings.empty());
}

#ifndef _WIN32
// A pipe under a file's name must never be opened: reading it would block the
// one thread that also runs the input hooks. (A hang here fails by time-out.)
TEST(HostileSelection, APipeIsNeverOpened) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir.path() / "pipe.json").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((dir.path() / "last_config.txt").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((dir.path() / "KeyMapping.cfg").c_str(), 0600), 0);

    CoreState state;
    state.cfg_dir = dir.path().wstring();
    state.last_config_path = dir.Wide("last_config.txt");
    LoadLastConfig(state);
    EXPECT_TRUE(state.current_config.empty());

    LoadKeyNames(state.key_names, dir.Wide("KeyMapping.cfg"));
    EXPECT_TRUE(state.key_names.empty());

    state.current_config = dir.Wide("pipe.json");
    LoadConfig(state);
    EXPECT_TRUE(state.mappings.empty());
}

TEST(HostileSelection, ARememberedPathNamingAPipeIsSafeToLoad) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir.path() / "pipe.json").c_str(), 0600), 0);
    WriteBytes(dir.path() / "last_config.txt", (dir.path() / "pipe.json").string());
    CoreState state;
    state.cfg_dir = dir.path().wstring();
    state.last_config_path = dir.Wide("last_config.txt");
    LoadLastConfig(state);
    LoadConfig(state);  // whatever was taken as current, this must return
    EXPECT_TRUE(state.mappings.empty());
}
#endif

}  // namespace
