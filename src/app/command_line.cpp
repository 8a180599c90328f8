#include "app/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <limits>

namespace {

std::optional<int64_t> WholeSeconds(const std::wstring& text) {
    constexpr size_t kMostDigits = 10;  // 2147483647
    if (text.empty() || text.size() > kMostDigits) return std::nullopt;
    if (!std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) return std::nullopt;
    const int64_t seconds = std::stoll(text);
    if (seconds > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return seconds;
}

}  // namespace

std::vector<std::wstring> ProgramArguments(const wchar_t* command_line) {
    // The first word of a command line is the program's name, split by other
    // rules: a name put in front lets every argument be split alike.
    const std::wstring with_name = std::wstring(L"Quillfret ") + (command_line != nullptr ? command_line : L"");
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(with_name.c_str(), &count);
    // Without memory to split it, the command line counts as empty: the
    // program starts as it does without options.
    if (words == nullptr) return {};
    std::vector<std::wstring> arguments(words + std::min(count, 1), words + count);
    LocalFree(words);
    return arguments;
}

std::optional<int64_t> PortWaitSeconds(const std::vector<std::wstring>& arguments) {
    const auto option = std::find(arguments.begin(), arguments.end(), L"--wait-for-port");
    if (option == arguments.end()) return std::nullopt;
    const auto value = std::next(option);
    if (value == arguments.end()) return kDefaultPortWaitSeconds;
    return WholeSeconds(*value).value_or(kDefaultPortWaitSeconds);
}
