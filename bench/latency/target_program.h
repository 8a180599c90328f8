#pragma once

#include <windows.h>

#include <string>

// One program under measurement (Quillfret or a floor program), started
// with the virtual MIDI port configured and quit through its hidden window.
class TargetProgram {
public:
    TargetProgram() = default;
    TargetProgram(const TargetProgram&) = delete;
    TargetProgram& operator=(const TargetProgram&) = delete;
    ~TargetProgram();

    // Starts `exe` in its own folder; the child inherits the MIDI port's
    // settings from this process's environment. False when it did not start.
    bool Start(const std::wstring& exe);

    // Waits for the program's window of `window_class`; false after the timeout.
    bool WaitForWindow(const wchar_t* window_class, DWORD timeout_ms);

    // Posts the Quit command (the programs share its number) and waits for
    // the end; a program that does not end in time is ended by force.
    // Returns the exit code.
    DWORD Quit();

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};
