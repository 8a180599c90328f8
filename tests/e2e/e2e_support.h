#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quillfret_run.h"
#include "support/win32_write.h"

// Steps shared by the end-to-end tests, beside QuillfretRun; with the test
// support library's files, input and desktop helpers (CreateFocusedWindow
// among them).

// A mapping file in which A plays one note on channel 1 at velocity 100.
std::string NoteOnA(int note);

// The two messages one press of a key of such a mapping adds, in hex.
std::string NoteOnHex(int note);
std::string NoteOffHex(int note);

// Presses `vk` again and again (a reload runs a little after the change)
// until `accept` takes what one press added; false when none did in time.
bool PressUntil(const QuillfretRun& run, WORD vk, const std::function<bool(const std::vector<std::string>&)>& accept);

// Presses A until one press adds exactly the note-on and note-off of `note`.
bool PlaysNote(const QuillfretRun& run, int note);

// Like PlaysNote, until one press of A adds nothing.
bool PlaysNothing(const QuillfretRun& run);

// Starts the program with current.json, in which A plays `note`, and waits
// until A plays it.
testing::AssertionResult StartPlaying(QuillfretRun& run, int note);

// The messages sent after the first `before`, once there are `count` of
// them (or kEventTimeout has passed).
std::vector<std::string> SentAfter(const QuillfretRun& run, size_t before, size_t count);

// Plays on: presses A every 20 ms until the note-on of `note` is sent.
struct PlayedOn {
    bool heard = false;  // false: not within kEventTimeout
    double seconds = 0;  // from the call to the press that was heard
    size_t presses = 0;  // presses made, the heard one included
};
PlayedOn PlayOnUntilHeard(const QuillfretRun& run, int note);

// The Linux path of a file, through Wine; nothing outside Wine.
std::optional<std::string> UnixPath(const std::filesystem::path& file);

// Starts the Linux program /bin/`name` with `arguments` (Linux paths as they
// are). Wine does not always give a handle to wait for a Linux program (one
// that ends at once may leave none), so the caller waits for its effect.
void StartLinuxProgram(const std::wstring& name, const std::vector<std::string>& arguments);

// Deletes a folder from Linux and waits until it is gone. Wine, like
// Windows, keeps a folder deleted through the Windows API while a handle
// (the program's watch) is open on it, and answers it as a folder until
// then; only a Linux deletion really removes it here (Wine sees that a
// moment later). False outside Wine or when it is still there.
bool RemoveFromLinux(const std::filesystem::path& folder);

// The number of "kind" lines ("send", "reject", ...) in the port's record.
size_t RecordCount(const QuillfretRun& run, std::string_view kind);

// The texts of the balloons now shown: Wine's taskbar shows a balloon as a
// visible tooltip window of its own process, whose text WM_GETTEXT gives.
std::vector<std::wstring> BalloonTexts();

// The text of a balloon that starts with `start`, waited for; empty when none came.
std::wstring WaitForBalloon(const std::wstring& start, std::chrono::milliseconds timeout = kEventTimeout);

// Starts the program with `name` remembered as the current file.
bool StartWithCurrent(QuillfretRun& run, const std::wstring& name);

// Chooses `name`, the other of two files in CFG, from the Configs menu. The
// menu's order is the folder's listing order, which the test does not know;
// choosing the current file changes nothing, so the entries are chosen in
// turn until the choice remembered is `name`. The program loads a choice
// right after it remembers it, before it handles any later input.
void ChooseConfig(const QuillfretRun& run, const std::wstring& name);
