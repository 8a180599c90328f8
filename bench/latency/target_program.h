#pragma once

#include <windows.h>

#include <string>

#include "support/process.h"

// One program under measurement (Quillfret or a floor program), started in
// its own folder with the virtual MIDI port "Fenwickloop Bench" and quit
// through its hidden window.
class TargetProgram {
public:
    TargetProgram() = default;
    TargetProgram(const TargetProgram&) = delete;
    TargetProgram& operator=(const TargetProgram&) = delete;
    ~TargetProgram();  // a program still running is ended: it would keep its hooks in the next round

    // Starts `exe`, whose port records to `record`. False when it did not start.
    bool Start(const std::wstring& exe, const std::wstring& record);

    // Waits for the program's window of `window_class`; false after the
    // timeout, or when the program ended first.
    bool WaitForWindow(const wchar_t* window_class, DWORD timeout_ms);

    // The program's process, while it runs.
    HANDLE process() const { return process_.handle(); }

    // Posts the Quit command (the programs share its number) and waits for
    // the end; a program that does not end in time is ended by force.
    // Returns the exit code.
    DWORD Quit();

private:
    ChildProcess process_;
    HWND window_ = nullptr;
};
