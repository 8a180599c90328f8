#include <cstdint>

#include "render.h"

std::string TransposeText(int32_t change) {
    if (change == 0) return "transpose 0 sets it back to 0";
    const int64_t size = change < 0 ? -int64_t{change} : int64_t{change};
    return "transpose " + Signed(change) + ": the notes of every mapping switched on afterwards move " +
           (change > 0 ? "up " : "down ") + std::to_string(size) + (size == 1 ? " semitone" : " semitones") +
           "; the transpose stays within " + std::to_string(-kTransposeLimit) + ".." + std::to_string(kTransposeLimit);
}

std::string SizeText(std::uintmax_t bytes) {
    constexpr std::uintmax_t kKiB = 1024;
    if (bytes != 0 && bytes % (kKiB * kKiB) == 0) return std::to_string(bytes / (kKiB * kKiB)) + " MiB";
    if (bytes != 0 && bytes % kKiB == 0) return std::to_string(bytes / kKiB) + " KiB";
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::string FailureText(const MappingFileReport& report) {
    switch (report.failure) {
        case FileFailure::None: return "";
        case FileFailure::NotReadable: return "the file cannot be read (missing, not a regular file, or locked)";
        case FileFailure::TooLarge: return "the file is larger than " + SizeText(kMaxMappingFileBytes);
        case FileFailure::Syntax:
            return "syntax error at line " + std::to_string(report.failure_line) + ", column " +
                   std::to_string(report.failure_column) + ": " + report.failure_detail;
        case FileFailure::Type:
            return (report.failure_path.empty() ? "the top-level value" : report.failure_path) + ": " +
                   report.failure_detail;
        case FileFailure::Other:
            return (report.failure_path.empty() ? "" : report.failure_path + ": ") + report.failure_detail;
    }
    return "";
}
