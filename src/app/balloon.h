#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>

// Notification-area balloons on the program's tray icon: how a command that
// failed, or a mapping file that is not in force, says so without a dialog
// and without waiting for the user. A new balloon replaces the one shown.

// The record that shows `text` as a balloon titled "Quillfret" on the icon
// that `icon` added (its window and id), changing nothing else of the icon,
// with the warning or information sign (`kind`: NIIF_WARNING or NIIF_INFO).
// A text longer than a balloon holds is cut.
NOTIFYICONDATAW BalloonRecord(const NOTIFYICONDATAW& icon, std::wstring_view text, DWORD kind = NIIF_WARNING);

// Shows the balloon. Without an icon (cbSize 0) there is nothing to show it
// on, and nothing is shown; a balloon the shell refuses is not shown either.
void ShowBalloon(const NOTIFYICONDATAW& icon, std::wstring_view text, DWORD kind = NIIF_WARNING);

// The balloon text of a failure: "<headline>\n<path>\n<reason>". A path too
// long for the balloon loses its start (marked "…"), so that its end, which
// names the file or folder, and the reason stay whole.
std::wstring FailureText(std::wstring_view headline, std::wstring_view path, std::wstring_view reason);
