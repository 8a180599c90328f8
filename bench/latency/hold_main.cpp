// One round of the held-thread measurement, under Wine:
//   hold_inject.exe QUILLFRET.exe RECORD LOG ACTION
// starts Quillfret (its CFG folder holds bench.json, the latency rounds'
// mapping) with the virtual MIDI port "Fenwickloop Bench" recording to
// RECORD, waits until it plays the probe key, then presses and releases
// keys, one event every 10 ms for 2 s, and half a second in does ACTION:
//   idle           nothing
//   reload_1mib    saves bench.json as 1 MiB (the size limit) of the smallest
//                  entries, {"key":"66"}, the bench's own entries last
//   reload_900kib  saves it as about 900 KiB of one-note entries
//   reload_900kib_idle  the same, but every filler entry does nothing (its
//                  key is no key name), so the load diagnoses each of them
//   reload_1mib_broken  1 MiB as reload_1mib, with a syntax error at its
//                  end, so the whole file is read before it fails
//   new_config     posts New Config
//   edit_current   posts Edit Current
//   open_folder    posts Open CFG Folder
//   choose_config  posts the choice of each of two configs in turn
// Then it quits the program, ends the Notepad or folder window the command
// opened, puts CFG back as it was and writes its log to LOG (the format of
// latency_log.h; latency_report pairs it with the record).
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/window_messages.h"
#include "latency/round_steps.h"
#include "support/test_files.h"
#include "support/win32_write.h"

namespace fs = std::filesystem;

namespace {

// A key event every 10 ms: 5 warm-up and 100 counted presses and releases.
constexpr ScheduleShape kHoldShape{
    .warm_up_pairs = 5, .counted_pairs = 100, .chords = 0, .pair_period_ms = 20.0, .release_after_ms = 10.0};
constexpr size_t kActionAtEvent = 50;  // 0.5 s into the schedule
constexpr std::uintmax_t kOneMiB = 1024 * 1024;
constexpr ULONGLONG kCleanupTimeoutMs = 3000;

// The mapping with `filler` entries before its own (the last entry of a
// key counts), as many as fit in `size` bytes, padded with spaces to it.
std::string Inflated(const std::string& mapping, const std::string& filler, std::uintmax_t size) {
    const size_t open = mapping.find('[') + 1;
    std::string entries;
    while (mapping.size() + entries.size() + filler.size() <= size) entries += filler;
    std::string text = mapping.substr(0, open) + entries + mapping.substr(open);
    text.append(size - text.size(), ' ');
    return text;
}

struct Cfg {
    fs::path folder;
    fs::path bench() const { return folder / L"bench.json"; }
    fs::path other() const { return folder / L"bench_other.json"; }
};

void DoAction(const std::wstring& action, HWND window, const Cfg& cfg, const std::string& mapping) {
    if (action == L"reload_1mib")
        WriteWithWin32(cfg.bench(), Inflated(mapping, R"({"key":"66"},)", kOneMiB), CREATE_ALWAYS);
    if (action == L"reload_900kib") {
        WriteWithWin32(cfg.bench(), Inflated(mapping, R"({"key":"66","note":60},)", 900 * 1024), CREATE_ALWAYS);
    }
    if (action == L"reload_900kib_idle") {
        WriteWithWin32(cfg.bench(), Inflated(mapping, R"({"key":"Kazoo","note":60},)", 900 * 1024), CREATE_ALWAYS);
    }
    if (action == L"reload_1mib_broken") {
        std::string text = Inflated(mapping, R"({"key":"66"},)", kOneMiB);
        text[text.find_last_of('}')] = ' ';  // the object never closes: the parser reads to the end
        WriteWithWin32(cfg.bench(), text, CREATE_ALWAYS);
    }
    if (action == L"new_config") PostMessageW(window, WM_COMMAND, ID_NEW_CONFIG, 0);
    if (action == L"edit_current") PostMessageW(window, WM_COMMAND, ID_EDIT_CURRENT, 0);
    if (action == L"open_folder") PostMessageW(window, WM_COMMAND, ID_OPEN_CFG_FOLDER, 0);
    if (action == L"choose_config") {
        PostMessageW(window, WM_COMMAND, ID_CONFIG_BASE, 0);
        PostMessageW(window, WM_COMMAND, ID_CONFIG_BASE + 1, 0);
    }
}

// Ends Notepad (whose unsaved text would ask before closing) and closes the
// folder window; false while one is still there after a few seconds.
bool CloseOpenedWindows() {
    const ULONGLONG deadline = GetTickCount64() + kCleanupTimeoutMs;
    for (;;) {
        HWND notepad = FindWindowW(L"Notepad", nullptr);
        HWND folder = FindWindowW(L"ExplorerWClass", nullptr);
        if (notepad == nullptr && folder == nullptr) return true;
        if (GetTickCount64() > deadline) return false;
        if (notepad != nullptr) {
            DWORD id = 0;
            GetWindowThreadProcessId(notepad, &id);
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
                TerminateProcess(process, 0);
                WaitForSingleObject(process, 1000);
                CloseHandle(process);
            }
        }
        if (folder != nullptr) PostMessageW(folder, WM_CLOSE, 0, 0);
        Sleep(50);
    }
}

// Puts CFG back: the mapping file as it was, nothing that a command made.
void RestoreCfg(const Cfg& cfg, const std::string& mapping) {
    WriteWithWin32(cfg.bench(), mapping, CREATE_ALWAYS);
    std::error_code ignored;  // what is not there needs no removing
    fs::remove(cfg.other(), ignored);
    fs::remove(cfg.folder / L"last_config.txt", ignored);
    for (const auto& entry : fs::directory_iterator(cfg.folder, ignored)) {
        if (entry.path().filename().wstring().starts_with(L"Config_")) fs::remove(entry.path(), ignored);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) return Fail("usage: QUILLFRET.exe RECORD LOG ACTION");
    const std::wstring program = argv[1], record = argv[2], log_path = argv[3], action = argv[4];
    const Cfg cfg{fs::path(program).parent_path() / L"CFG"};
    const std::string mapping = ReadBytes(cfg.bench());
    if (mapping.find('[') == std::string::npos) return Fail("no mapping file in CFG");
    if (action == L"choose_config" && !WriteWithWin32(cfg.other(), mapping, CREATE_ALWAYS))
        return Fail("the second config was not written");

    latency::InjectLog log{CounterFrequency(), {}};
    DWORD exit_code = 1;
    size_t expected = 0;
    {
        TargetProgram target;
        if (const char* failure = StartUntilReady(target, program, L"QuillfretWindow", record, log))
            return Fail(failure);
        expected = PlayRound(
            record, kHoldShape, log, [&] { DoAction(action, FindWindowW(L"QuillfretWindow", nullptr), cfg, mapping); },
            kActionAtEvent);
        exit_code = target.Quit();
    }
    const bool closed = CloseOpenedWindows();
    RestoreCfg(cfg, mapping);
    if (!WriteLog(log_path, log)) return Fail("the log could not be written");
    std::printf("%zu events, %zu of %zu messages recorded, exit code %lu%s\n", log.events.size(), CountSent(record),
                expected, exit_code, closed ? "" : ", a window the command opened is still there");
    return 0;
}
