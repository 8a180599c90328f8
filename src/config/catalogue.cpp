#include "config/catalogue.h"

#include <filesystem>
#include <fstream>

#include "config/config_name.h"
#include "config/path_presence.h"
#include "config/platform.h"
#include "config/utf8.h"
#include "config/wide_path.h"

namespace fs = std::filesystem;

namespace {

// Marks a last_config.txt written as UTF-8 because the code page could not
// hold the path; files without it are in the code page.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::optional<std::wstring> DecodeRememberedPath(std::string_view line) {
    if (line.starts_with(kUtf8Mark)) return Utf8ToWide(line.substr(kUtf8Mark.size()));
    return AnsiToWide(line);
}

// The code page form when it holds the path exactly (and cannot be mistaken
// for the marked form); otherwise the marked UTF-8 form. Nothing when the
// path is not even valid UTF-16.
std::optional<std::string> EncodeRememberedPath(std::wstring_view path) {
    if (std::optional<std::string> ansi = WideToAnsi(path); ansi && !ansi->starts_with(kUtf8Mark)) return ansi;
    const std::optional<std::string> utf8 = WideToUtf8(path);
    if (!utf8) return std::nullopt;
    return std::string(kUtf8Mark) + *utf8;
}

}  // namespace

ConfigList ScanConfigs(const std::wstring& cfg_dir) {
    ConfigList configs;
    const std::optional<fs::path> folder = PathFromWide(cfg_dir);
    if (!folder) return configs;
    const std::wstring separator(1, static_cast<wchar_t>(fs::path::preferred_separator));
    // A listing that cannot be opened (no such folder) or advanced ends the
    // scan; the entries already taken stay, and each of them passed the
    // extension test.
    std::error_code error;
    for (fs::directory_iterator entry(*folder, error); !error && entry != fs::directory_iterator();
         entry.increment(error)) {
        // A name without a wide form (not UTF-8, natively) cannot be offered.
        const std::optional<std::wstring> name = WideFromPath(entry->path().filename());
        if (name && IsConfigFileName(*name)) configs.push_back(cfg_dir + separator + *name);
    }
    return configs;
}

std::optional<std::wstring> LoadLastConfig(const std::wstring& last_config_path) {
    const std::optional<fs::path> file = PathFromWide(last_config_path);
    if (!file || !IsRegularFile(*file)) return std::nullopt;
    std::ifstream in(*file);  // text mode: a CR LF line end arrives as LF
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    std::optional<std::wstring> remembered = DecodeRememberedPath(line);
    if (!remembered) return std::nullopt;  // not text in its encoding: nothing to take
    // A path that cannot be found, for whatever reason, is not taken.
    const std::optional<fs::path> path = PathFromWide(*remembered);
    if (!path || CheckPathPresence(*path) != PathPresence::Present) return std::nullopt;
    return remembered;
}

void SaveLastConfig(const std::wstring& last_config_path, const std::wstring& current_config) {
    if (current_config.empty()) return;
    const std::optional<fs::path> file = PathFromWide(last_config_path);
    if (!file) return;
    // Like the reading side, never open a device or pipe under the file's name.
    if (CheckPathPresence(*file) != PathPresence::Absent && !IsRegularFile(*file)) return;
    const std::optional<std::string> text = EncodeRememberedPath(current_config);
    if (!text) return;
    std::ofstream out(*file, std::ios::out | std::ios::trunc);  // text mode; no line end is written
    out << *text;
}
