// What a mapping file's content loads, read from a real file as the program
// reads it and from memory as the tools read a draft.
#include "config/mapping_file.h"

#include <gtest/gtest.h>

#include <string>

#include "mapping_text.h"
#include "support/test_files.h"

namespace {

const KeyNameTable kNames{{"A", 65}, {"Ctrl", 17}, {"300", 77}, {"1", 49}};

// Reads `content` as a mapping file. Also reads it from memory with every
// entry, as the check tool does, which must give the same table, and a
// failure exactly when the table is empty through one.
MappingFileRead Loaded(const std::string& content) {
    TempDir dir;
    WriteBytes(dir.path() / "m.json", content);
    MappingFileRead read = ReadMappingFile(dir.path() / "m.json", kNames);

    const MappingFileRead every = ReadMappingText(content, kNames, ReadDetail::EveryEntry);
    EXPECT_EQ(TableText(every.mappings), TableText(read.mappings)) << "reading with every entry";
    EXPECT_TRUE(every.failure.kind == FileFailure::None || every.mappings.empty());
    return read;
}

constexpr const char* kFails = "FAILS";

// One entry after a sound one for code 90: the file fails as a whole
// (kFails: the table is empty), or the table holds code 90 and what the
// entry stored ("" when it stored nothing).
struct EntryCase {
    std::string name;
    std::string entry;
    std::string expected;
};

void PrintTo(const EntryCase& c, std::ostream* out) { *out << c.entry; }

class EntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EntryTest, Loads) {
    MappingFileRead state = Loaded(R"({"mappings": [{"key": "90", "note": 1}, )" + GetParam().entry + "]}");
    if (GetParam().expected == kFails) {
        EXPECT_EQ(TableText(state.mappings), "");
        return;
    }
    ASSERT_EQ(state.mappings.count(90), 1u) << "the file failed as a whole";
    state.mappings.erase(90);
    EXPECT_EQ(TableText(state.mappings), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    KeyTexts, EntryTest,
    ::testing::Values(
        EntryCase{"NumberKeySkipped", R"({"key": 65})", ""}, EntryCase{"DecimalText", R"({"key": "65"})", "key=65"},
        EntryCase{"LeadingSpace", R"({"key": " 65"})", "key=65"}, EntryCase{"PlusSign", R"({"key": "+65"})", "key=65"},
        EntryCase{"LettersAfterDigits", R"({"key": "65abc"})", "key=65"},
        EntryCase{"HexGivesNoCode", R"({"key": "0x41"})", ""}, EntryCase{"AboveByteUnnamed", R"({"key": "256"})", ""},
        EntryCase{"NegativeUnnamed", R"({"key": "-1"})", ""},
        EntryCase{"AboveByteNamed", R"({"key": "300"})", "key=77"},
        EntryCase{"DecimalBeatsName", R"({"key": "1"})", "key=1"}, EntryCase{"Name", R"({"key": "A"})", "key=65"},
        EntryCase{"NameCaseMatters", R"({"key": "a"})", ""},
        EntryCase{"ModifierDecimal", R"({"key": "65", "modifier": "17"})", "key=65 modifier=17"},
        EntryCase{"ModifierName", R"({"key": "65", "modifier": "Ctrl"})", "key=65 modifier=17"},
        EntryCase{"ModifierUnknownMeansNone", R"({"key": "65", "modifier": "Ctlr"})", "key=65"},
        EntryCase{"ModifierNumberFails", R"({"key": "65", "modifier": 17})", kFails},
        EntryCase{"ModifierNullFails", R"({"key": "65", "modifier": null})", kFails}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Guard, EntryTest,
    ::testing::Values(EntryCase{"NullEntry", "null", ""}, EntryCase{"NumberEntry", "5", ""},
                      EntryCase{"TextEntry", R"("65")", ""}, EntryCase{"ArrayEntry", R"(["65"])", ""},
                      EntryCase{"NoKey", R"({"note": 60})", ""}, EntryCase{"NullKey", R"({"key": null})", ""},
                      EntryCase{"SkippedEntryIsNotExamined", R"({"velocity": "loud", "mode": 1})", ""},
                      EntryCase{"NumberKeyIsNotExamined", R"({"key": 65, "velocity": "loud"})", ""},
                      EntryCase{"CodeZeroIsReadThrough", R"({"key": "0x41", "velocity": "loud"})", kFails},
                      EntryCase{"BadMemberFailsTheFile", R"({"key": "65", "velocity": "loud"})", kFails},
                      EntryCase{"UnknownMembersIgnored", R"({"key": "65", "colour": [1, {}], "Note": "x"})", "key=65"},
                      EntryCase{"RepeatedMemberLastWins", R"({"key": "65", "velocity": 1, "velocity": 2})",
                                "key=65 velocity=2"}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Numbers, EntryTest,
    ::testing::Values(
        EntryCase{"AllFields",
                  R"({"key": "65", "velocity": 90, "channel": 10, "cc_enabled": true, "cc_value_on": 100,
                      "cc_value_off": 20, "notes": [60, 64], "cc_numbers": [1, 11], "mode": "toggle"})",
                  "key=65 velocity=90 channel=10 cc_enabled cc_value_on=100 cc_value_off=20 notes=[60,64] "
                  "cc_numbers=[1,11] mode=toggle"},
        EntryCase{"TrueIsOne", R"({"key": "65", "velocity": true})", "key=65 velocity=1"},
        EntryCase{"FalseIsZero", R"({"key": "65", "cc_value_on": false})", "key=65 cc_value_on=0"},
        EntryCase{"FractionTruncated", R"({"key": "65", "channel": 2.9})", "key=65 channel=2"},
        EntryCase{"NegativeFractionTowardZero", R"({"key": "65", "channel": -2.9})", "key=65 channel=-2"},
        EntryCase{"ExponentForm", R"({"key": "65", "velocity": 1.2e2})", "key=65 velocity=120"},
        EntryCase{"NoRangeCheck", R"({"key": "65", "velocity": 300, "channel": 0})", "key=65 velocity=300 channel=0"},
        EntryCase{"IntegerKeepsLow32Bits", R"({"key": "65", "velocity": 5000000000})", "key=65 velocity=705032704"},
        EntryCase{"NegativeKeepsLow32Bits", R"({"key": "65", "velocity": -4294967297})", "key=65 velocity=-1"},
        EntryCase{"Above63Bits", R"({"key": "65", "velocity": 18446744073709551615})", "key=65 velocity=-1"},
        EntryCase{"Int32Wraps", R"({"key": "65", "velocity": 2147483648})", "key=65 velocity=-2147483648"},
        EntryCase{"LargeFractionLikeInteger", R"({"key": "65", "velocity": 5000000000.5})",
                  "key=65 velocity=705032704"},
        EntryCase{"HugeFraction", R"({"key": "65", "velocity": 1e20})", "key=65 velocity=1661992960"},
        EntryCase{"DoubleOverflowFails", R"({"key": "65", "velocity": 1e400})", kFails},
        EntryCase{"TextFails", R"({"key": "65", "velocity": "100"})", kFails},
        EntryCase{"NullFails", R"({"key": "65", "channel": null})", kFails},
        EntryCase{"ArrayFails", R"({"key": "65", "cc_value_on": [1]})", kFails},
        EntryCase{"ObjectFails", R"({"key": "65", "cc_value_off": {}})", kFails},
        EntryCase{"CcEnabledTrue", R"({"key": "65", "cc_enabled": true})", "key=65 cc_enabled"},
        EntryCase{"CcEnabledOneFails", R"({"key": "65", "cc_enabled": 1})", kFails},
        EntryCase{"CcEnabledTextFails", R"({"key": "65", "cc_enabled": "true"})", kFails},
        EntryCase{"CcEnabledNullFails", R"({"key": "65", "cc_enabled": null})", kFails}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Lists, EntryTest,
    ::testing::Values(
        EntryCase{"NotesInOrderWithDuplicates", R"({"key": "65", "notes": [64, 60, 64]})", "key=65 notes=[64,60,64]"},
        EntryCase{"NotesBeatNote", R"({"key": "65", "notes": [60], "note": 61})", "key=65 notes=[60]"},
        EntryCase{"NullNotesSilenceNote", R"({"key": "65", "notes": null, "note": 61})", "key=65"},
        EntryCase{"EmptyNotesSilenceNote", R"({"key": "65", "notes": [], "note": 61})", "key=65"},
        EntryCase{"IgnoredNoteIsNotRead", R"({"key": "65", "notes": [60], "note": "x"})", "key=65 notes=[60]"},
        EntryCase{"SingleNote", R"({"key": "65", "note": 61})", "key=65 notes=[61]"},
        EntryCase{"NotesAsSingleNumber", R"({"key": "65", "notes": 60})", "key=65 notes=[60]"},
        EntryCase{"NotesElementsConverted", R"({"key": "65", "notes": [60.7, true]})", "key=65 notes=[60,1]"},
        EntryCase{"NotesObjectByName", R"({"key": "65", "notes": {"b": 2, "a": 1, "B": 3}})", "key=65 notes=[3,1,2]"},
        EntryCase{"NotesTextFails", R"({"key": "65", "notes": "60"})", kFails},
        EntryCase{"NotesTextElementFails", R"({"key": "65", "notes": [60, "x"]})", kFails},
        EntryCase{"NotesNullElementFails", R"({"key": "65", "notes": [null]})", kFails},
        EntryCase{"NotesNestedArrayFails", R"({"key": "65", "notes": [[60]]})", kFails},
        EntryCase{"NoteNullFails", R"({"key": "65", "note": null})", kFails},
        EntryCase{"NoteTextFails", R"({"key": "65", "note": "60"})", kFails},
        EntryCase{"CcNumbers", R"({"key": "65", "cc_numbers": [1, 11]})", "key=65 cc_numbers=[1,11]"},
        EntryCase{"CcNumbersBeatCcNumber", R"({"key": "65", "cc_numbers": null, "cc_number": 64})", "key=65"},
        EntryCase{"SingleCcNumber", R"({"key": "65", "cc_number": 64})", "key=65 cc_numbers=[64]"},
        EntryCase{"CcNumberTextFails", R"({"key": "65", "cc_number": "64"})", kFails},
        EntryCase{"CcNumbersObjectFails", R"({"key": "65", "cc_numbers": {"a": "1"}})", kFails}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Mode, EntryTest,
    ::testing::Values(EntryCase{"Toggle", R"({"key": "65", "mode": "toggle"})", "key=65 mode=toggle"},
                      EntryCase{"CapitalIsHold", R"({"key": "65", "mode": "Toggle"})", "key=65"},
                      EntryCase{"TrailingSpaceIsHold", R"({"key": "65", "mode": "toggle "})", "key=65"},
                      EntryCase{"Hold", R"({"key": "65", "mode": "hold"})", "key=65"},
                      EntryCase{"NumberFails", R"({"key": "65", "mode": 1})", kFails},
                      EntryCase{"NullFails", R"({"key": "65", "mode": null})", kFails}),
    [](const auto& info) { return info.param.name; });

// "program", "bank", "pitch_bend" and "transpose": absent unless written,
// read like "velocity", stored as written.
INSTANTIATE_TEST_SUITE_P(
    OptionalMembers, EntryTest,
    ::testing::Values(
        EntryCase{"AllFour", R"({"key": "65", "program": 5, "bank": 258, "pitch_bend": -4096, "transpose": 12})",
                  "key=65 program=5 bank=258 pitch_bend=-4096 transpose=12"},
        EntryCase{"ZeroIsPresent", R"({"key": "65", "transpose": 0, "pitch_bend": 0})",
                  "key=65 pitch_bend=0 transpose=0"},
        EntryCase{"BankWithoutProgramStored", R"({"key": "65", "bank": 2})", "key=65 bank=2"},
        EntryCase{"NoRangeCheck", R"({"key": "65", "program": 300, "bank": -1, "pitch_bend": 9000, "transpose": 99})",
                  "key=65 program=300 bank=-1 pitch_bend=9000 transpose=99"},
        EntryCase{"ConvertedLikeVelocity",
                  R"({"key": "65", "program": 2.9, "bank": 5000000000, "pitch_bend": -2.9, "transpose": true})",
                  "key=65 program=2 bank=705032704 pitch_bend=-2 transpose=1"},
        EntryCase{"ProgramTextFails", R"({"key": "65", "program": "5"})", kFails},
        EntryCase{"BankNullFails", R"({"key": "65", "bank": null})", kFails},
        EntryCase{"PitchBendArrayFails", R"({"key": "65", "pitch_bend": [1]})", kFails},
        EntryCase{"TransposeObjectFails", R"({"key": "65", "transpose": {}})", kFails}),
    [](const auto& info) { return info.param.name; });

// Whole files: the table they load ("" for none), or kFails.
struct FileCase {
    std::string name;
    std::string content;
    std::string expected;
};

void PrintTo(const FileCase& c, std::ostream* out) { *out << c.name; }

class FileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(FileTest, Loads) {
    const MappingFileRead state = Loaded(GetParam().content);
    EXPECT_EQ(TableText(state.mappings), GetParam().expected == kFails ? "" : GetParam().expected);
}

const std::string kOne = R"({"mappings": [{"key": "65"}]})";

INSTANTIATE_TEST_SUITE_P(
    Syntax, FileTest,
    ::testing::Values(
        FileCase{"Plain", kOne, "key=65"}, FileCase{"EmptyFile", "", kFails},
        FileCase{"OnlyWhiteSpace", " \n\t", kFails}, FileCase{"ByteOrderMark", "\xEF\xBB\xBF" + kOne, "key=65"},
        FileCase{"PartialByteOrderMark", "\xEF\xBB" + kOne, kFails},
        FileCase{"TwoByteOrderMarks", "\xEF\xBB\xBF\xEF\xBB\xBF" + kOne, kFails},
        FileCase{"CarriageReturnLineFeeds", "{\r\n\"mappings\": [\r\n{\"key\": \"65\"}\r\n]\r\n}\r\n", "key=65"},
        FileCase{"TextAfterTheValueIgnored", kOne + " and then {[ some words", "key=65"},
        FileCase{"SecondValueIgnored", kOne + R"({"mappings": [{"key": "66"}]})", "key=65"},
        FileCase{"NulBytesAfterTheValueIgnored", kOne + std::string(3, '\0'), "key=65"},
        FileCase{"CommentAfterTheValueIgnored", kOne + "// done", "key=65"},
        FileCase{"CommentBeforeFails", "// mine\n" + kOne, kFails},
        FileCase{"CommentInsideFails", R"({"mappings": [/* A */ {"key": "65"}]})", kFails},
        FileCase{"TrailingCommaFails", R"({"mappings": [{"key": "65"},]})", kFails},
        FileCase{"UnclosedFails", R"({"mappings": [{"key": "65"})", kFails},
        FileCase{"InvalidUtf8InUnknownMemberFails", "{\"name\": \"\xFF\", \"mappings\": [{\"key\": \"65\"}]}", kFails},
        FileCase{"OverlongUtf8Fails", "{\"mappings\": [{\"key\": \"65\", \"x\": \"\xC0\xAF\"}]}", kFails},
        FileCase{"EncodedSurrogateFails", "{\"mappings\": [{\"key\": \"65\", \"x\": \"\xED\xA0\x80\"}]}", kFails},
        FileCase{"Utf8AndEscapesAccepted",
                 "{\"x\": \"Caf\xC3\xA9 \\u00e9 \\ud83c\\udfb9\", \"mappings\": [{\"key\": \"65\"}]}", "key=65"},
        FileCase{"NameCaseMatters", R"({"Mappings": [{"key": "65"}]})", ""},
        FileCase{"RepeatedTopMemberLastWins", R"({"mappings": [{"key": "65"}], "mappings": [{"key": "66"}]})",
                 "key=66"}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Shapes, FileTest,
    ::testing::Values(
        FileCase{"EmptyObject", "{}", ""}, FileCase{"BareNull", "null", ""},
        FileCase{"TopArrayFails", R"([{"key": "65"}])", kFails}, FileCase{"TopTextFails", R"("mappings")", kFails},
        FileCase{"TopNumberFails", "5", kFails}, FileCase{"TopTrueFails", "true", kFails},
        FileCase{"MidiDeviceNumberFails", R"({"midi_device": 5, "mappings": [{"key": "65"}]})", kFails},
        FileCase{"ReleaseOnChangeNumberFails", R"({"release_on_change": 1, "mappings": [{"key": "65"}]})", kFails},
        FileCase{"ReleaseOnChangeTextFails", R"({"release_on_change": "true", "mappings": [{"key": "65"}]})", kFails},
        FileCase{"OnlyInPlays", R"({"only_in": ["reaper64.exe", "Live"], "mappings": [{"key": "65"}]})", "key=65"},
        FileCase{"OnlyInTextFails", R"({"only_in": "reaper64.exe", "mappings": [{"key": "65"}]})", kFails},
        FileCase{"OnlyInEmptyFails", R"({"only_in": [], "mappings": [{"key": "65"}]})", kFails},
        FileCase{"OnlyInEmptyNameFails", R"({"only_in": ["a.exe", ""], "mappings": [{"key": "65"}]})", kFails},
        FileCase{"OnlyInNumberFails", R"({"only_in": [5], "mappings": [{"key": "65"}]})", kFails},
        FileCase{"PauseKeyIsNoTrigger", R"({"pause_key": "A", "mappings": [{"key": "65"}, {"key": "66"}]})", "key=66"},
        FileCase{"PauseKeyNamingNoKeyPlays", R"({"pause_key": "Kazoo", "mappings": [{"key": "65"}]})", "key=65"},
        FileCase{"PauseKeyNumberFails", R"({"pause_key": 19, "mappings": [{"key": "65"}]})", kFails},
        FileCase{"MappingsNull", R"({"mappings": null})", ""},
        FileCase{"MappingsSingleValueSkipped", R"({"mappings": "65"})", ""},
        FileCase{"MappingsSingleNumberSkipped", R"({"mappings": 65})", ""},
        FileCase{"MappingsObjectInNameOrder",
                 R"({"mappings": {"b": {"key": "65", "note": 2}, "a": {"key": "65", "note": 1}, "c": {"key": "66"}}})",
                 "key=65 notes=[2] | key=66"},
        FileCase{"LaterEntryReplacesWhole",
                 R"({"mappings": [{"key": "65", "modifier": "17", "notes": [1], "mode": "toggle"},
                                  {"key": "A", "note": 2}]})",
                 "key=65 notes=[2]"},
        FileCase{"FailureDropsEarlierEntries",
                 R"({"mappings": [{"key": "65"}, {"key": "66", "velocity": "x"}, {"key": "67"}]})", kFails},
        FileCase{"ManyEntries", R"({"mappings": [{"key": "65"}, {"key": "253", "cc_enabled": true, "cc_number": 64},
                                               {"key": "255", "note": 40}]})",
                 "key=65 | key=253 cc_enabled cc_numbers=[64] | key=255 notes=[40]"}),
    [](const auto& info) { return info.param.name; });

// "release_on_change": a JSON boolean at the top level, false when absent;
// a file that fails as a whole has none.
TEST(ReleaseOnChangeTest, ReadAsABoolean) {
    EXPECT_TRUE(Loaded(R"({"release_on_change": true})").settings.release_on_change);
    EXPECT_FALSE(Loaded(R"({"release_on_change": false})").settings.release_on_change);
    EXPECT_FALSE(Loaded(kOne).settings.release_on_change);
    EXPECT_FALSE(
        Loaded(R"({"release_on_change": true, "mappings": [{"key": "65", "note": "x"}]})").settings.release_on_change);
}

}  // namespace
