#include "file_store.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <system_error>

#include "config/path_presence.h"

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
    if (!IsRegularFile(file)) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

std::string ContentVersion(const std::optional<std::string>& bytes) {
    if (!bytes) return "absent";
    // FNV-1a, 64 bits: a change of content is what matters, not secrecy.
    uint64_t hash = 14695981039346656037ULL;
    for (const char byte : *bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ULL;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = std::to_string(bytes->size()) + "-";
    for (int shift = 60; shift >= 0; shift -= 4) text += kDigits[(hash >> shift) & 0xF];
    return text;
}

std::filesystem::path SaveTemporaryOf(const std::filesystem::path& file) {
    std::filesystem::path temporary = file;
    temporary += ".saving";
    return temporary;
}

std::string SaveAtomically(const std::filesystem::path& file, std::string_view bytes) {
    const std::filesystem::path temporary = SaveTemporaryOf(file);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return "the temporary file beside it could not be written";
        }
    }
    std::string reason = RenameOver(temporary, file);
    if (!reason.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    }
    return reason;
}
