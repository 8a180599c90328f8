// Random input and random saves for a while (QUILLFRET_SOAK_SECONDS, 20 by
// default): the program's handle count and memory, read from outside, stay
// flat, and it still plays at the end.

#include <windows.h>
#include <gtest/gtest.h>
// psapi.h needs windows.h first.
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "support/input.h"
#include "support/wait.h"

namespace {

namespace fs = std::filesystem;

constexpr int kHandleGrowthAllowed = 10;
constexpr SIZE_T kMemoryGrowthAllowed = 16u << 20;  // far above any one table or file

struct Usage {
    DWORD handles = 0;
    SIZE_T working_set = 0;
    SIZE_T committed = 0;  // private memory the system has promised the process
};

// The handle count the system's process list gives for `process_id`; 0
// when it is not listed.
DWORD ListedHandleCount(DWORD process_id) {
    std::vector<char> list(1 << 20);
    ULONG needed = 0;
    while (NtQuerySystemInformation(SystemProcessInformation, list.data(), static_cast<ULONG>(list.size()), &needed) ==
           static_cast<NTSTATUS>(0xC0000004L)) {  // STATUS_INFO_LENGTH_MISMATCH
        list.resize(list.size() * 2);
    }
    for (size_t offset = 0;;) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(list.data() + offset);
        if (reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId) == process_id) return entry->HandleCount;
        if (entry->NextEntryOffset == 0) return 0;
        offset += entry->NextEntryOffset;
    }
}

// Read from outside, as a user's monitoring tool would. Wine answers
// GetProcessHandleCount for another process with 0, while its process list
// has the real count: that is taken then.
std::optional<Usage> ReadUsage(HANDLE process) {
    Usage usage;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (!GetProcessHandleCount(process, &usage.handles)) return std::nullopt;
    if (usage.handles == 0) usage.handles = ListedHandleCount(GetProcessId(process));
    if (!GetProcessMemoryInfo(process, &memory, sizeof(memory))) return std::nullopt;
    usage.working_set = memory.WorkingSetSize;
    usage.committed = memory.PagefileUsage;
    return usage;
}

std::ostream& operator<<(std::ostream& out, const Usage& usage) {
    return out << usage.handles << " handles, working set " << usage.working_set / 1024 << " KiB, committed "
               << usage.committed / 1024 << " KiB";
}

int SoakSeconds() {
    const char* text = std::getenv("QUILLFRET_SOAK_SECONDS");
    const int seconds = text != nullptr ? std::atoi(text) : 0;
    return seconds > 0 ? seconds : 20;
}

// A mapping file of random notes over A to H, now and then a broken one.
std::string RandomMappingFile(std::mt19937& random) {
    if (random() % 8 == 0) return R"({"mappings": [{"key": "65", "note": )";
    std::string text = R"({"mappings": [)";
    for (int key = 0; key < 8; ++key) {
        text += key == 0 ? "" : ", ";
        text += R"({"key": ")" + std::to_string('A' + key) + R"(", "notes": [)" + std::to_string(40 + random() % 40) +
                ", " + std::to_string(40 + random() % 40) + "]" + (random() % 3 == 0 ? R"(, "mode": "toggle")" : "") +
                (random() % 3 == 0 ? R"(, "cc_enabled": true, "cc_number": 7)" : "") + "}";
    }
    return text + "]}";
}

// Saves in place or through a renamed temporary file, at random.
void RandomSave(const fs::path& file, std::mt19937& random) {
    const std::string text = RandomMappingFile(random);
    if (random() % 2 == 0) {
        WriteWithWin32(file, text, CREATE_ALWAYS);
        return;
    }
    const fs::path temporary(file.wstring() + L".tmp");
    if (WriteWithWin32(temporary, text, CREATE_ALWAYS)) {
        MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}

// A burst of random presses and releases of A to H, Z (unmapped) and the
// wheel; every key pressed is released by the end of the burst.
void RandomInputBurst(std::mt19937& random) {
    static const WORD keys[] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'Z'};
    std::vector<WORD> held;
    for (int step = 0; step < 40; ++step) {
        const WORD key = keys[random() % std::size(keys)];
        if (random() % 10 == 0) {
            Wheel(random() % 2 == 0 ? 120 : -120);
        } else if (std::find(held.begin(), held.end(), key) == held.end()) {
            KeyDown(key);
            held.push_back(key);
        } else {
            KeyUp(key);
            std::erase(held, key);
        }
    }
    for (WORD key : held) KeyUp(key);
}

class SoakTest : public DesktopTest {};

TEST_F(SoakTest, HandlesAndMemoryStayFlatUnderRandomInputAndSaves) {
    QuillfretRun run(L"soak");
    const fs::path file = run.cfg() / L"soak.json";
    run.WriteCfgFile(L"soak.json", NoteOnA(60));
    ASSERT_TRUE(run.Start());
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, run.process().id());
    ASSERT_NE(process, nullptr);

    std::mt19937 random(7);
    const auto run_for = [&](std::chrono::milliseconds length) {
        const auto end = std::chrono::steady_clock::now() + length;
        while (std::chrono::steady_clock::now() < end) {
            RandomInputBurst(random);
            if (random() % 3 == 0) RandomSave(file, random);
            Sleep(random() % 50);
        }
    };
    run_for(2s);  // warm-up: the first reloads and messages settle the heap
    const std::optional<Usage> start = ReadUsage(process);
    ASSERT_TRUE(start) << "the program's usage cannot be read from outside";
    ASSERT_GT(start->handles, 0u) << "no handle count to compare";
    ASSERT_GT(start->working_set, 0u) << "no working set to compare";
    std::vector<Usage> samples{*start};
    for (int second = 0; second < SoakSeconds(); ++second) {
        run_for(1s);
        if (auto usage = ReadUsage(process)) samples.push_back(*usage);
    }
    const std::optional<Usage> end = ReadUsage(process);
    ASSERT_TRUE(end);
    const Usage peak = *std::max_element(samples.begin(), samples.end(),
                                         [](const Usage& a, const Usage& b) { return a.working_set < b.working_set; });
    std::cout << "soak: " << SoakSeconds() << " s, " << run.Sent().size() << " messages sent\n"
              << "soak start: " << *start << "\nsoak peak:  " << peak << "\nsoak end:   " << *end << "\n";

    EXPECT_LE(end->handles, start->handles + kHandleGrowthAllowed);
    EXPECT_LE(end->working_set, start->working_set + kMemoryGrowthAllowed);
    EXPECT_LE(end->committed, start->committed + kMemoryGrowthAllowed);
    CloseHandle(process);

    WriteWithWin32(file, NoteOnA(60), CREATE_ALWAYS);
    EXPECT_TRUE(PlaysNote(run, 60)) << "the program no longer plays after the soak";
    EXPECT_EQ(run.Quit(), 0u);
}

}  // namespace
