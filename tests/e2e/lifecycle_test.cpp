// Start-up, its early ends, and the ways the program stops.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <thread>
#include <utility>

#include "e2e_support.h"
#include "quillfret_run.h"
#include "support/dialogs.h"
#include "support/wait.h"

namespace {

class LifecycleTest : public DesktopTest {};

// The message box of an early end: its text, after which it is dismissed.
std::wstring DismissedText(const std::wstring& caption) {
    HWND box = WaitForMessageBox(caption);
    if (box == nullptr) return L"(no message box)";
    const std::wstring text = MessageBoxText(box);
    DismissMessageBox(box);
    return text;
}

TEST_F(LifecycleTest, ASecondInstanceSaysSoAndEndsWithCode0) {
    QuillfretRun run(L"second-instance");
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());

    ChildProcess second = run.Launch();
    EXPECT_EQ(DismissedText(L"Quillfret"), L"Программа уже запущена.");
    EXPECT_EQ(WaitForExit(second, kEventTimeout), 0u);

    // The first instance runs on unchanged; the second never opened the port.
    PressKey('A');
    EXPECT_EQ(run.WaitForSent(2).size(), 2u);
    const auto kinds = run.RecordKinds();
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), "open"), 1);
    EXPECT_EQ(run.Quit(), 0u);
}

TEST_F(LifecycleTest, WithoutTheMidiPortItSaysSoAndEndsWithCode1) {
    QuillfretRun run(L"no-port");
    // The text names the default device whatever the file asks for.
    run.WriteCfgFile(L"a.json", R"({"midi_device": "Stage Synth", "mappings": []})");
    ChildProcess program = run.Launch(L"Loop A|Fenwickloop Port 1");
    EXPECT_EQ(DismissedText(L"Error"), L"Fenwickloop MIDI device not found");
    EXPECT_EQ(WaitForExit(program, kEventTimeout), 1u);
    EXPECT_EQ(run.window(), nullptr);
}

// A program that Wine lets load no graphics driver gets no window: it ends
// before any hook is installed, with exit code 3, and gives back the port it
// opened (the box that says why needs a window too, and so cannot show).
TEST_F(LifecycleTest, WithoutAWindowItEndsWithCode3BeforeAnyHook) {
    QuillfretRun run(L"no-window");
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    const std::wstring name = L"Quillfret-without-windows.exe";
    ASSERT_TRUE(CopyFileW(run.exe().c_str(), (run.folder() / name).c_str(), FALSE));
    const std::wstring settings = L"Software\\Wine\\AppDefaults\\" + name + L"\\DllOverrides";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, settings.c_str(), L"winex11.drv", REG_SZ, L"", sizeof(wchar_t)),
              ERROR_SUCCESS);
    ChildProcess program = run.Launch(L"Fenwickloop Port 1", run.folder() / name);
    EXPECT_EQ(WaitForExit(program, kStartTimeout), 3u);
    RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Wine\\AppDefaults\\" + name).c_str());
    EXPECT_EQ(run.RecordKinds(), (std::vector<std::string>{"open", "close"}));
}

TEST_F(LifecycleTest, TheMappingFileChoosesThePortByName) {
    QuillfretRun run(L"port-by-name");
    run.WriteCfgFile(L"a.json", R"({"midi_device": "Stage", "mappings": [{"key": "65", "note": 60}]})");
    ASSERT_TRUE(run.Start(L"Fenwickloop Port 1|Stage Synth"));
    PressKey('A');
    EXPECT_EQ(run.WaitForSent(2).size(), 2u);
    EXPECT_EQ(run.SentPorts(), (std::vector<std::string>{"Stage Synth", "Stage Synth"}));
}

TEST_F(LifecycleTest, QuitEndsWithCode0AndANewInstanceStartsAtOnce) {
    QuillfretRun run(L"quit");
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());
    EXPECT_EQ(run.Quit(), 0u);
    EXPECT_EQ(run.window(), nullptr);
    EXPECT_EQ(run.RecordKinds().back(), "close");

    ASSERT_TRUE(run.Start()) << "the mutex was not released";
    EXPECT_EQ(run.Quit(), 0u);
}

TEST_F(LifecycleTest, AWindowClosedFromOutsideEndsTheProgramWithCode0) {
    QuillfretRun run(L"window-closed");
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());
    run.Post(WM_CLOSE, 0, 0);  // the default handling destroys the window
    EXPECT_EQ(WaitForExit(run.process(), kEventTimeout), 0u);
    EXPECT_EQ(run.RecordKinds().back(), "close");
    ASSERT_TRUE(run.Start()) << "the mutex was not released";
}

TEST_F(LifecycleTest, AMissingCfgFolderIsCreated) {
    QuillfretRun run(L"missing-cfg");
    ASSERT_TRUE(run.Start());
    EXPECT_TRUE(std::filesystem::is_directory(run.cfg()));
    EXPECT_FALSE(std::filesystem::exists(run.cfg() / L"last_config.txt"));
    PressKey('A');
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(run.Sent().empty());
    EXPECT_EQ(run.Quit(), 0u);
}

// The program started from Linux is out of the run's reach, and its folder
// lies outside the run's own: whatever the test's outcome, the program is
// asked to quit and the folder is removed.
class LongPathCleanup {
public:
    LongPathCleanup(const QuillfretRun& run, std::filesystem::path folder) : run_(run), folder_(std::move(folder)) {}
    ~LongPathCleanup() {
        if (run_.window() != nullptr) {
            run_.Post(WM_COMMAND, ID_QUIT, 0);
            WaitUntil([&] { return run_.window() == nullptr; }, kEventTimeout);
        }
        RemoveFromLinux(folder_);
    }
    LongPathCleanup(const LongPathCleanup&) = delete;
    LongPathCleanup& operator=(const LongPathCleanup&) = delete;

private:
    const QuillfretRun& run_;
    std::filesystem::path folder_;
};

// The program reads its whole path, however long: started from a folder
// deeper than MAX_PATH, it makes its CFG beside itself, not in a folder
// above. Wine's CreateProcessW refuses such a path, so the program is
// started from Linux, as `wine` starts it from a shell.
TEST_F(LifecycleTest, AProgramPathLongerThanMaxPathHasItsCfgBesideIt) {
    const std::filesystem::path above = std::filesystem::temp_directory_path() / L"quillfret-long-path";
    const std::filesystem::path beside = above / std::wstring(240, L'd');
    // Wine's own removal stalls on a path this long: the folders are removed
    // from Linux, first what a run ended by force may have left.
    if (!RemoveFromLinux(above)) GTEST_SKIP() << "needs Wine, to run a Linux program";
    QuillfretRun run(L"long-path");  // the program to copy, and the record
    const LongPathCleanup cleanup(run, above);
    std::filesystem::create_directories(above);
    const std::string deep = *UnixPath(above) + "/" + std::string(240, 'd');
    ASSERT_GT((beside / L"Quillfret.exe").wstring().size(), size_t{MAX_PATH});
    const std::string from = *UnixPath(run.folder());
    StartLinuxProgram(L"sh", {"-c", "mkdir -p '" + deep + "' && cp '" + from + "/Quillfret.exe' '" + deep +
                                        "/' && QF_VMIDI_PORTS='Fenwickloop Port 1' QF_VMIDI_RECORD='" + from +
                                        "/midi-record.txt' exec wine '" + deep + "/Quillfret.exe'"});
    ASSERT_TRUE(WaitUntil([&] { return run.window() != nullptr && RecordCount(run, "open") == 1; }, kStartTimeout));

    EXPECT_TRUE(std::filesystem::is_directory(beside / L"CFG"));
    EXPECT_FALSE(std::filesystem::exists(above / L"CFG")) << "CFG was made in the folder above the program";
    run.Post(WM_COMMAND, ID_QUIT, 0);
    EXPECT_TRUE(WaitUntil([&] { return run.window() == nullptr; }, kEventTimeout));
}

TEST_F(LifecycleTest, ACfgThatIsAPlainFileEndsStartUpWithCode2) {
    QuillfretRun run(L"cfg-is-a-file");
    {
        std::ofstream plain(run.cfg(), std::ios::binary);
        plain << "not a folder";
    }
    ChildProcess program = run.Launch();
    const std::wstring text = DismissedText(L"Error");
    EXPECT_NE(text.find(run.cfg().wstring()), std::wstring::npos) << "the text names the folder";
    EXPECT_NE(text.find(L"not a folder"), std::wstring::npos) << "the text gives the reason";
    EXPECT_EQ(WaitForExit(program, kEventTimeout), 2u);
    const auto kinds = run.RecordKinds();
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), "open"), 0) << "no port is opened";
}

}  // namespace
