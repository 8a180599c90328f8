// The system removes a low-level hook that missed its time-out without a
// word. Here another process removes the program's hooks the same way: the
// program hears from its raw input that its hooks missed the keys, installs
// them again, and after a short blind time every press sounds once; what was
// let go while they were gone ends at the re-install.

#include "support/hook_removal.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "support/input.h"

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

// A right button holding the sustain pedal and Ctrl+K holding a note, all
// let go while the hooks are gone. No window has the foreground yet, so
// raw input tells the program nothing until one has: the re-install comes
// after everything is up, Ctrl included, and lets go of the pedal and of K
// (which is not held to its modifier test then).
TEST_F(HookRemovalTest, WhatWasLetGoWhileTheHooksWereGoneEndsAtTheReinstall) {
    QuillfretRun run(L"hook-removal-let-go");
    run.WriteCfgFile(L"a.json", R"({"mappings": [{"key": "252", "cc_enabled": true, "cc_number": 64},
        {"key": "75", "modifier": "17", "note": 60}, {"key": "65", "note": 62}]})");
    ASSERT_TRUE(run.Start());
    ButtonDown(MouseButton::Right);
    KeyDown(VK_CONTROL);
    KeyDown('K');
    const std::vector<std::string> held = {"b0 40 7f", NoteOnHex(60)};
    ASSERT_EQ(run.WaitForSent(held.size()), held);
    ASSERT_EQ(RemoveEveryHook().removed, 2u);
    KeyUp('K');
    ButtonUp(MouseButton::Right);
    KeyUp(VK_CONTROL);
    HWND focused = CreateFocusedWindow(L"QuillfretE2eLetGo", DefWindowProcW);
    // The first presses are lost, and the one whose raw input shows the
    // hooks gone has them installed again.
    EXPECT_TRUE(PlaysNote(run, 62));
    EXPECT_EQ(run.Sent(), (std::vector<std::string>{"b0 40 7f", NoteOnHex(60), NoteOffHex(60), "b0 40 00",
                                                    NoteOnHex(62), NoteOffHex(62)}));
    EXPECT_EQ(run.Quit(), 0u);
    DestroyWindow(focused);
}

}  // namespace
