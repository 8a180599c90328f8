#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

// Opens `file` through the shell ("notepad.exe" with a mapping file as
// `parameters`, or a folder with none) on a short-lived thread of its own,
// so that the thread of the input hooks never waits for the shell, which
// takes a noticeable while to start Notepad or open a folder. That thread
// works on its own copies of the strings and of the icon record and touches
// no program state. When the launch fails, it shows a balloon on the icon of
// `icon` naming `named` (the file or folder) and the system's reason. No
// one waits for the thread; Quit may end the process while it runs.
void StartShellLaunch(const NOTIFYICONDATAW& icon, std::wstring file, std::wstring parameters, std::wstring named);
