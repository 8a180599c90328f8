// quillfret-check: explains what Quillfret does with a mapping file.
#include <iostream>
#include <string>
#include <vector>

#include "run.h"

#ifdef _WIN32
#include <windows.h>

#include "config/utf8.h"

int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);  // the report is UTF-8, as mapping files are
    std::vector<std::string> args;
    // An argument that is not well-formed UTF-16 (a lone surrogate) names no
    // file that could be opened; it is passed on empty, as a name that is not found.
    for (int i = 1; i < argc; ++i) args.push_back(WideToUtf8(argv[i]).value_or(""));
    return RunCheck(args, std::cout, std::cerr);
}

#else

int main(int argc, char** argv) { return RunCheck({argv + 1, argv + argc}, std::cout, std::cerr); }

#endif
