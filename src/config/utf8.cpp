#include "config/utf8.h"

#include <cstdint>

namespace {

constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }
bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The code point starting at text[at]; advances `at` past it.
std::optional<char32_t> NextWide(std::wstring_view text, size_t& at) {
    const char32_t first = static_cast<char32_t>(text[at++]);
    if (kWideIsUtf16 && IsHighSurrogate(first) && at < text.size()) {
        const char32_t second = static_cast<char32_t>(text[at]);
        if (!IsLowSurrogate(second)) return std::nullopt;
        ++at;
        return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
    }
    if (IsSurrogate(first) || first > 0x10FFFF) return std::nullopt;
    return first;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The length of the sequence that `lead` starts and the bits it carries;
// a length of 0 for a byte that cannot start one.
struct Lead {
    int length;
    char32_t bits;
};
Lead ReadLead(uint8_t lead) {
    if (lead < 0x80) return {1, lead};
    if (lead >= 0xC2 && lead <= 0xDF) return {2, static_cast<char32_t>(lead & 0x1F)};
    if (lead >= 0xE0 && lead <= 0xEF) return {3, static_cast<char32_t>(lead & 0x0F)};
    if (lead >= 0xF0 && lead <= 0xF4) return {4, static_cast<char32_t>(lead & 0x07)};
    return {0, 0};
}

// The code point starting at bytes[at]; advances `at` past it.
std::optional<char32_t> NextUtf8(std::string_view bytes, size_t& at) {
    const Lead lead = ReadLead(static_cast<uint8_t>(bytes[at]));
    if (lead.length == 0 || bytes.size() - at < static_cast<size_t>(lead.length)) return std::nullopt;
    char32_t c = lead.bits;
    for (int i = 1; i < lead.length; ++i) {
        const auto next = static_cast<uint8_t>(bytes[at + i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[lead.length] || IsSurrogate(c) || c > 0x10FFFF) return std::nullopt;
    at += lead.length;
    return c;
}

void AppendWide(std::wstring& out, char32_t c) {
    if (kWideIsUtf16 && c >= 0x10000) {
        out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        out += static_cast<wchar_t>(c);
    }
}

}  // namespace

std::optional<std::string> WideToUtf8(std::wstring_view text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const std::optional<char32_t> c = NextWide(text, at);
        if (!c) return std::nullopt;
        AppendUtf8(out, *c);
    }
    return out;
}

std::optional<std::wstring> Utf8ToWide(std::string_view bytes) {
    std::wstring out;
    for (size_t at = 0; at < bytes.size();) {
        const std::optional<char32_t> c = NextUtf8(bytes, at);
        if (!c) return std::nullopt;
        AppendWide(out, *c);
    }
    return out;
}

std::wstring WideFromUtf8(std::string_view text) {
    constexpr char32_t kReplacement = 0xFFFD;
    std::wstring wide;
    wide.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const std::optional<char32_t> c = NextUtf8(text, at);
        if (!c) ++at;  // NextUtf8 leaves `at` on the bad byte
        AppendWide(wide, c.value_or(kReplacement));
    }
    return wide;
}
