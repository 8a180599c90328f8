#include "quillfret_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "support/dialogs.h"
#include "support/input.h"
#include "support/test_files.h"
#include "support/virtual_midi.h"
#include "support/wait.h"

namespace fs = std::filesystem;

namespace {

std::string HexBytes(uint32_t message) {
    char text[16];
    std::snprintf(text, sizeof(text), "%02x %02x %02x", message & 0xFF, (message >> 8) & 0xFF, (message >> 16) & 0xFF);
    return text;
}

}  // namespace

QuillfretRun::QuillfretRun(const std::wstring& name)
    : folder_(fs::temp_directory_path() / L"quillfret-e2e" / name), record_(folder_ / L"midi-record.txt") {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    fs::copy_file(fs::path(OwnExeFolder()) / L"Quillfret.exe", exe());
}

QuillfretRun::~QuillfretRun() {
    // Without its window the program cannot be asked to quit.
    if (process_.started() && !WaitForExit(process_, 0ms)) {
        if (window() == nullptr || !Quit()) EndProcess(process_);
    }
    std::error_code ignored;  // a file still held by a Notepad of the test: left for the next run
    fs::remove_all(folder_, ignored);
}

void QuillfretRun::WriteCfgFile(const std::wstring& name, std::string_view text) const {
    fs::create_directories(cfg());
    WriteBytes(cfg() / name, text);
}

ChildProcess QuillfretRun::Launch(const std::wstring& ports, const std::filesystem::path& program,
                                  const std::vector<std::wstring>& arguments) const {
    LaunchOptions options;
    options.program = program.empty() ? exe().wstring() : program.wstring();
    options.arguments = arguments;
    options.working_folder = folder_.wstring();
    options.environment = {{vmidi::kPortsVariable, ports}, {vmidi::kRecordVariable, record_.wstring()}};
    return LaunchProcess(options);
}

bool QuillfretRun::Start(const std::wstring& ports) {
    const auto opens = [&] {
        const auto kinds = RecordKinds();
        return std::count(kinds.begin(), kinds.end(), "open");
    };
    const auto opens_before = opens();
    process_ = Launch(ports);
    if (!process_.started()) {
        ADD_FAILURE() << "Quillfret.exe did not start";
        return false;
    }
    // The window comes after the port, and the hooks right after the window.
    // A program that ended will bring neither.
    const auto started = [&] { return window() != nullptr && opens() > opens_before; };
    WaitUntil([&] { return started() || WaitForExit(process_, 0ms).has_value(); }, kStartTimeout);
    if (!started()) {
        ADD_FAILURE() << "no QuillfretWindow with an open MIDI port appeared: " << StartState(opens() > opens_before);
        return false;
    }
    // Adding the icon waits for the taskbar and handles sent messages
    // meanwhile, so the icon is waited for first; only for a while, as a
    // taskbar not there yet leaves none. Then a message handled by the window
    // means start-up has reached its message loop or nearly so.
    WaitUntil([&] { return IconShown(window()); }, 5s);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
    // The hooks go in right before the message loop, and nothing outside the
    // program can see them in: this pause stands for that one step.
    Sleep(200);
    return true;
}

std::string QuillfretRun::StartState(bool port_opened) const {
    testing::Message state;
    state << "window " << (window() != nullptr ? "found" : "not found") << ", port "
          << (port_opened ? "opened" : "not opened");
    if (const std::optional<DWORD> code = WaitForExit(process_, 0ms)) {
        state << ", the program ended with exit code " << *code;
    } else {
        state << ", the program still runs";
    }
    if (HWND box = FindTopWindow(L"#32770")) {
        state << ", a message box \"" << WindowCaption(box) << "\": " << MessageBoxText(box);
    }
    return state.GetString();
}

bool QuillfretRun::Begin(const std::vector<std::wstring>& arguments, const std::wstring& ports) {
    process_ = Launch(ports, {}, arguments);
    return process_.started();
}

HWND QuillfretRun::window() const { return FindWindowW(L"QuillfretWindow", nullptr); }

void QuillfretRun::Post(UINT message, WPARAM wparam, LPARAM lparam) const {
    PostMessageW(window(), message, wparam, lparam);
}

std::vector<std::string> QuillfretRun::Sent() const {
    std::vector<std::string> sent;
    for (uint32_t message : vmidi::SentMessages(vmidi::ReadMidiRecord(record_))) sent.push_back(HexBytes(message));
    return sent;
}

std::vector<std::string> QuillfretRun::WaitForSent(size_t count) const {
    WaitUntil([&] { return Sent().size() >= count; }, kEventTimeout);
    return Sent();
}

std::vector<std::string> QuillfretRun::SentPorts() const {
    std::vector<std::string> ports;
    for (const vmidi::MidiEvent& event : vmidi::EventsOfKind(vmidi::ReadMidiRecord(record_), vmidi::EventKind::Send)) {
        ports.push_back(event.port_name);
    }
    return ports;
}

std::vector<std::string> QuillfretRun::RecordKinds() const {
    std::vector<std::string> kinds;
    for (const vmidi::MidiEvent& event : vmidi::ReadMidiRecord(record_)) {
        kinds.push_back(vmidi::kKindWords[static_cast<int>(event.kind)]);
    }
    return kinds;
}

std::optional<DWORD> QuillfretRun::Quit() {
    Post(WM_COMMAND, ID_QUIT, 0);
    return WaitForExit(process_, kEventTimeout);
}

void PressKey(WORD vk) {
    KeyDown(vk);
    KeyUp(vk);
}

HWND WaitForMessageBox(const std::wstring& caption) { return WaitForTopWindow(L"#32770", caption, kStartTimeout); }
