#include "config/key_names.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "support/test_files.h"

namespace {

using Table = std::map<std::string, int32_t>;

struct FileCase {
    std::string name;
    std::string bytes;
    Table expected;
};

void PrintTo(const FileCase& c, std::ostream* out) { *out << c.name; }

class KeyNameFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(KeyNameFileTest, ReadsTheTable) {
    TempDir dir;
    WriteBytes(dir.path() / "KeyMapping.cfg", GetParam().bytes);
    KeyNameTable names{{"Stale", 1}};
    LoadKeyNames(names, dir.Wide("KeyMapping.cfg"));
    EXPECT_EQ(Table(names.begin(), names.end()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, KeyNameFileTest,
    ::testing::Values(FileCase{"PlainLinesLastWithoutLineFeed", "A=65\nB=66", {{"A", 65}, {"B", 66}}},
                      FileCase{"CarriageReturnsAreWhiteSpace", "A=65\r\nB = 66\r\n", {{"A", 65}, {"B", 66}}},
                      FileCase{"BlankAndCommentLinesIgnored", "# keys\n\n   \n\t\nA=65\n#B=66\n", {{"A", 65}}},
                      FileCase{"WhiteSpaceRemovedInsideNameAndValue",
                               "Page Up = 33\nNum\tLock=1 44\n\vF\f1=112\nS=+ 1",
                               {{"PageUp", 33}, {"NumLock", 144}, {"F1", 112}, {"S", 1}}},
                      FileCase{"CommentCutsTheValue", "A=6#5\nSpace = 32 # the bar", {{"A", 6}, {"Space", 32}}},
                      FileCase{"CommentBeforeTheEqualsSignDropsTheLine", "A#=65\n", {}},
                      FileCase{"LineWithoutEqualsSignIgnored", "Escape 27\nA=65", {{"A", 65}}},
                      FileCase{"SignsCount", "X=-5\nY=+7", {{"X", -5}, {"Y", 7}}},
                      FileCase{"LaterLineWins", "A=65\nA=66", {{"A", 66}}},
                      FileCase{"LaterLineWithoutDigitsLeavesEarlierValue", "A=65\nA=\nA=x\nA=-", {{"A", 65}}},
                      FileCase{"EmptyName", " = 32", {{"", 32}}},
                      FileCase{
                          "DigitsThenAnythingGiveTheDigits", "A=12abc\nB=0x41\nC=1=2", {{"A", 12}, {"B", 0}, {"C", 1}}},
                      FileCase{"ThirtyTwoBitRange",
                               "A=2147483647\nB=-2147483648\nC=2147483648\nD=-2147483649\nE=99999999999",
                               {{"A", INT32_MAX}, {"B", INT32_MIN}}},
                      FileCase{"ValuesKeptWithoutRangeCheck", "Big=300\nNeg=-1", {{"Big", 300}, {"Neg", -1}}},
                      FileCase{"ByteOrderMarkStaysInTheFirstName",
                               "\xEF\xBB\xBF"
                               "A=65\nB=66",
                               {{"\xEF\xBB\xBF"
                                 "A",
                                 65},
                                {"B", 66}}},
                      FileCase{"HighBytesAreNotWhiteSpace", "\xC3\x84=1\nA\xA0=2", {{"\xC3\x84", 1}, {"A\xA0", 2}}}),
    [](const auto& info) { return info.param.name; });

TEST(KeyNameFile, MissingFileFolderOrPipeLeavesTheTableEmpty) {
    TempDir dir;
    std::vector<std::string> names = {"Missing.cfg", "Folder.cfg"};
    std::filesystem::create_directory(dir.path() / "Folder.cfg");
#ifndef _WIN32
    // Never opened: with no writer, opening the pipe would block (and the
    // test time out).
    ASSERT_EQ(mkfifo((dir.path() / "Pipe.cfg").c_str(), 0600), 0);
    names.push_back("Pipe.cfg");
#endif
    for (const std::string& name : names) {
        KeyNameTable names{{"Stale", 1}};
        LoadKeyNames(names, dir.Wide(name));
        EXPECT_TRUE(names.empty()) << name;
    }
}

struct ResolveCase {
    std::string text;
    int32_t expected;
};

void PrintTo(const ResolveCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class ResolveKeyNameTest : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(ResolveKeyNameTest, GivesTheCode) {
    const KeyNameTable names{{"A", 65}, {"X", -5},  {"NumLock", 144}, {"300", 77}, {"1", 49},
                             {"", 32},  {"-1", 11}, {"Wide", 1000},   {"0", 48}};
    EXPECT_EQ(ResolveKeyName(names, GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, ResolveKeyNameTest,
                         ::testing::Values(ResolveCase{"65", 65}, ResolveCase{" 65", 65}, ResolveCase{"\t\n65", 65},
                                           ResolveCase{"+65", 65}, ResolveCase{" +65", 65}, ResolveCase{"65abc", 65},
                                           ResolveCase{"0", 0}, ResolveCase{"-0", 0}, ResolveCase{"255", 255},
                                           ResolveCase{"256", 0}, ResolveCase{"0x41", 0},
                                           // decimal texts in 0..255 win over names; others are looked up as written
                                           ResolveCase{"1", 1}, ResolveCase{"300", 77}, ResolveCase{"-1", 11},
                                           ResolveCase{"99999999999", 0}, ResolveCase{"+ 65", 0}, ResolveCase{"A", 65},
                                           ResolveCase{"a", 0}, ResolveCase{" A", 0}, ResolveCase{"X", -5},
                                           ResolveCase{"Wide", 1000}, ResolveCase{"NumLock", 144},
                                           ResolveCase{"Num Lock", 0}, ResolveCase{"", 32}, ResolveCase{"Nope", 0}));

TEST(ResolveKeyName, WithoutNamesOnlyDecimalCodesWork) {
    const KeyNameTable none;
    EXPECT_EQ(ResolveKeyName(none, "65"), 65);
    EXPECT_EQ(ResolveKeyName(none, "A"), 0);
    EXPECT_EQ(ResolveKeyName(none, ""), 0);
}

}  // namespace
