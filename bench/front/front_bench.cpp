// What a press of a file with "only_in" costs the program's thread under
// Wine, where GetForegroundWindow asks the wine server: the program in front
// with the same window in front as at the last press, and looked up again
// after the window changed, each against GetForegroundWindow alone.
//
//   front_bench.exe
//
// Starts quillfret-front.exe (the test fixtures' window program, built
// beside it) in front. Prints tab-separated rows: figure, value, baseline,
// ratio.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "front/front_window.h"
#include "input/foreground.h"
#include "latency/block_timing.h"
#include "support/process.h"
#include "support/wait.h"

int wmain() {
    const ChildProcess other = LaunchProcess({OwnExeFolder() + L"\\quillfret-front.exe", {}, L"", {}, L""});
    ForegroundProgram front;
    const std::vector<std::wstring> only_in = {L"quillfret-front.exe"};
    if (!other.started() || !WaitUntil([&] { return PlaysInFront(front, only_in); }, std::chrono::seconds(20))) {
        std::fprintf(stderr, "front_bench: no window of quillfret-front.exe came to the front\n");
        return 1;
    }
    auto foreground_alone = [] { GetForegroundWindow(); };
    auto same_window = [&] { PlaysInFront(front, only_in); };
    auto after_a_change = [&] {
        front.window = nullptr;  // as if another window had been in front at the last press
        PlaysInFront(front, only_in);
    };
    const std::string label = "Wine only_in:";
    latency::PrintRows({MeasureAgainst(label + " a press, same window in front / GetForegroundWindow alone",
                                       same_window, foreground_alone),
                        MeasureAgainst(label + " a press after the window changed / GetForegroundWindow alone",
                                       after_a_change, foreground_alone)});
    PostMessageW(FindWindowW(kFrontWindowClass, nullptr), WM_CLOSE, 0, 0);
    WaitForExit(other, std::chrono::seconds(10));
    return 0;
}
