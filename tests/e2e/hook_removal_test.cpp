// The system removes a low-level hook that missed its time-out without a
// word. Here another process removes the program's hooks the same way, twice
// in a row: the program hears from its raw input that its hooks missed the
// keys, installs them again, and after a short blind time every press
// sounds once.

#include "support/hook_removal.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace {

class HookRemovalTest : public DesktopTest {};

TEST_F(HookRemovalTest, HooksRemovedByAnotherProcessAreBackTwiceInARow) {
    QuillfretRun run(L"hook-removal");
    run.WriteCfgFile(L"a.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());
    // The keys go to a window of this test, as to the musician's DAW.
    HWND focused = CreateFocusedWindow(L"QuillfretE2eHookRemoval", DefWindowProcW);
    ASSERT_TRUE(PlaysNote(run, 60));
    const std::vector<std::string> one_press = {NoteOnHex(60), NoteOffHex(60)};
    for (int removal = 1; removal <= 2; ++removal) {
        // This test runs no hook: the two removed are the program's, one of each kind.
        ASSERT_EQ(RemoveEveryHook().removed, 2u) << "removal " << removal;
        // The first presses are lost (no hook saw them), until the program notices.
        ASSERT_TRUE(PlaysNote(run, 60)) << "the hooks did not come back after removal " << removal;
        for (int press = 1; press <= 3; ++press) {
            const size_t before = run.Sent().size();
            PressKey('A');
            EXPECT_EQ(SentAfter(run, before, one_press.size()), one_press)
                << "press " << press << " after removal " << removal;
        }
    }
    EXPECT_EQ(run.Quit(), 0u);
    DestroyWindow(focused);
}

}  // namespace
