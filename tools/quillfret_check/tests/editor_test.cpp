// quillfret-check --edit: the server's rules, what it answers and how it saves.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "config/load_news.h"
#include "config/load_words.h"
#include "config/utf8.h"
#include "editor/editor_files.h"
#include "editor/file_store.h"
#include "editor/mapping_layout.h"
#include "editor_client.h"
#include "render.h"

#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <thread>
#endif

namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

constexpr const char* kKeyNames = "A=65\nS=83\n";
constexpr const char* kMapping =
    "{\n  \"midi_device\": \"Fenwickloop\",\n  \"mappings\": [\n    { \"key\": \"A\", \"note\": 60 }\n  ]\n}\n";

class EditorServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(editor_.folder() / "KeyMapping.cfg", kKeyNames);
        WriteBytes(editor_.file(), kMapping);
        editor_.Start();
    }
    std::string Version() { return json::parse(editor_.Send("GET", "api/state").body)["version"]; }

    ServedEditor editor_;
};

struct RuleCase {
    const char* what;
    std::string request;  // $PORT and $SECRET stand for the server's; empty: a check with the next origin
    unsigned status;
};

// A GET of `target` sent to `host`.
std::string Get(const std::string& target, const std::string& host = "127.0.0.1:$PORT") {
    return "GET " + target + " HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n\r\n";
}

// One server answers every case in turn, so a request it refuses, even one
// that is not HTTP, leaves it serving the next.
TEST_F(EditorServerTest, AnswersOnlyThePageOfItsOwnAddress) {
    const std::string check = "POST /$SECRET/api/check HTTP/1.1\r\nConnection: close\r\nHost: 127.0.0.1:$PORT\r\n";
    const RuleCase cases[] = {
        {"the page", Get("/$SECRET/"), 200},
        {"not HTTP", "HELLO\r\n\r\n", 400},
        {"localhost by name", Get("/$SECRET/api/state", "localhost:$PORT"), 200},
        {"no secret", Get("/api/state"), 404},
        {"a wrong secret", Get("/0123456789abcdef0123456789abcdef/api/state"), 404},
        {"another host name (DNS rebinding)", Get("/$SECRET/api/state", "quillfret.example:$PORT"), 421},
        {"the loopback address on another port", Get("/$SECRET/api/state", "127.0.0.1:1"), 421},
        {"no Host", "GET /$SECRET/api/state HTTP/1.1\r\nConnection: close\r\n\r\n", 421},
        {"the page's own origin", "", 200},
        {"another site's page", "", 403},
        {"an origin that only starts like the page's", "", 403},
        {"the key names beside the file", Get("/$SECRET/KeyMapping.cfg"), 404},
        {"the mapping file by name", Get("/$SECRET/m.json"), 404},
        {"a path out of the page", Get("/$SECRET/../m.json"), 404},
        {"a method the route does not take",
         "DELETE /$SECRET/api/save HTTP/1.1\r\nHost: 127.0.0.1:$PORT\r\nConnection: close\r\n\r\n", 405},
        {"a body over the limit",
         "POST /$SECRET/api/check HTTP/1.1\r\nHost: 127.0.0.1:$PORT\r\nContent-Length: 1048577\r\n\r\n", 413},
    };
    const std::string origins[] = {"http://127.0.0.1:$PORT", "http://quillfret.example",
                                   "http://127.0.0.1:$PORT.quillfret.example"};
    std::size_t origin = 0;
    for (const RuleCase& rule : cases) {
        const std::string request = !rule.request.empty()
                                        ? rule.request
                                        : check + "Content-Length: 2\r\nOrigin: " + origins[origin++] + "\r\n\r\n{}";
        EXPECT_EQ(editor_.SendRaw(request).status, rule.status) << rule.what;
    }
    EXPECT_EQ(ReadBytes(editor_.file()), kMapping);
}

TEST_F(EditorServerTest, ADraftAsLargeAsAMappingFileMayBeIsChecked) {
    const RawAnswer answer = editor_.Send("POST", "api/check", std::string(kMaxMappingFileBytes, ' '));
    EXPECT_EQ(answer.status, 200u);
    EXPECT_EQ(json::parse(answer.body)["failure"]["kind"], "syntax");
}

// The check says what the program's balloon would say of the same text.
TEST_F(EditorServerTest, ACheckSaysWhatTheBalloonSays) {
    const std::string drafts[] = {kMapping, "{\"mappings\": [{\"key\": \"Kazoo\"}]}", "{\"mappings\": [}"};
    const KeyNamesRead names = ReadKeyNames(editor_.folder() / "KeyMapping.cfg");
    for (const std::string& draft : drafts) {
        const json answer = json::parse(editor_.Send("POST", "api/check", draft).body);
        LoadNews fresh;
        const std::optional<LoadMessage> balloon =
            NewsOfLoad(fresh, L"m.json", ReadMappingText(draft, names.names), names.names, false);
        EXPECT_EQ(answer["news"], balloon ? json(*WideToUtf8(balloon->file_name + balloon->about_it)) : json(nullptr))
            << draft;
        const json report = ReportJson(CheckMappingText(draft, names));
        for (const char* member : {"loads", "failure", "mapping_count", "midi_device", "release_on_change"}) {
            EXPECT_EQ(answer[member], report[member]) << draft << " " << member;
        }
    }
}

// Each entry as the picture shows it, and whole, in the checker's words, as
// the form asks for it: of the check it was read for, without reading the
// draft again.
TEST_F(EditorServerTest, EachEntryAsThePictureAndTheFormShowIt) {
    const std::string draft = R"({"mappings": [
        {"key": "A", "notes": [60, 64], "modifier": "S", "mode": "toggle", "velocity": 300},
        {"key": "Kazoo"}, {"key": "65", "transpose": 12}, {"key": "S", "program": 5, "cc_value_on": 3}]})";
    const json check = json::parse(editor_.Send("POST", "api/check", draft).body);
    const json& entries = check["entries"];
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], json({{"stored", true},
                                {"path", "mappings[0]"},
                                {"code", 65},
                                {"modifier_code", 83},
                                {"modifier", "S"},
                                {"mode", "toggle"},
                                {"kind", "notes"},
                                {"detail", "C4 E4"}}));
    const KeyNamesRead names = ReadKeyNames(editor_.folder() / "KeyMapping.cfg");
    const CheckResult result = CheckMappingText(draft, names);
    EXPECT_EQ(entries[1], json({{"stored", false},
                                {"path", "mappings[1]"},
                                {"reason", IdleWords(result.entries[1].entry, names.names)}}));
    EXPECT_EQ(entries[2]["kind"], "transpose");
    EXPECT_EQ(entries[2]["detail"], "transpose +12");
    EXPECT_EQ(entries[3]["kind"], "program");
    EXPECT_EQ(entries[3]["detail"], "program change 5");

    const std::string check_id = std::to_string(check["check_id"].get<uint64_t>());
    auto details = [&](int index) {
        return json::parse(editor_.Send("GET", "api/entry?check=" + check_id + "&index=" + std::to_string(index)).body);
    };
    EXPECT_EQ(details(0), json({{"path", "mappings[0]"},
                                {"warnings", result.entries[0].warnings},
                                {"press", MessagesText(result.entries[0].switch_on)},
                                {"second_press", MessagesText(result.entries[0].switch_off)}}));
    EXPECT_EQ(details(1)["reason"], result.entries[1].skip_reason);
    EXPECT_EQ(details(2)["press"], MessagesText(result.entries[2].switch_on, 12));
    EXPECT_EQ(details(3)["warnings"], result.entries[3].warnings);
    EXPECT_FALSE(result.entries[3].warnings.empty());
    EXPECT_EQ(editor_.Send("GET", "api/entry?check=" + check_id + "&index=4").status, 404u);
}

TEST_F(EditorServerTest, ASaveWritesTheWholeFileLaidOutAndLeavesNoTemporaryFile) {
    const std::string draft = R"({"mappings": [{"key": "A", "note": 60, "comment": "low"}, {"key": "S"}],
        "midi_device": "X", "notes_to_self": {"a": [1, 2]}})";
    const RawAnswer answer = editor_.Send("POST", "api/save", draft, "X-Quillfret-Base: " + Version() + "\r\n");
    ASSERT_EQ(answer.status, 200u) << answer.body;
    const std::string saved = *LayOutMappingText(draft);
    EXPECT_EQ(ReadBytes(editor_.file()), saved);
    EXPECT_EQ(json::parse(answer.body)["version"], ContentVersion(saved));
    std::set<fs::path> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(editor_.folder())) {
        names.insert(entry.path().filename());
    }
    EXPECT_EQ(names, (std::set<fs::path>{"KeyMapping.cfg", "m.json"}));
}

TEST_F(EditorServerTest, ASaveOverAChangeOnDiskIsRefused) {
    const std::string read_version = Version();
    const std::string from_notepad = "{\"mappings\": []}\n";
    WriteBytes(editor_.file(), from_notepad);
    const RawAnswer answer = editor_.Send("POST", "api/save", kMapping, "X-Quillfret-Base: " + read_version + "\r\n");
    EXPECT_EQ(answer.status, 409u);
    EXPECT_EQ(json::parse(answer.body)["text"], from_notepad);
    EXPECT_EQ(ReadBytes(editor_.file()), from_notepad);
}

TEST_F(EditorServerTest, TheStateNamesTheFileQuillfretPlaysWhenItIsAnother) {
    WriteBytes(editor_.folder() / "other.json", "{}");
    WriteBytes(editor_.folder() / "last_config.txt", PathText(editor_.folder() / "other.json"));
    const json state = json::parse(editor_.Send("GET", "api/state").body);
    EXPECT_EQ(state["current"], json({{"is_current", false}, {"name", "other.json"}}));
    EXPECT_EQ(state["text"], kMapping);
    EXPECT_EQ(state["layout_redone"], false);
}

// The current config is found as the program finds it at start.
// A double-click edits it: the CFG folder is the one beside the exe.
TEST(EditorFiles, TheCurrentConfigIsTheRememberedOneElseTheFirstListed) {
    TempDir exe_dir;
    const fs::path cfg = exe_dir.path() / "CFG";
    fs::create_directory(cfg);
    EXPECT_EQ(CurrentConfigIn(cfg), std::nullopt);
    EXPECT_EQ(DoubleClickArguments(exe_dir.path()), std::nullopt);
    WriteBytes(cfg / "a.json", "{}");
    EXPECT_EQ(CurrentConfigIn(cfg), cfg / "a.json");
    WriteBytes(cfg / "b.json", "{}");
    WriteBytes(cfg / "last_config.txt", PathText(cfg / "b.json"));
    EXPECT_EQ(CurrentConfigIn(cfg), cfg / "b.json");
    EXPECT_EQ(DoubleClickArguments(exe_dir.path()), (std::vector<std::string>{"--edit", PathText(cfg / "b.json")}));
}

TEST(MappingLayout, OneMemberPerLineOneEntryPerLineOrderAndUnknownMembersKept) {
    EXPECT_EQ(LayOutMappingText(R"({"mappings":[{"key":"A","note":60,"comment":"low"},{"key":"B"}],"midi_device":"X",
              "notes_to_self":{"a":[1,2],"b":{}},"midi_device":"Y","release_on_change":true,"empty":[]})"),
              "{\n"
              "  \"mappings\": [\n"
              "    { \"key\": \"A\", \"note\": 60, \"comment\": \"low\" },\n"
              "    { \"key\": \"B\" }\n"
              "  ],\n"
              "  \"midi_device\": \"Y\",\n"
              "  \"notes_to_self\": { \"a\": [1, 2], \"b\": {} },\n"
              "  \"release_on_change\": true,\n"
              "  \"empty\": []\n"
              "}\n");
    for (const char* not_an_object : {"[1]", "{\"mappings\": [", "\"text\"", "{} trailing"}) {
        EXPECT_EQ(LayOutMappingText(not_an_object), std::nullopt) << not_an_object;
    }
}

TEST(MappingLayout, TheSamplesAreInTheLayoutAlready) {
    for (const char* sample : {"HomeRowScale.json", "Performance.json"}) {
        const std::string text = ReadBytes(fs::path(QUILLFRET_SAMPLES_DIR) / sample);
        EXPECT_EQ(LayOutMappingText(text), text) << sample;
    }
}

TEST(FileStore, AFailedSaveLeavesTheFileAndNoTemporaryFile) {
    TempDir dir;
    const fs::path file = dir.path() / "m.json";
    fs::create_directory(file);  // nothing can be renamed over a folder
    EXPECT_NE(SaveAtomically(file, kMapping), "");
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_FALSE(fs::exists(SaveTemporaryOf(file)));
    EXPECT_NE(SaveTemporaryOf(file).extension(), ".json");
}

#ifdef _WIN32
// A reader (the program, a virus scanner) holding the file for a moment
// delays the save; it does not fail it.
TEST(FileStore, ASaveWaitsForAReaderThatHoldsTheFileForAMoment) {
    TempDir dir;
    const fs::path file = dir.path() / "m.json";
    WriteBytes(file, "{}");
    HANDLE reader = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::thread release([reader] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        CloseHandle(reader);
    });
    EXPECT_EQ(SaveAtomically(file, kMapping), "");
    release.join();
    EXPECT_EQ(ReadBytes(file), kMapping);
}
#endif

}  // namespace
