#include "e2e_support.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>
#include <vector>

#include "support/test_files.h"
#include "support/wait.h"

using Added = std::vector<std::string>;

bool PressUntil(const QuillfretRun& run, WORD vk, const std::function<bool(const Added&)>& accept) {
    return WaitUntil(
        [&] {
            const size_t before = run.Sent().size();
            PressKey(vk);
            WaitUntil([&] { return run.Sent().size() >= before + 2; }, 500ms);
            const auto sent = run.Sent();
            return accept(Added(sent.begin() + static_cast<std::ptrdiff_t>(before), sent.end()));
        },
        kEventTimeout, 0ms);
}

std::string NoteOnA(int note) { return R"({"mappings": [{"key": "65", "note": )" + std::to_string(note) + "}]}"; }

std::string NoteOnHex(int note) {
    char text[16];
    std::snprintf(text, sizeof(text), "90 %02x 64", note);
    return text;
}

std::string NoteOffHex(int note) {
    char text[16];
    std::snprintf(text, sizeof(text), "80 %02x 00", note);
    return text;
}

bool PlaysNote(const QuillfretRun& run, int note) {
    return PressUntil(run, 'A', [&](const Added& added) { return added == Added{NoteOnHex(note), NoteOffHex(note)}; });
}

bool PlaysNothing(const QuillfretRun& run) {
    return PressUntil(run, 'A', [](const Added& added) { return added.empty(); });
}

testing::AssertionResult StartPlaying(QuillfretRun& run, int note) {
    run.WriteCfgFile(L"current.json", NoteOnA(note));
    if (!run.Start()) return testing::AssertionFailure() << "the program did not start";
    if (!PlaysNote(run, note)) return testing::AssertionFailure() << "A did not play " << note;
    return testing::AssertionSuccess();
}

Added SentAfter(const QuillfretRun& run, size_t before, size_t count) {
    const Added sent = run.WaitForSent(before + count);
    return Added(sent.begin() + static_cast<std::ptrdiff_t>(std::min(before, sent.size())), sent.end());
}

PlayedOn PlayOnUntilHeard(const QuillfretRun& run, int note) {
    const auto start = std::chrono::steady_clock::now();
    PlayedOn played;
    while (std::chrono::steady_clock::now() - start < kEventTimeout) {
        const size_t before = run.Sent().size();
        const auto pressed = std::chrono::steady_clock::now();
        PressKey('A');
        ++played.presses;
        const bool heard = WaitUntil(
            [&] {
                const auto sent = run.Sent();
                return std::find(sent.begin() + static_cast<std::ptrdiff_t>(before), sent.end(), NoteOnHex(note)) !=
                       sent.end();
            },
            20ms, 1ms);
        if (heard) {
            played.heard = true;
            played.seconds = std::chrono::duration<double>(pressed - start).count();
            return played;
        }
    }
    return played;
}

std::optional<std::string> UnixPath(const std::filesystem::path& file) {
    using Convert = char*(CDECL*)(const wchar_t*);
    const auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (convert == nullptr) return std::nullopt;
    char* unix_path = convert(file.c_str());
    if (unix_path == nullptr) return std::nullopt;
    std::string path(unix_path);
    HeapFree(GetProcessHeap(), 0, unix_path);
    return path;
}

void StartLinuxProgram(const std::wstring& name, const std::vector<std::string>& arguments) {
    LaunchOptions program;
    program.program = L"Z:\\bin\\" + name;
    for (const std::string& argument : arguments) program.arguments.emplace_back(argument.begin(), argument.end());
    LaunchProcess(program);
}

bool RemoveFromLinux(const std::filesystem::path& folder) {
    const std::optional<std::string> path = UnixPath(folder);
    if (!path) return false;
    StartLinuxProgram(L"rm", {"-rf", *path});
    return WaitUntil([&] { return !std::filesystem::exists(folder); }, kEventTimeout);
}

size_t RecordCount(const QuillfretRun& run, std::string_view kind) {
    const auto kinds = run.RecordKinds();
    return static_cast<size_t>(std::count(kinds.begin(), kinds.end(), kind));
}

std::vector<std::wstring> BalloonTexts() {
    std::vector<std::wstring> texts;
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            wchar_t name[64] = {};
            GetClassNameW(window, name, static_cast<int>(std::size(name)));
            if (std::wstring(name) != L"tooltips_class32" || !IsWindowVisible(window)) return TRUE;
            wchar_t text[512] = {};
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                                1000, &ignored);
            reinterpret_cast<std::vector<std::wstring>*>(data)->emplace_back(text);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

std::wstring WaitForBalloon(const std::wstring& start, std::chrono::milliseconds timeout) {
    std::wstring found;
    WaitUntil(
        [&] {
            for (const std::wstring& text : BalloonTexts()) {
                if (text.starts_with(start)) found = text;
            }
            return !found.empty();
        },
        timeout, 50ms);
    return found;
}

bool StartWithCurrent(QuillfretRun& run, const std::wstring& name) {
    run.WriteCfgFile(L"last_config.txt", (run.cfg() / name).string());
    return run.Start();
}

void ChooseConfig(const QuillfretRun& run, const std::wstring& name) {
    const std::filesystem::path remembered = run.cfg() / L"last_config.txt";
    for (UINT index = 0; index < 2; ++index) {
        // The program may still be writing the choice before: its file can
        // be removed once the program has let go of it.
        std::error_code held;
        const auto removed = [&] {
            std::filesystem::remove(remembered, held);
            return !held;
        };
        ASSERT_TRUE(WaitUntil(removed, kEventTimeout, 10ms)) << "the program keeps holding it: " << held.message();
        run.Post(WM_COMMAND, ID_CONFIG_BASE + index, 0);
        // A choice is written whole once it ends with its file's extension.
        ASSERT_TRUE(WaitUntil([&] { return ReadBytes(remembered).ends_with(".json"); }, kEventTimeout));
        if (ReadBytes(remembered).ends_with(std::string(name.begin(), name.end()))) return;
    }
    ADD_FAILURE() << "no entry of the Configs menu was the other file";
}
