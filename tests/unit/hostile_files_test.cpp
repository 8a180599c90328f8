// Files that are hostile by accident or on purpose: huge, deeply nested or
// binary. Every case must come back (no crash, no hang, no sanitizer report)
// and leave the program in a defined state. The size limit, folders and pipes
// are the readers' own rules, tested with each reader (config_loader_test,
// key_names_test, catalogue_test).
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "config/key_names.h"
#include "config/mapping_file.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

const std::string kOneMapping = R"({"key":"65","note":60})";

// Reads `content` as a mapping file.
MappingFileRead LoadFrom(const TempDir& dir, const std::string& content) {
    WriteBytes(dir.path() / "current.json", content);
    return ReadMappingFile(dir.path() / "current.json", {});
}

TEST(HostileMappingFile, DeepNestingIsSurvivedAndOtherEntriesLoad) {
    TempDir dir;
    const size_t depth = 100000;
    const std::string content =
        R"({"unknown":)" + std::string(depth, '[') + std::string(depth, ']') + R"(,"mappings":[)" + kOneMapping + "]}";
    const MappingFileRead state = LoadFrom(dir, content);
    EXPECT_EQ(state.mappings.count(65), 1u);
}

TEST(HostileMappingFile, DeepNestingInsideAnEntryEmptiesOnlyThatEntry) {
    TempDir dir;
    const size_t depth = 100000;
    const std::string content =
        R"({"mappings":[)" + std::string(depth, '[') + std::string(depth, ']') + "," + kOneMapping + "]}";
    const MappingFileRead state = LoadFrom(dir, content);
    EXPECT_EQ(state.mappings.size(), 1u);
}

// About 80,000 of the smallest entries: the most work per byte a file
// within the size limit can ask for.
TEST(HostileMappingFile, TinyEntriesUpToTheSizeLimitLoad) {
    TempDir dir;
    std::string content = R"({"mappings":[)";
    for (int i = 0; content.size() < 1'048'500; ++i) content += R"({"key":")" + std::to_string(1 + i % 255) + R"("},)";
    content += kOneMapping + "]}";
    content.resize(1'048'576, ' ');
    const MappingFileRead state = LoadFrom(dir, content);
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

}  // namespace
