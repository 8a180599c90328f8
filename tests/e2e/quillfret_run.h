#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/window_messages.h"
#include "support/desktop.h"
#include "support/process.h"

// The real Quillfret.exe in a folder of its own, driven only from outside:
// files in its CFG folder, input by SendInput from this test process,
// messages posted to its window, the virtual MIDI port's record and its
// exit code.

using namespace std::chrono_literals;

inline constexpr auto kStartTimeout = 20s;  // generous: shared machines under load
inline constexpr auto kEventTimeout = 10s;

class QuillfretRun {
public:
    // A fresh folder named after the test, with the exe copied into it.
    explicit QuillfretRun(const std::wstring& name);
    ~QuillfretRun();  // ends what still runs and removes the folder
    QuillfretRun(const QuillfretRun&) = delete;
    QuillfretRun& operator=(const QuillfretRun&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path cfg() const { return folder_ / L"CFG"; }
    std::filesystem::path exe() const { return folder_ / L"Quillfret.exe"; }

    // Writes a file in CFG (making the folder) with one write of the whole text.
    void WriteCfgFile(const std::wstring& name, std::string_view text) const;

    // Starts another instance of the exe (or of a copy of it, `program`)
    // with the virtual MIDI ports `ports` ('|' between names) and
    // `arguments`; the instance is not waited for.
    ChildProcess Launch(const std::wstring& ports = L"Fenwickloop Port 1", const std::filesystem::path& program = {},
                        const std::vector<std::wstring>& arguments = {}) const;

    // Starts the program and waits until its window exists and its port is
    // open; false (with the reason added to the test's failures) otherwise.
    bool Start(const std::wstring& ports = L"Fenwickloop Port 1");

    // Starts the program with `arguments`, without waiting for anything;
    // false when it did not start.
    bool Begin(const std::vector<std::wstring>& arguments, const std::wstring& ports = L"Fenwickloop Port 1");

    const ChildProcess& process() const { return process_; }
    HWND window() const;

    // Posts a message to the program's window.
    void Post(UINT message, WPARAM wparam, LPARAM lparam) const;

    // The short messages the program sent so far, each as the hex bytes
    // "status data1 data2", e.g. "90 3c 5a".
    std::vector<std::string> Sent() const;
    // Waits until at least `count` messages were sent; then returns them all.
    std::vector<std::string> WaitForSent(size_t count) const;
    // The port name of each message sent so far, in order.
    std::vector<std::string> SentPorts() const;
    // Every line of the port record, by kind ("open", "send", "close", ...).
    std::vector<std::string> RecordKinds() const;

    // Chooses Quit through the window's command and returns the exit code.
    std::optional<DWORD> Quit();

private:
    // Where a start that did not come through stands, for its failure
    // message: its window, its port, its process, a message box it shows.
    std::string StartState(bool port_opened) const;

    std::filesystem::path folder_;
    std::filesystem::path record_;
    ChildProcess process_;
};

// Presses and releases keys or buttons of one step of a scripted phrase.
void PressKey(WORD vk);

// A message box of this caption, waited for; null when none appeared.
HWND WaitForMessageBox(const std::wstring& caption);

// A test that drives the program through the desktop: skipped where tests
// cannot drive windows and input.
class DesktopTest : public testing::Test {
protected:
    void SetUp() override {
        if (!HasDisplay()) GTEST_SKIP() << "needs a display (Xvfb)";
    }
};
