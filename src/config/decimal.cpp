#include "config/decimal.h"

std::optional<int32_t> ParseLeadingDecimal(std::string_view text) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';

    const int64_t limit = negative ? -int64_t{INT32_MIN} : INT32_MAX;
    int64_t magnitude = 0;
    const size_t first_digit = pos;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > limit) return std::nullopt;
    }
    if (pos == first_digit) return std::nullopt;
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}
