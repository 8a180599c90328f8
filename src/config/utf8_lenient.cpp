#include "config/utf8.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes the code point at `pos` and moves `pos` past it. Overlong forms,
// surrogates and values above U+10FFFF are rejected as the JSON reader
// rejects them; a rejected sequence consumes one byte.
char32_t DecodeAt(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || pos + length > text.size()) {
        ++pos;
        return kReplacement;
    }
    char32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if (!IsContinuation(byte)) {
            ++pos;
            return kReplacement;
        }
        code = code << 6 | (byte & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    return code;
}

void AppendWide(std::wstring& out, char32_t code) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (code >> 10));
            out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(code);
}

}  // namespace

std::wstring WideFromUtf8(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) AppendWide(wide, DecodeAt(text, pos));
    return wide;
}
