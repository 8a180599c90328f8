#include "config/wide_path.h"

#include <type_traits>

#include "config/utf8.h"

namespace fs = std::filesystem;

namespace {
constexpr bool kWideFileSystem = std::is_same_v<fs::path::value_type, wchar_t>;
}  // namespace

std::optional<fs::path> PathFromWide(const std::wstring& path) {
    if constexpr (kWideFileSystem) {
        return fs::path(path);
    } else {
        const std::optional<std::string> utf8 = WideToUtf8(path);
        if (!utf8) return std::nullopt;
        return fs::path(std::u8string(utf8->begin(), utf8->end()));
    }
}

std::optional<std::wstring> WideFromPath(const fs::path& path) {
    if constexpr (kWideFileSystem) {
        return path.wstring();
    } else {
        return Utf8ToWide(path.string());
    }
}
