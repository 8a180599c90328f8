// quillfret-check: explains what Quillfret does with a mapping file.
#include <iostream>
#include <string>
#include <vector>

#include "run.h"

#ifdef _WIN32
#include <windows.h>

namespace {

std::string Utf8FromWide(const wchar_t* wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return "";
    std::string text(static_cast<size_t>(size - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);  // the report is UTF-8, as mapping files are
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Utf8FromWide(argv[i]));
    return RunCheck(args, std::cout, std::cerr);
}

#else

int main(int argc, char** argv) { return RunCheck({argv + 1, argv + argc}, std::cout, std::cerr); }

#endif
