#include "config/new_config.h"

#include <cstdint>
#include <filesystem>
#include <limits>
#include <nlohmann/json.hpp>

#include "config/default_device.h"
#include "config/new_text_file.h"
#include "config/path_presence.h"
#include "config/wide_path.h"

namespace fs = std::filesystem;

namespace {

// The content of a new mapping file: no mappings, and the device name the
// program starts with.
std::string DefaultDocumentText() {
    nlohmann::json document = nlohmann::json::object();
    document["mappings"] = nlohmann::json::array();
    document["midi_device"] = std::string(kDefaultMidiDevice);
    return document.dump(4);
}

enum class Attempt { Created, Taken, Failed };

// Creates `path` with the default content unless something has that name;
// Failed leaves the reason in `error`.
Attempt TryCreate(const fs::path& path, std::error_code& error) {
    switch (CheckPathPresence(path, &error)) {
        case PathPresence::Present: return Attempt::Taken;
        case PathPresence::Unknown: return Attempt::Failed;
        case PathPresence::Absent: break;
    }
    std::FILE* file = CreateNewTextFile(path, error);
    if (file == nullptr) {
        // Taken between the check and the creation, or not creatable at all.
        return CheckPathPresence(path) == PathPresence::Present ? Attempt::Taken : Attempt::Failed;
    }
    if (WriteAndCloseTextFile(file, DefaultDocumentText(), error)) return Attempt::Created;
    // A half-written file (a full disk) is no mapping file: the one this call
    // created is removed again, and the caller is told that nothing was made.
    std::error_code ignored;  // a leftover that cannot be removed changes nothing for the caller
    fs::remove(path, ignored);
    return Attempt::Failed;
}

}  // namespace

std::optional<std::wstring> CreateNewConfig(const std::wstring& cfg_dir, std::error_code& error) {
    const std::wstring separator(1, static_cast<wchar_t>(fs::path::preferred_separator));
    for (int64_t number = 1; number <= std::numeric_limits<int32_t>::max(); ++number) {
        const std::wstring path = cfg_dir + separator + L"Config_" + std::to_wstring(number) + L".json";
        const std::optional<fs::path> file = PathFromWide(path);
        if (!file) {  // a folder name without a file-system form
            error = std::make_error_code(std::errc::invalid_argument);
            return std::nullopt;
        }
        switch (TryCreate(*file, error)) {
            case Attempt::Created: error.clear(); return path;
            case Attempt::Failed: return std::nullopt;
            case Attempt::Taken: break;
        }
    }
    error = std::make_error_code(std::errc::file_exists);  // every positive 32-bit number is taken
    return std::nullopt;
}
