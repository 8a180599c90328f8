// A winmm.dll dropped beside the program is never loaded: the program takes
// winmm from the system folder only, and the real port still works.

#include <gtest/gtest.h>

#include <filesystem>

#include "e2e_support.h"
#include "quillfret_run.h"
#include "support/wine_path.h"

namespace {

namespace fs = std::filesystem;

class PlantingTest : public DesktopTest {};

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

TEST_F(PlantingTest, AWinmmDllBesideTheExeIsNotLoaded) {
    // Wine prefers its own winmm to one beside the program unless told to
    // take a native one first (as Windows does for a DLL it does not pin to
    // the system folder). Wine reads that from the Linux environment of the
    // process, which CTest sets for this test.
    if (UnderWine() && EnvironmentValue(L"WINEDLLOVERRIDES").find(L"winmm=n") == std::wstring::npos) {
        GTEST_SKIP() << "needs WINEDLLOVERRIDES=winmm=n,b, or Wine never loads a winmm.dll beside a program";
    }
    QuillfretRun run(L"planted-winmm");
    fs::copy_file(fs::path(OwnExeFolder()) / L"planted-winmm.dll", run.folder() / L"winmm.dll");
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    const bool started = run.Start();
    EXPECT_FALSE(fs::exists(run.folder() / L"planted-winmm-loaded")) << "the planted winmm.dll ran in the program";
    ASSERT_TRUE(started);

    PressKey('A');
    EXPECT_EQ(run.WaitForSent(2), (std::vector<std::string>{"90 3c 64", "80 3c 00"}));
    EXPECT_EQ(run.Quit(), 0u);
    EXPECT_EQ(run.RecordKinds().back(), "close");
}

}  // namespace
