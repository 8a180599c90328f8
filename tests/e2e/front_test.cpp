// Playing only where the musician means to: a file with "only_in" plays
// while a window of one of its programs is in front, and its pause key
// switches everything off and plays again. Other programs are copies of a
// small window program under other names, brought to the front in turn.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "front/front_window.h"
#include "quillfret_run.h"
#include "support/input.h"
#include "support/process.h"
#include "support/wait.h"

namespace {

namespace fs = std::filesystem;

// The file name of the program whose window is in front; empty when none.
std::wstring ProgramInFront() {
    DWORD id = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &id);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (process == nullptr) return L"";
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const bool named = QueryFullProcessImageNameW(process, 0, path, &size) != 0;
    CloseHandle(process);
    return named ? fs::path(path).filename().wstring() : L"";
}

// Another program, with a window in the run's folder: a copy of
// quillfret-front.exe named `name`, in front once started. It is closed,
// and waited for, when the case ends.
class OtherProgram {
public:
    OtherProgram(const QuillfretRun& run, const std::wstring& name) : name_(name) {
        const fs::path exe = run.folder() / name;
        fs::copy_file(fs::path(OwnExeFolder()) / L"quillfret-front.exe", exe);
        process_ = LaunchProcess({exe.wstring(), {}, run.folder().wstring(), {}, L""});
        WaitUntil([&] { return (window_ = WindowOf(process_.id())) != nullptr; }, kStartTimeout);
        ComeToFront();
    }
    ~OtherProgram() {
        if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (!WaitForExit(process_, kEventTimeout)) EndProcess(process_);
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    // Brings its window to the front. Sent, not posted: a program still
    // trying to come to the front would take it back from the next one.
    bool ComeToFront() const {
        DWORD_PTR ignored = 0;
        const auto timeout = static_cast<UINT>(std::chrono::milliseconds(2 * kEventTimeout).count());
        return SendMessageTimeoutW(window_, kComeToFront, 0, 0, SMTO_NORMAL, timeout, &ignored) != 0 &&
               ProgramInFront() == name_;
    }

private:
    static HWND WindowOf(DWORD process) {
        for (HWND window = FindWindowW(kFrontWindowClass, nullptr); window != nullptr;
             window = FindWindowExW(nullptr, window, kFrontWindowClass, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process) return window;
        }
        return nullptr;
    }

    std::wstring name_;
    ChildProcess process_;
    HWND window_ = nullptr;
};

class FrontTest : public DesktopTest {
protected:
    QuillfretRun run_{L"front"};
};

const std::string kOn60 = "90 3c 64";
const std::string kOff60 = "80 3c 00";
const std::string kOn62 = "90 3e 64";
const std::string kOff62 = "80 3e 00";

// A press plays only with one of the file's programs in front; its release
// ends it wherever it is made; a press elsewhere starts nothing, and its
// release ends nothing. The program asks which program is in front when it
// handles a press, a moment after the press, so the front changes only once
// the program has handled the presses before: B, pressed with Alpha in front
// and released after the presses to check, tells when (a release always
// ends what its press started, and the program handles events in turn).
TEST_F(FrontTest, APressPlaysOnlyWithOneOfItsProgramsInFront) {
    run_.WriteCfgFile(L"a.json", R"({"only_in": ["Alpha"], "mappings": [{"key": "65", "note": 60},
        {"key": "66", "note": 62}]})");
    ASSERT_TRUE(run_.Start());
    OtherProgram alpha(run_, L"alpha.exe");
    OtherProgram beta(run_, L"beta.exe");

    ASSERT_TRUE(alpha.ComeToFront());
    KeyDown('B');
    ASSERT_EQ(run_.WaitForSent(1), (std::vector<std::string>{kOn62}));
    ASSERT_TRUE(beta.ComeToFront());
    PressKey('A');
    KeyUp('B');
    EXPECT_EQ(run_.WaitForSent(2), (std::vector<std::string>{kOn62, kOff62}));

    ASSERT_TRUE(alpha.ComeToFront());
    KeyDown('A');
    KeyDown('B');
    ASSERT_EQ(run_.WaitForSent(4), (std::vector<std::string>{kOn62, kOff62, kOn60, kOn62}));
    ASSERT_TRUE(beta.ComeToFront());
    KeyUp('A');
    KeyDown('A');
    KeyUp('B');
    EXPECT_EQ(run_.WaitForSent(6), (std::vector<std::string>{kOn62, kOff62, kOn60, kOn62, kOff60, kOff62}));

    ASSERT_TRUE(alpha.ComeToFront());
    KeyUp('A');
    PressKey('A');
    EXPECT_EQ(run_.WaitForSent(8),
              (std::vector<std::string>{kOn62, kOff62, kOn60, kOn62, kOff60, kOff62, kOn60, kOff60}));
    EXPECT_EQ(run_.Quit(), 0u);
}

// The pause key switches off a toggle that is on and a held pedal, once;
// while paused nothing plays and the pedal's release sends nothing; it
// plays again at the next press of the pause key, and a balloon says each.
TEST_F(FrontTest, ThePauseKeySwitchesOffWhatIsOnAndPlaysAgain) {
    run_.WriteCfgFile(L"KeyMapping.cfg", "Pause = 19\n");
    run_.WriteCfgFile(L"a.json", R"({"pause_key": "Pause", "mappings": [{"key": "65", "note": 60},
        {"key": "66", "note": 62, "mode": "toggle"}, {"key": "32", "cc_enabled": true, "cc_number": 64}]})");
    ASSERT_TRUE(run_.Start());
    PressKey('B');
    KeyDown(VK_SPACE);
    ASSERT_EQ(run_.WaitForSent(2), (std::vector<std::string>{"90 3e 64", "b0 40 7f"}));

    PressKey(VK_PAUSE);  // in the order of the trigger codes, as at a change of file
    EXPECT_EQ(SentAfter(run_, 2, 2), (std::vector<std::string>{"b0 40 00", "80 3e 00"}));
    EXPECT_EQ(WaitForBalloon(L"Quillfret is paused"), L"Quillfret is paused: press Pause to play again");
    KeyUp(VK_SPACE);
    PressKey('A');
    PressKey(VK_PAUSE);
    EXPECT_EQ(WaitForBalloon(L"Quillfret is playing"), L"Quillfret is playing");
    PressKey('A');
    EXPECT_EQ(SentAfter(run_, 4, 2), (std::vector<std::string>{kOn60, kOff60})) << "nothing while paused";
    EXPECT_EQ(run_.Quit(), 0u);
}

// The pause belongs to the file: another file chosen plays at once.
TEST_F(FrontTest, ChoosingAnotherFileEndsThePause) {
    run_.WriteCfgFile(L"KeyMapping.cfg", "Pause = 19\n");
    const std::string paused_a = R"({"pause_key": "Pause", "mappings": [{"key": "65", "note": 60}]})";
    run_.WriteCfgFile(L"a.json", paused_a);
    run_.WriteCfgFile(L"b.json", paused_a);
    ASSERT_TRUE(StartWithCurrent(run_, L"a.json"));
    PressKey(VK_PAUSE);
    ASSERT_FALSE(WaitForBalloon(L"Quillfret is paused").empty());
    ChooseConfig(run_, L"b.json");
    EXPECT_EQ(WaitForBalloon(L"Quillfret is playing"), L"Quillfret is playing");
    PressKey('A');
    EXPECT_EQ(run_.WaitForSent(2), (std::vector<std::string>{kOn60, kOff60}));
    EXPECT_EQ(run_.Quit(), 0u);
}

}  // namespace
