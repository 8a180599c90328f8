#include "config/load_words.h"

#include "config/key_names.h"
#include "engine/trigger_code.h"

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Why a key text gave the code 0, by the program's own resolution.
std::string NoCodeWords(const std::string& text, const KeyNameTable& names) {
    // A table that names the text -1 tells whether the decimal rule took the
    // text before any name lookup.
    if (ResolveKeyName(KeyNameTable{{text, -1}}, text) == 0)
        return Quoted(text) + " reads as the code 0, which is no key";
    if (names.count(text) != 0) return Quoted(text) + " is named with the code 0 in the key names";
    const size_t start = text.find_first_not_of(" \t\n\v\f\r");
    const bool number = start != std::string::npos && ParseLeadingDecimal(std::string_view(text).substr(start));
    std::string words =
        Quoted(text) + (number ? " is not a code from 1 to " + std::to_string(kLastHookCode) + " nor a key name"
                               : " is not a key name");
    if (names.empty()) words += " (no key names were read from KeyMapping.cfg)";
    return words;
}

}  // namespace

std::string FailureWords(const LoadFailure& failure) {
    switch (failure.kind) {
        case FileFailure::None: return "";
        case FileFailure::NotReadable: return "the file cannot be read (missing, not a regular file, or locked)";
        case FileFailure::TooLarge: return "the file is larger than " + SizeText(kMaxMappingFileBytes);
        case FileFailure::Syntax:
            return "syntax error at line " + std::to_string(failure.line) + ", column " +
                   std::to_string(failure.column) + ": " + failure.detail;
        case FileFailure::Type:
            return (failure.path.empty() ? "the top-level value" : failure.path) + ": " + failure.detail;
        case FileFailure::Other: return (failure.path.empty() ? "" : failure.path + ": ") + failure.detail;
    }
    return "";
}

std::string IdleWords(const EntryRead& entry, const KeyNameTable& names) {
    switch (entry.outcome) {
        case EntryOutcome::NoCode: return NoCodeWords(entry.key_text, names);
        case EntryOutcome::PauseKey: return Quoted(entry.key_text) + " is the pause key, which is never a trigger";
        case EntryOutcome::SkippedNotObject: return "not an object: skipped";
        case EntryOutcome::SkippedNoKey: return "no \"key\": skipped";
        case EntryOutcome::SkippedKeyNotText:
            return "\"key\" is " + entry.key_text + ", not a string (key texts are written in quotes): skipped";
        case EntryOutcome::Stored:
        case EntryOutcome::FailedFile: return "";
    }
    return "";
}

std::string SizeText(std::uintmax_t bytes) {
    constexpr std::uintmax_t kKiB = 1024;
    if (bytes != 0 && bytes % (kKiB * kKiB) == 0) return std::to_string(bytes / (kKiB * kKiB)) + " MiB";
    if (bytes != 0 && bytes % kKiB == 0) return std::to_string(bytes / kKiB) + " KiB";
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}
