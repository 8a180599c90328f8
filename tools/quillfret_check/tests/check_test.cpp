// quillfret-check's report and exit code, on the samples and on broken files.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "key_session.h"
#include "render.h"
#include "run.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

const fs::path kSamples = QUILLFRET_SAMPLES_DIR;

struct CheckRun {
    int code;
    std::string out;
    std::string err;
};

CheckRun Check(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = RunCheck(args, out, err);
    return {code, out.str(), err.str()};
}

std::string Text(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// A mapping file in a fresh folder, with a small KeyMapping.cfg beside it.
class CheckFileTest : public ::testing::Test {
protected:
    CheckRun CheckContent(const std::string& content, std::vector<std::string> options = {}) {
        WriteBytes(dir_.path() / "KeyMapping.cfg", "A=65\nS=83\nCtrl=17\nLCtrl=162\nControl=17\nPause=19\n");
        WriteBytes(dir_.path() / "m.json", content);
        options.push_back(Text(dir_.path() / "m.json"));
        return Check(options);
    }
    TempDir dir_;
};

TEST(CheckSamples, HomeRowScaleLoadsEveryEntry) {
    const CheckRun run = Check({Text(kSamples / "HomeRowScale.json")});
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("MIDI device: \"Fenwickloop\"\n"), std::string::npos);
    EXPECT_NE(run.out.find("mappings[0]: key \"A\" = 65, hold, channel 1\n"
                           "  press:   note-on 60 (C4) velocity 100\n"
                           "  release: note-off 60 (C4)\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("mappings[10]: key \"Space\" = 32, hold, channel 1\n"
                           "  press:   control change 64 value 127\n"
                           "  release: control change 64 value 0\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("mappings[11]: key \"Z\" = 90, toggle, channel 1\n"
                           "  first press:  note-on 48 (C3) velocity 80, note-on 55 (G3) velocity 80\n"
                           "  second press: note-off 48 (C3), note-off 55 (G3)\n"
                           "  release:      nothing\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(
        run.out.find("Quillfret would load 12 mappings from 12 entries; 0 skipped or storing nothing; 0 warnings."),
        std::string::npos);
}

TEST(CheckSamples, JsonReportOfTheSample) {
    const CheckRun run = Check({"--json", Text(kSamples / "HomeRowScale.json")});
    EXPECT_EQ(run.code, 0);
    const json report = json::parse(run.out);
    EXPECT_EQ(report["loads"], true);
    EXPECT_EQ(report["release_on_change"], false);
    EXPECT_EQ(report["mapping_count"], 12);
    EXPECT_EQ(report["key_names_found"], true);
    const json& a = report["entries"][0];
    EXPECT_EQ(a["outcome"], "stored");
    EXPECT_EQ(a["key"], json({{"text", "A"}, {"code", 65}, {"name", "A"}}));
    EXPECT_EQ(a["press"][0]["type"], "note_on");
    EXPECT_EQ(a["press"][0]["note"], 60);
    EXPECT_EQ(a["press"][0]["velocity"], 100);
    EXPECT_EQ(a["press"][0]["packed"], 0x643C90);
    EXPECT_EQ(a["release"][0]["packed"], 0x3C80);
    EXPECT_EQ(report["entries"][11]["second_press"].size(), 2u);
    EXPECT_EQ(report["exit_code"], 0);
}

TEST(CheckSamples, PerformanceLoadsEveryEntry) {
    const CheckRun run = Check({Text(kSamples / "Performance.json")});
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("Release on change: what is still on is switched off when this file is saved again, "
                           "another config is chosen, or Quillfret quits\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("mappings[26]: key \"Up\" = 38, hold, channel 1\n"
                           "  press:   transpose +12\n"
                           "  release: nothing\n"
                           "  transpose +12: the notes of every mapping switched on afterwards move up 12 semitones; "
                           "the transpose stays within -48..48\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Notes are shown as written: the transpose keys move them while playing (a note moved "
                           "outside 0 to 127 is not sent), and the transpose starts at 0 whenever another config "
                           "is chosen.\n"),
              std::string::npos);
    EXPECT_NE(
        run.out.find("Quillfret would load 40 mappings from 40 entries; 0 skipped or storing nothing; 0 warnings."),
        std::string::npos);
}

// Files that fail as a whole: exit code 2 and the reason, in our own words
// (where and what); the JSON library's own wording after them is its own.
struct FailCase {
    std::string name;
    std::string content;
    std::string reason;  // how the reason starts
};

void PrintTo(const FailCase& c, std::ostream* out) { *out << c.name; }

class CheckFailureTest : public CheckFileTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(CheckFailureTest, ReportsTheReason) {
    const CheckRun run = CheckContent(GetParam().content);
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.out.find("The file fails as a whole: " + GetParam().reason), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("[json.exception"), std::string::npos) << "the library's error id is left out";
    EXPECT_NE(run.out.find("Quillfret would load no mappings from it"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CheckFailureTest,
    ::testing::Values(
        FailCase{"Syntax", "{\n  \"mappings\": [\n    {\"key\": \"A\",}\n  ]\n}",
                 "syntax error at line 3, column 17: "},
        FailCase{"NumberBeforeLineEnd", "{\"a\" 1\n}", "syntax error at line 1, column 6: "},
        FailCase{"Empty", "", "syntax error at line 1, column 1: "},
        FailCase{"EntryMember", R"({"mappings": [{"key": "A"}, {"key": "S", "velocity": "loud"}]})",
                 "mappings[1].velocity: a string where a number is expected"},
        FailCase{"ListElement", R"({"mappings": {"b": {"key": "A", "notes": [60, 64, null]}}})",
                 "mappings[\"b\"].notes[2]: null where a number is expected"},
        FailCase{"ListObject", R"({"mappings": [{"key": "A", "cc_numbers": {"x": [1]}}]})",
                 "mappings[0].cc_numbers[\"x\"]: an array where a number is expected"},
        FailCase{"SingleValueList", R"({"mappings": [{"key": "A", "notes": "60"}]})",
                 "mappings[0].notes: a string where a number is expected"},
        FailCase{"Boolean", R"({"mappings": [{"key": "A", "cc_enabled": 1}]})",
                 "mappings[0].cc_enabled: a number where a boolean is expected"},
        FailCase{"Modifier", R"({"mappings": [{"key": "A", "modifier": 17}]})",
                 "mappings[0].modifier: a number where a string is expected"},
        FailCase{"Mode", R"({"mappings": [{"key": "A", "mode": true}]})",
                 "mappings[0].mode: a boolean where a string is expected"},
        FailCase{"Program", R"({"mappings": [{"key": "A"}, {"key": "S"}, {"key": "A"}, {"key": "S", "program": "5"}]})",
                 "mappings[3].program: a string where a number is expected"},
        FailCase{"MidiDevice", R"({"midi_device": 5})", "midi_device: a number where a string is expected"},
        FailCase{"ReleaseOnChange", R"({"release_on_change": "yes"})",
                 "release_on_change: a string where a boolean is expected"},
        FailCase{"TopLevel", R"([{"key": "A"}])", "the top-level value: an array where an object is expected"},
        FailCase{"OnlyInText", R"({"only_in": "reaper64.exe"})",
                 "only_in: a string where a list of program names is expected"},
        FailCase{"OnlyInEmpty", R"({"only_in": []})",
                 "only_in: an empty array where a list of program names is expected"},
        FailCase{"OnlyInEmptyName", R"({"only_in": ["a.exe", ""]})",
                 "only_in[1]: an empty string where a program name is expected"},
        FailCase{"OnlyInNumber", R"({"only_in": [true]})", "only_in[0]: a boolean where a program name is expected"},
        FailCase{"PauseKey", R"({"pause_key": 19})", "pause_key: a number where a string is expected"},
        FailCase{"NumberOverflow", R"({"mappings": [{"key": "A", "note": 1e999}]})", ""}),
    [](const auto& info) { return info.param.name; });

TEST_F(CheckFileTest, DeviceReadBeforeAFailureStays) {
    const CheckRun run = CheckContent(R"({"midi_device": "Loop", "mappings": [{"key": "A", "channel": "1"}]})");
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.out.find("MIDI device: \"Loop\"\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("it would still take its \"midi_device\""), std::string::npos) << run.out;
}

TEST_F(CheckFileTest, TooLargeFileNamesTheLimit) {
    WriteBytes(dir_.path() / "m.json", "{}");
    fs::resize_file(dir_.path() / "m.json", kMaxMappingFileBytes + 1);
    const CheckRun run = Check({Text(dir_.path() / "m.json")});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.out.find("The file fails as a whole: the file is larger than 1 MiB\n"), std::string::npos) << run.out;
}

TEST_F(CheckFileTest, MissingFileCannotBeRead) {
    const CheckRun run = Check({Text(dir_.path() / "absent.json")});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.out.find("The file fails as a whole: the file cannot be read"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("not found: only decimal codes work"), std::string::npos) << run.out;
}

TEST_F(CheckFileTest, SyntaxFailureInJson) {
    const CheckRun run = CheckContent("{\"mappings\": [\n{\"key\": \"A\"}}", {"--json"});
    EXPECT_EQ(run.code, 2);
    const json report = json::parse(run.out);
    EXPECT_EQ(report["loads"], false);
    EXPECT_EQ(report["failure"]["kind"], "syntax");
    EXPECT_EQ(report["failure"]["line"], 2);
    EXPECT_EQ(report["failure"]["column"], 13);
    EXPECT_EQ(report["entries"], json::array());
    EXPECT_EQ(report["exit_code"], 2);
}

TEST_F(CheckFileTest, TypeFailureInJson) {
    const CheckRun run = CheckContent(R"({"mappings": [{"key": "A"}, {"key": "S", "channel": [2]}]})", {"--json"});
    const json report = json::parse(run.out);
    EXPECT_EQ(report["failure"]["kind"], "type");
    EXPECT_EQ(report["failure"]["path"], "mappings[1].channel");
    EXPECT_EQ(report["failure"]["message"], "mappings[1].channel: an array where a number is expected");
}

// Entries that are skipped or store nothing: exit code 1 and why.
struct SkipCase {
    std::string name;
    std::string entry;
    std::string line;
};

void PrintTo(const SkipCase& c, std::ostream* out) { *out << c.name; }

class CheckSkipTest : public CheckFileTest, public ::testing::WithParamInterface<SkipCase> {};

TEST_P(CheckSkipTest, SaysWhy) {
    const CheckRun run =
        CheckContent(R"({"pause_key": "Pause", "mappings": [{"key": "A", "note": 60}, )" + GetParam().entry + "]}");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find(GetParam().line + "\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Quillfret would load 1 mapping from 2 entries; 1 skipped or storing nothing"),
              std::string::npos)
        << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, CheckSkipTest,
    ::testing::Values(
        SkipCase{"KeyNumber", R"({"key": 83})",
                 R"(mappings[1]: "key" is 83, not a string (key texts are written in quotes): skipped)"},
        SkipCase{"NoKey", R"({"note": 62})", R"(mappings[1]: no "key": skipped)"},
        SkipCase{"NullEntry", "null", R"(mappings[1]: no "key": skipped)"},
        SkipCase{"NotObject", "[83]", "mappings[1]: not an object: skipped"},
        SkipCase{"UnknownName", R"({"key": "Kazoo"})",
                 R"(mappings[1]: key "Kazoo" is not a key name: nothing is stored)"},
        SkipCase{"NumberOutOfRange", R"({"key": "300"})",
                 R"(mappings[1]: key "300" is not a code from 1 to 255 nor a key name: nothing is stored)"},
        SkipCase{"PauseKey", R"({"key": "Pause"})",
                 R"(mappings[1]: key "Pause" is the pause key, which is never a trigger: nothing is stored)"},
        SkipCase{"CodeZero", R"({"key": "0x53"})",
                 R"(mappings[1]: key "0x53" reads as the code 0, which is no key: nothing is stored)"}),
    [](const auto& info) { return info.param.name; });

// Entries that load but are probably not meant: exit code 1 and a warning.
struct WarnCase {
    std::string name;
    std::string entries;
    std::string warning;
};

void PrintTo(const WarnCase& c, std::ostream* out) { *out << c.name; }

class CheckWarningTest : public CheckFileTest, public ::testing::WithParamInterface<WarnCase> {};

TEST_P(CheckWarningTest, Warns) {
    const CheckRun run = CheckContent(R"({"mappings": [)" + GetParam().entries + "]}");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("  warning: " + GetParam().warning + "\n"), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, CheckWarningTest,
    ::testing::Values(
        WarnCase{"Replaced", R"({"key": "A", "modifier": "Ctrl", "note": 60}, {"key": "65", "note": 61})",
                 "replaced by mappings[1] (same trigger 65): not in force"},
        WarnCase{"Replaces", R"({"key": "A", "note": 60}, {"key": "65", "note": 61})",
                 "replaces mappings[0] (same trigger 65), whatever its modifier"},
        WarnCase{"ModifierZero", R"({"key": "A", "modifier": "Ctlr", "note": 60})",
                 R"(modifier "Ctlr" gives no key (code 0): the mapping acts without a modifier)"},
        WarnCase{"ModeCase", R"({"key": "A", "mode": "Toggle", "note": 60})",
                 R"(mode "Toggle" is not exactly "toggle" (case matters): the mapping holds)"},
        WarnCase{"ModeUnknown", R"({"key": "A", "mode": "latch", "note": 60})",
                 R"(mode "latch" is not one of "hold", "toggle": the mapping holds)"},
        WarnCase{"NoteIgnored", R"({"key": "A", "notes": [60], "note": 61})",
                 R"("note" is ignored because "notes" is present)"},
        WarnCase{"CcNumberIgnored", R"({"key": "A", "cc_enabled": true, "cc_numbers": [1], "cc_number": 2})",
                 R"("cc_number" is ignored because "cc_numbers" is present)"},
        WarnCase{"ControllersNotEnabled", R"({"key": "A", "cc_number": 64})",
                 R"("cc_number" does nothing unless "cc_enabled" is true)"},
        WarnCase{"Channel", R"({"key": "A", "note": 60, "channel": 17})",
                 "channel 17 is outside 1 to 16: no message is sent"},
        WarnCase{"Velocity", R"({"key": "A", "note": 60, "velocity": 128})",
                 "velocity 128 is outside 0 to 127: no note-on is sent"},
        WarnCase{"Note", R"({"key": "A", "notes": [60, -1]})",
                 "notes -1 is outside 0 to 127: never sent, whatever the transpose"},
        WarnCase{"Controller", R"({"key": "A", "cc_enabled": true, "cc_number": 200})",
                 "cc_number 200 is outside 0 to 127: never sent"},
        WarnCase{"ControllerValue", R"({"key": "A", "cc_enabled": true, "cc_number": 1, "cc_value_on": 255})",
                 "cc_value_on 255 is outside 0 to 127: never sent"},
        WarnCase{"ChannelOfAProgram", R"({"key": "A", "program": 1, "channel": 0})",
                 "channel 0 is outside 1 to 16: no message is sent"},
        WarnCase{"Program", R"({"key": "A", "program": 128})",
                 "program 128 is outside 0 to 127: no program change is sent"},
        WarnCase{"BankWithoutProgram", R"({"key": "A", "bank": 1})", R"("bank" does nothing without "program")"},
        WarnCase{"Bank", R"({"key": "A", "program": 1, "bank": -1})",
                 "bank -1 is outside 0 to 16383: no bank select is sent"},
        WarnCase{"PitchBend", R"({"key": "A", "pitch_bend": 8192})",
                 "pitch_bend 8192 is outside -8192 to 8191: no pitch bend is sent; the switch-off still "
                 "sends the centre"},
        WarnCase{"Transpose", R"({"key": "A", "transpose": -49})",
                 "transpose -49 is outside -48 to 48: the transpose in force stays within that range"}),
    [](const auto& info) { return info.param.name; });

TEST_F(CheckFileTest, OutOfRangeMessagesAreLeftOutAsTheEngineDoes) {
    const CheckRun run = CheckContent(R"({"mappings": [{"key": "A", "notes": [60, 128, 64], "velocity": 1.9}]})");
    EXPECT_NE(run.out.find("  press:   note-on 60 (C4) velocity 1, note-on 64 (E4) velocity 1\n"
                           "  release: note-off 60 (C4), note-off 64 (E4)\n"),
              std::string::npos)
        << run.out;
}

TEST_F(CheckFileTest, ModifierAndNamesOfCodes) {
    const CheckRun run = CheckContent(R"({"mappings": [{"key": "65", "modifier": "17", "cc_enabled": true,
                                                   "cc_numbers": [1, 11], "cc_value_on": 100, "cc_value_off": 20,
                                                   "channel": 10}]})");
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("mappings[0]: key \"65\" = 65 (A), only while \"17\" = 17 (Control) is held, hold, "
                           "channel 10\n"
                           "  press:   control change 1 value 100, control change 11 value 100\n"
                           "  release: control change 1 value 20, control change 11 value 20\n"),
              std::string::npos)
        << run.out;
}

TEST_F(CheckFileTest, ProgramPitchBendAndTransposeInWords) {
    const CheckRun run = CheckContent(R"({"mappings": [
        {"key": "A", "program": 5, "bank": 2, "pitch_bend": 4096, "note": 60, "channel": 2},
        {"key": "S", "mode": "toggle", "transpose": 0, "pitch_bend": -1}]})");
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("  press:   program change 5 (bank 2: CC 0 = 0, CC 32 = 2), pitch bend +4096, note-on 60 "
                           "(C4) velocity 100\n"
                           "  release: note-off 60 (C4), pitch bend centre\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("  first press:  transpose 0, pitch bend -1\n"
                           "  second press: pitch bend centre\n"
                           "  release:      nothing\n"
                           "  transpose 0 sets it back to 0\n"),
              std::string::npos)
        << run.out;
}

TEST_F(CheckFileTest, ProgramPitchBendAndTransposeInJson) {
    const CheckRun run = CheckContent(
        R"({"mappings": [{"key": "A", "program": 5, "bank": 130, "pitch_bend": -8192, "transpose": -3}]})", {"--json"});
    const json a = json::parse(run.out)["entries"][0];
    EXPECT_EQ(a["program"], 5);
    EXPECT_EQ(a["bank"], 130);
    EXPECT_EQ(a["pitch_bend"], -8192);
    EXPECT_EQ(a["transpose"], -3);
    EXPECT_EQ(a["transpose_text"],
              "transpose -3: the notes of every mapping switched on afterwards move down 3 semitones; the transpose "
              "stays within -48..48");
    EXPECT_EQ(a["press"][1]["value"], 2);
    EXPECT_EQ(a["press"][2]["type"], "program_change");
    EXPECT_EQ(a["press"][2]["program"], 5);
    EXPECT_EQ(a["press"][3]["type"], "pitch_bend");
    EXPECT_EQ(a["press"][3]["value"], -8192);
    EXPECT_EQ(a["release"][0]["text"], "pitch bend centre");
    EXPECT_EQ(a["release"][0]["packed"], 0x4000E0);
}

// The programs a file plays in and its pause key, in words and in JSON; a
// pause key that names no key is warned about.
TEST_F(CheckFileTest, ProgramsItPlaysInAndThePauseKey) {
    const std::string file = R"({"only_in": ["reaper64.exe", "Live"], "pause_key": "Pause", "mappings": []})";
    const CheckRun run = CheckContent(file);
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("Plays only in: reaper64.exe, Live (a press acts only while a window of one of them is in "
                           "front)\nPause key: \"Pause\" = 19 (pauses everything and plays again; never a trigger)\n"),
              std::string::npos)
        << run.out;
    const json report = json::parse(CheckContent(file, {"--json"}).out);
    EXPECT_EQ(report["only_in"], json({"reaper64.exe", "Live"}));
    EXPECT_EQ(report["pause_key"], json({{"text", "Pause"}, {"code", 19}, {"name", "Pause"}}));

    const CheckRun unknown = CheckContent(R"({"pause_key": "Pasue"})");
    EXPECT_EQ(unknown.code, 1);
    EXPECT_NE(unknown.out.find("  warning: pause_key \"Pasue\" gives no key (code 0): the file cannot be paused\n"),
              std::string::npos)
        << unknown.out;
}

TEST_F(CheckFileTest, NoMappingsLoadsCleanly) {
    const CheckRun run = CheckContent("{}");
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("Quillfret would load 0 mappings from 0 entries; 0 skipped or storing nothing; 0 warnings."),
              std::string::npos)
        << run.out;
}

TEST_F(CheckFileTest, KeyNamesFileGivenExplicitly) {
    WriteBytes(dir_.path() / "names.cfg", "Bee=66\n");
    WriteBytes(dir_.path() / "m.json", R"({"mappings": [{"key": "Bee"}]})");
    const CheckRun run = Check({Text(dir_.path() / "m.json"), Text(dir_.path() / "names.cfg")});
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("(1 names)"), std::string::npos) << run.out;
}

TEST_F(CheckFileTest, NonAsciiFileNames) {
    const fs::path folder = dir_.path() / fs::path(u8"Kl\u00e4nge \u97f3");
    fs::create_directory(folder);
    WriteBytes(folder / "KeyMapping.cfg", "Pedal=64\n");
    WriteBytes(folder / fs::path(u8"S\u00e4tze.json"), R"({"mappings": [{"key": "Pedal", "note": 60}]})");
    const CheckRun run = Check({Text(folder / fs::path(u8"S\u00e4tze.json"))});
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("File: " + Text(folder / fs::path(u8"S\u00e4tze.json")) + "\n"), std::string::npos);
    EXPECT_NE(run.out.find("key \"Pedal\" = 64, hold"), std::string::npos) << run.out;
}

TEST(CheckArguments, UsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"--jsn", "m.json"}, {"a.json", "b.cfg", "c"}, {"--keys", "--json", "m.json"}}) {
        const CheckRun run = Check(args);
        EXPECT_EQ(run.code, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("Usage: quillfret-check [--json] MAPPING_FILE [KEY_NAMES_FILE]"), std::string::npos);
    }
    const CheckRun help = Check({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("Usage:"), std::string::npos);
}

// --keys: each press and release in a line, with the key's name (or its
// code) and what the file sends, played through the engine; each press with
// the program in front, which decides whether a file with "only_in" plays.
TEST_F(CheckFileTest, KeyLinesNameTheKeyAndSayWhatTheFileDoes) {
    WriteBytes(dir_.path() / "KeyMapping.cfg", "A=65\nUp=38\nB=66\nP=80\n");
    WriteBytes(dir_.path() / "m.json", R"({"only_in": ["Reaper64"], "pause_key": "P",
        "mappings": [{"key": "A", "note": 60}, {"key": "Up", "transpose": 12},
                     {"key": "B", "note": 50, "mode": "toggle", "modifier": "17"}]})");
    KeySession session = StartKeySession(dir_.path() / "m.json", dir_.path() / "KeyMapping.cfg");
    auto line = [&](int32_t code, bool down, std::optional<std::wstring> front = std::nullopt) {
        return KeyLine(
            session, code, down, [](int32_t vk) { return vk == 17; }, front);
    };
    const std::vector<std::string> lines = {line(38, true, L"reaper64.exe"),
                                            line(65, true, L"REAPER64.EXE"),
                                            line(38, false),
                                            line(65, false),
                                            line(66, true, L"notepad.exe"),
                                            line(124, true),
                                            line(80, true, L"notepad.exe"),
                                            line(65, true, L"reaper64.exe"),
                                            line(80, true, L"reaper64.exe")};
    const std::string in_reaper = "  (in front: reaper64.exe)";
    const std::string elsewhere = ", not one the file plays in)";
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "press   Up (38): nothing (the transpose is now +12)" + in_reaper,
                  "press   A (65): note-on 72 (C5) velocity 100  (in front: REAPER64.EXE)", "release Up (38): nothing",
                  "release A (65): note-off 72 (C5)", "press   B (66): nothing  (in front: notepad.exe" + elsewhere,
                  "press   code 124: nothing  (in front: a program that cannot be told" + elsewhere,
                  "press   P (80): nothing (paused: nothing plays until the pause key is pressed again)  "
                  "(in front: notepad.exe" +
                      elsewhere,
                  "press   A (65): nothing" + in_reaper, "press   P (80): nothing (playing again)" + in_reaper}));
}

}  // namespace
