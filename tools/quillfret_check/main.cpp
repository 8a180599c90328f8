// quillfret-check: explains what Quillfret does with a mapping file.
#include <iostream>
#include <string>
#include <vector>

#include "run.h"

#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <optional>

#include "config/utf8.h"
#include "editor/editor_files.h"

namespace {

// Started by a double-click, the program's console belongs to it alone; from
// a command prompt, the prompt shares it.
bool StartedByDoubleClick() {
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1;
}

std::filesystem::path ExeFolder() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return std::filesystem::path(path).parent_path();
}

// A double-click opens the editor on the current config of the CFG folder
// beside the exe; without one, it says so and waits, so the window can be read.
int RunDoubleClicked() {
    const std::optional<std::vector<std::string>> args = DoubleClickArguments(ExeFolder());
    if (args) return RunCheck(*args, std::cout, std::cerr);
    std::cerr << "quillfret-check: no mapping file in the CFG folder beside it to edit. Press Enter.\n";
    std::cin.get();
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);  // the report is UTF-8, as mapping files are
    if (argc == 1 && StartedByDoubleClick()) return RunDoubleClicked();
    std::vector<std::string> args;
    // An argument that is not well-formed UTF-16 (a lone surrogate) names no
    // file that could be opened; it is passed on empty, as a name that is not found.
    for (int i = 1; i < argc; ++i) args.push_back(WideToUtf8(argv[i]).value_or(""));
    return RunCheck(args, std::cout, std::cerr);
}

#else

int main(int argc, char** argv) { return RunCheck({argv + 1, argv + argc}, std::cout, std::cerr); }

#endif
