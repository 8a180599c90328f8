// A mapping file that is not in force, or has entries that do nothing, says
// why in a balloon on the tray icon; a mended file says it is in force. A
// clean start, save or choice says nothing.

#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "quillfret_run.h"
#include "support/dialogs.h"
#include "support/test_files.h"

namespace {

class NewsTest : public DesktopTest {
protected:
    // Saves a.json and waits for the balloon that starts with `told`.
    void SaveAndExpect(const std::string& content, const std::wstring& told) {
        run_.WriteCfgFile(L"a.json", content);
        EXPECT_EQ(WaitForBalloon(told).substr(0, told.size()), told);
    }

    // No balloon that starts with `text` appears within a second.
    bool NeverShown(const std::wstring& text) { return WaitForBalloon(text, 1s).empty(); }

    QuillfretRun run_{L"news"};
};

TEST_F(NewsTest, AFileNotInForceSaysWhyAndAMendedOneSaysItIsInForce) {
    run_.WriteCfgFile(L"a.json", R"({"mappings": [{"key": "65", "note": 60},)");
    ASSERT_TRUE(StartWithCurrent(run_, L"a.json"));
    EXPECT_EQ(WaitForBalloon(L"a.json is not in force:\n"),
              L"a.json is not in force:\nsyntax error at line 1, column 41: syntax error while parsing value - "
              L"unexpected end of input; expected '[', '{', or a literal")
        << "at start-up";
    SaveAndExpect(R"({"mappings": [{"key": "65", "velocity": "loud"}]})",
                  L"a.json is not in force:\nmappings[0].velocity: a string where a number is expected");
    SaveAndExpect(R"({"midi_device": 5})",
                  L"a.json is not in force:\nmidi_device: a number where a string is expected");
    SaveAndExpect(std::string(1024 * 1024 + 1, ' '), L"a.json is not in force:\nthe file is larger than 1 MiB");
    SaveAndExpect(R"({"mappings": [{"key": "65"}, {"key": "Kazoo"}, {"key": 66}]})",
                  L"a.json: 2 entries do nothing; the first:\nmappings[1]: \"Kazoo\" is not a key name (no key names "
                  L"were read from KeyMapping.cfg)");
    SaveAndExpect(R"({"mappings": [{"key": "65", "note": 60}]})", L"a.json is in force: 1 mapping");
    // Renamed into place, so that no load can see it half written; B shows
    // when it is read.
    const std::filesystem::path staged = run_.folder() / L"a.json";
    WriteBytes(staged, R"({"mappings": [{"key": "65", "note": 60}, {"key": "66", "note": 62}]})");
    ASSERT_TRUE(MoveFileExW(staged.c_str(), (run_.cfg() / L"a.json").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(PressUntil(run_, 'B', [](const std::vector<std::string>& added) {
        return added == std::vector<std::string>{NoteOnHex(62), NoteOffHex(62)};
    }));
    EXPECT_TRUE(NeverShown(L"a.json is in force: 2")) << "a clean save after a clean load says nothing";
}

TEST_F(NewsTest, AChosenFileThatIsNotInForceSaysWhy) {
    run_.WriteCfgFile(L"a.json", NoteOnA(60));
    run_.WriteCfgFile(L"b.json", R"([{"key": "65"}])");
    ASSERT_TRUE(StartWithCurrent(run_, L"a.json"));
    ChooseConfig(run_, L"b.json");
    EXPECT_EQ(WaitForBalloon(L"b.json"),
              L"b.json is not in force:\nthe top-level value: an array where an object is "
              L"expected");
}

// Told while the taskbar restarts, when there is no icon to show it on:
// shown once the icon is back.
TEST_F(NewsTest, WhatIsToldWhileTheIconIsGoneIsShownWhenItIsBack) {
    run_.WriteCfgFile(L"a.json", NoteOnA(60));
    ASSERT_TRUE(StartWithCurrent(run_, L"a.json"));
    ASSERT_TRUE(LoseTrayIcon(run_.window()));
    run_.WriteCfgFile(L"a.json", R"({"mappings": [{"key": "65", "velocity": "loud"}]})");
    EXPECT_TRUE(PlaysNothing(run_)) << "the broken file was not loaded";
    EXPECT_TRUE(NeverShown(L"a.json"));
    run_.Post(RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_EQ(WaitForBalloon(L"a.json"),
              L"a.json is not in force:\nmappings[0].velocity: a string where a number is expected");
}

// Held by another program through every retry: said once the retries end.
TEST_F(NewsTest, AFileBusyForTenSecondsSaysSo) {
    run_.WriteCfgFile(L"a.json", NoteOnA(60));
    ASSERT_TRUE(StartWithCurrent(run_, L"a.json"));
    EXPECT_TRUE(NeverShown(L"a.json")) << "a clean start-up says nothing";
    HANDLE held = HoldWhileWriting(run_.cfg() / L"a.json", NoteOnA(62));
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(NeverShown(L"a.json")) << "nothing while it is retried";
    EXPECT_EQ(WaitForBalloon(L"a.json is not in force:\n", 10s + kEventTimeout),
              L"a.json is not in force:\nanother program kept it in use for 10 s");
    CloseHandle(held);
}

}  // namespace
