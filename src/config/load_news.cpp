#include "config/load_news.h"

#include "config/load_words.h"
#include "config/read_schedule.h"
#include "config/utf8.h"

namespace {

constexpr const char* kPauseKeyLabel = "pause_key";

std::wstring Wide(const std::string& words) { return WideFromUtf8(words); }

std::wstring NotInForce(std::wstring_view file_name, const std::wstring& reason) {
    return std::wstring(file_name) + L" is not in force:\n" + reason;
}

std::wstring GaveUp(std::wstring_view file_name, ReadStatus status) {
    const std::wstring seconds = std::to_wstring(kReadRetryLimitMs / 1000);
    return NotInForce(file_name, status == ReadStatus::Busy
                                     ? L"another program kept it in use for " + seconds + L" s"
                                     : L"it kept changing while it was read, for " + seconds + L" s");
}

std::wstring EntriesText(std::size_t count) { return std::to_wstring(count) + (count == 1 ? L" entry" : L" entries"); }

// The pause key that names no key comes first, as it is read first.
std::wstring SomeDoNothing(std::wstring_view file_name, const MappingFileRead& read, const EntryRead& first,
                           const KeyNameTable& key_names) {
    std::wstring text = std::wstring(file_name) + L": ";
    if (first.label != kPauseKeyLabel) {
        text +=
            EntriesText(read.idle_count) + (read.idle_count == 1 ? L" does nothing:\n" : L" do nothing; the first:\n");
    } else if (read.idle_count == 0) {
        text += Wide(first.label) + L" does nothing:\n";
    } else {
        text += Wide(first.label) + L" and " + EntriesText(read.idle_count) + L" do nothing; the first:\n";
    }
    return text + Wide(first.label) + L": " + Wide(IdleWords(first, key_names));
}

// A pause key that names no key, as an entry that does nothing would say it.
std::optional<EntryRead> IdlePauseKey(const FileSettings& settings) {
    if (!settings.pause_key || settings.pause_key->code != 0) return std::nullopt;
    EntryRead idle;
    idle.label = kPauseKeyLabel;
    idle.outcome = EntryOutcome::NoCode;
    idle.key_text = settings.pause_key->text;
    return idle;
}

}  // namespace

std::optional<std::wstring> NewsOfLoad(LoadNews& news, std::wstring_view file_name, const MappingFileRead& read,
                                       const KeyNameTable& key_names, bool gave_up) {
    std::optional<std::wstring> trouble;
    const std::optional<EntryRead> idle_pause_key = IdlePauseKey(read.settings);
    const EntryRead* first_idle = idle_pause_key ? &*idle_pause_key : FirstIdle(read);
    if (read.status != ReadStatus::Whole) {
        if (!gave_up) return std::nullopt;
        trouble = GaveUp(file_name, read.status);
    } else if (read.failure.kind != FileFailure::None) {
        trouble = NotInForce(file_name, Wide(FailureWords(read.failure)));
    } else if (first_idle != nullptr) {
        trouble = SomeDoNothing(file_name, read, *first_idle, key_names);
    }
    if (trouble) {
        news.told_trouble = true;
        return trouble;
    }
    if (!news.told_trouble) return std::nullopt;
    news.told_trouble = false;
    const bool one = read.mappings.size() == 1;
    return std::wstring(file_name) + L" is in force: " + std::to_wstring(read.mappings.size()) +
           (one ? L" mapping" : L" mappings");
}
