#include "config/load_news.h"

#include "config/load_words.h"
#include "config/read_schedule.h"
#include "config/utf8.h"

namespace {

constexpr const char* kPauseKeyLabel = "pause_key";

bool IsControl(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// The words of a reason, each control character shown as its escape in a
// mapping file: "\u0000".
std::wstring Visible(const std::string& words) {
    constexpr wchar_t kHexDigits[] = L"0123456789abcdef";
    std::wstring visible;
    for (wchar_t c : WideFromUtf8(words)) {
        if (!IsControl(c)) {
            visible += c;
            continue;
        }
        const auto code = std::char_traits<wchar_t>::to_int_type(c);  // 0 to 0x9F
        visible += L"\\u00";
        visible += kHexDigits[code >> 4];
        visible += kHexDigits[code & 0xF];
    }
    return visible;
}

LoadMessage NotInForce(std::wstring_view file_name, const std::wstring& reason) {
    return {std::wstring(file_name), L" is not in force:\n" + reason};
}

LoadMessage GaveUp(std::wstring_view file_name, ReadStatus status) {
    const std::wstring seconds = std::to_wstring(kReadRetryLimitMs / 1000);
    return NotInForce(file_name, status == ReadStatus::Busy
                                     ? L"another program kept it in use for " + seconds + L" s"
                                     : L"it kept changing while it was read, for " + seconds + L" s");
}

std::wstring EntriesText(std::size_t count) { return std::to_wstring(count) + (count == 1 ? L" entry" : L" entries"); }

// The pause key that names no key comes first, as it is read first.
LoadMessage SomeDoNothing(std::wstring_view file_name, const MappingFileRead& read, const EntryRead& first,
                          const KeyNameTable& key_names) {
    std::wstring count = L": ";
    if (first.label != kPauseKeyLabel) {
        count +=
            EntriesText(read.idle_count) + (read.idle_count == 1 ? L" does nothing:\n" : L" do nothing; the first:\n");
    } else if (read.idle_count == 0) {
        count += Visible(first.label) + L" does nothing:\n";
    } else {
        count += Visible(first.label) + L" and " + EntriesText(read.idle_count) + L" do nothing; the first:\n";
    }
    return {std::wstring(file_name), count + Visible(first.label) + L": " + Visible(IdleWords(first, key_names))};
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

std::optional<LoadMessage> NewsOfLoad(LoadNews& news, std::wstring_view file_name, const MappingFileRead& read,
                                      const KeyNameTable& key_names, bool gave_up) {
    std::optional<LoadMessage> trouble;
    const std::optional<EntryRead> idle_pause_key = IdlePauseKey(read.settings);
    const EntryRead* first_idle = idle_pause_key ? &*idle_pause_key : FirstIdle(read);
    if (read.status != ReadStatus::Whole) {
        if (!gave_up) return std::nullopt;
        trouble = GaveUp(file_name, read.status);
    } else if (read.failure.kind != FileFailure::None) {
        trouble = NotInForce(file_name, Visible(FailureWords(read.failure)));
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
    return LoadMessage{std::wstring(file_name),
                       L" is in force: " + std::to_wstring(read.mappings.size()) + (one ? L" mapping" : L" mappings")};
}
