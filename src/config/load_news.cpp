#include "config/load_news.h"

#include "config/load_retry.h"
#include "config/load_words.h"
#include "config/utf8.h"

namespace {

std::wstring Wide(const std::string& words) { return WideFromUtf8(words); }

std::wstring NotInForce(std::wstring_view file_name, const std::wstring& reason) {
    return std::wstring(file_name) + L" is not in force:\n" + reason;
}

std::wstring GaveUp(std::wstring_view file_name, const LoadFailure& failure) {
    const std::wstring seconds = std::to_wstring(kLoadRetryLimitMs / 1000);
    return NotInForce(file_name, failure.kind == FileFailure::NotReadable
                                     ? L"another program kept it in use for " + seconds + L" s"
                                     : L"it kept changing while it was read, for " + seconds + L" s");
}

std::wstring SomeDoNothing(std::wstring_view file_name, const LoadResult& result, const KeyNameTable& key_names) {
    const bool one = result.idle_count == 1;
    std::wstring text = std::wstring(file_name) + L": " + std::to_wstring(result.idle_count) +
                        (one ? L" entry does nothing:\n" : L" entries do nothing; the first:\n");
    return text + Wide(result.first_idle->label) + L": " + Wide(IdleWords(*result.first_idle, key_names));
}

}  // namespace

std::optional<std::wstring> NewsOfLoad(LoadNews& news, std::wstring_view file_name, const LoadResult& result,
                                       const KeyNameTable& key_names, bool gave_up) {
    std::optional<std::wstring> trouble;
    if (result.outcome == LoadOutcome::ReadAgain) {
        if (!gave_up) return std::nullopt;
        trouble = GaveUp(file_name, result.failure);
    } else if (result.outcome != LoadOutcome::Read) {
        return std::nullopt;
    } else if (result.failure.kind != FileFailure::None) {
        trouble = NotInForce(file_name, Wide(FailureWords(result.failure)));
    } else if (result.idle_count != 0 && result.first_idle) {
        trouble = SomeDoNothing(file_name, result, key_names);
    }
    if (trouble) {
        news.told_trouble = true;
        return trouble;
    }
    if (!news.told_trouble) return std::nullopt;
    news.told_trouble = false;
    const bool one = result.mapping_count == 1;
    return std::wstring(file_name) + L" is in force: " + std::to_wstring(result.mapping_count) +
           (one ? L" mapping" : L" mappings");
}
