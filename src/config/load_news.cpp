#include "config/load_news.h"

#include "config/load_words.h"
#include "config/read_schedule.h"
#include "config/utf8.h"

namespace {

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

LoadMessage SomeDoNothing(std::wstring_view file_name, const MappingFileRead& read, const EntryRead& first,
                          const KeyNameTable& key_names) {
    const bool one = read.idle_count == 1;
    const std::wstring count = L": " + std::to_wstring(read.idle_count) +
                               (one ? L" entry does nothing:\n" : L" entries do nothing; the first:\n");
    return {std::wstring(file_name), count + Visible(first.label) + L": " + Visible(IdleWords(first, key_names))};
}

}  // namespace

std::optional<LoadMessage> NewsOfLoad(LoadNews& news, std::wstring_view file_name, const MappingFileRead& read,
                                      const KeyNameTable& key_names, bool gave_up) {
    std::optional<LoadMessage> trouble;
    const EntryRead* first_idle = FirstIdle(read);
    if (read.status != ReadStatus::Whole) {
        if (!gave_up) return std::nullopt;
        trouble = GaveUp(file_name, read.status);
    } else if (read.failure.kind != FileFailure::None) {
        trouble = NotInForce(file_name, Visible(FailureWords(read.failure)));
    } else if (read.idle_count != 0 && first_idle != nullptr) {
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
