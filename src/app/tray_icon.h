#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>

#include "config/load_news.h"
#include "engine/engine.h"

// The program's icon in the notification area, its tip and its balloons:
// how a command that failed, or a mapping file that is not in force, says so
// without a dialog and without waiting for the user. A new balloon replaces
// the one shown.

struct TrayIcon {
    NOTIFYICONDATAW record{};         // as added, with its tip; cbSize is 0 until an icon was added
    std::wstring tip = L"Quillfret";  // the tip the icon shows, also when it is added later
    UINT taskbar_created = 0;         // the taskbar's restart message; 0: not registered
    std::wstring untold;              // a load's message given while there was no icon to show it on
    DWORD untold_kind = NIIF_WARNING;
};

// Adds the icon of `window`, with the tip "Quillfret": at start-up, and
// again whenever the taskbar restarts (it then has lost every icon), with
// the record of the first add. Without a notification area the program
// still works through its hooks; only an icon that was added is kept, for
// the balloons and its removal.
void AddTrayIcon(TrayIcon& icon, HWND window);

// The icon's tip: "Quillfret", "Quillfret (paused)", or what the program
// waits for. Shown now when there is an icon, and kept, so that an icon
// added later (again after a taskbar restart) says the same.
void SetTrayTip(TrayIcon& icon, std::wstring_view tip);

// Removes the icon, once; a second call does nothing.
void RemoveTrayIcon(TrayIcon& icon);

// The record that shows `text` as a balloon titled "Quillfret" on the icon
// that `icon` added (its window and id), changing nothing else of the icon,
// with the warning or information sign (`kind`: NIIF_WARNING or NIIF_INFO).
// A text longer than a balloon holds is cut.
NOTIFYICONDATAW BalloonRecord(const NOTIFYICONDATAW& icon, std::wstring_view text, DWORD kind = NIIF_WARNING);

// Shows the balloon; false when it is not shown. Without an icon (cbSize 0)
// there is nothing to show it on; a balloon the shell refuses (the icon
// gone with a taskbar that restarts) is not shown either.
bool ShowBalloon(const NOTIFYICONDATAW& icon, std::wstring_view text, DWORD kind = NIIF_WARNING);

// Shows the message of a load, or keeps it for TellUntoldNews while there
// is no icon to show it on (before the icon is added, or while the taskbar
// restarts). A message shown makes an older one kept out of date.
void ShowLoadNews(TrayIcon& icon, std::wstring text, DWORD kind);

// Shows the message a load gave while there was no icon to show it on (the
// load at start-up, or one while the taskbar restarted), now that there is.
void TellUntoldNews(TrayIcon& icon);

// Tells a change of the pause (engine/mapping_engine.h) by the tip and a
// balloon: "Quillfret is paused: press Pause to play again", with the pause
// key as the file writes it (`pause_key_text`, UTF-8), or "Quillfret is
// playing". Nothing for no change.
void TellPause(TrayIcon& icon, PauseChange change, std::string_view pause_key_text);

// The balloon text of a failure: "<headline>\n<path>\n<reason>". A path too
// long for the balloon loses its start (marked "…"), so that its end, which
// names the file or folder, and the reason stay whole.
std::wstring FailureText(std::wstring_view headline, std::wstring_view path, std::wstring_view reason);

// The balloon text of a load's message: its file name, shortened as a path
// is for a failure, and what is said of the file, whole.
std::wstring LoadNewsText(const LoadMessage& message);
