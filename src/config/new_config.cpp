#include "config/new_config.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <nlohmann/json.hpp>

#include "config/default_device.h"
#include "config/path_presence.h"
#include "config/wide_path.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

void ClearFileError() {
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
}

// Why the runtime's last file call failed. The Windows runtime keeps the
// system's own error code beside errno (which folds several codes into one
// value); elsewhere errno is the system's code.
std::error_code LastFileError() {
#ifdef _WIN32
    if (_doserrno != 0) return {static_cast<int>(_doserrno), std::system_category()};
#endif
    if (errno != 0) return {errno, std::generic_category()};
    return std::make_error_code(std::errc::io_error);  // a failure that left no reason
}

}  // namespace

std::FILE* CreateNewTextFile(const std::filesystem::path& path, std::error_code& error) {
    ClearFileError();
#ifdef _WIN32
    // The Windows C runtime ignores the "x" of fopen; its open() honours
    // _O_EXCL. Text mode turns each line feed into CR LF on disk.
    const int fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT, _S_IREAD | _S_IWRITE);
    std::FILE* file = fd < 0 ? nullptr : _wfdopen(fd, L"w");
    if (file == nullptr) error = LastFileError();
    if (file == nullptr && fd >= 0) _close(fd);
    return file;
#else
    std::FILE* file = std::fopen(path.c_str(), "wx");
    if (file == nullptr) error = LastFileError();
    return file;
#endif
}

bool WriteAndCloseTextFile(std::FILE* file, std::string_view text, std::error_code& error) {
    ClearFileError();
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (!written) error = LastFileError();
    ClearFileError();
    if (std::fclose(file) != 0 && written) {
        error = LastFileError();
        written = false;
    }
    return written;
}

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
