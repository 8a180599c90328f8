#include "config/utf8.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct Pair {
    std::wstring wide;
    std::string utf8;
};

TEST(Utf8Test, ConvertsEveryLengthOfSequenceBothWays) {
    const std::vector<Pair> pairs = {
        {L"", ""},
        {L"CFG\\a.json", "CFG\\a.json"},
        {L"\u00e9", "\xC3\xA9"},                        // two bytes
        {L"\u043c\u0443", "\xD0\xBC\xD1\x83"},          // Cyrillic
        {L"\u97f3\uFEFF", "\xE9\x9F\xB3\xEF\xBB\xBF"},  // three bytes
        {L"\U0001F3B9", "\xF0\x9F\x8E\xB9"},            // four bytes (a surrogate pair in UTF-16)
        {L"\U0010FFFF\u007F\u0080\u07FF\u0800\uFFFF", "\xF4\x8F\xBF\xBF\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
    };
    for (const Pair& pair : pairs) {
        EXPECT_EQ(WideToUtf8(pair.wide), pair.utf8) << pair.utf8;
        EXPECT_EQ(Utf8ToWide(pair.utf8), pair.wide) << pair.utf8;
    }
}

TEST(Utf8Test, RejectsBytesThatAreNotWellFormed) {
    const std::vector<std::string> malformed = {
        "\x80",              // a continuation byte alone
        "a\xFF",             // a byte that never occurs
        "\xC0\xAF",          // overlong "/"
        "\xE0\x80\xAF",      // overlong, three bytes
        "\xF0\x80\x80\xAF",  // overlong, four bytes
        "\xED\xA0\x80",      // an encoded surrogate
        "\xF4\x90\x80\x80",  // beyond U+10FFFF
        "\xE2\x82",          // cut short at the end
        "\xE2\x28\xA1",      // a sequence broken by ASCII
    };
    for (const std::string& bytes : malformed) {
        EXPECT_EQ(Utf8ToWide(bytes), std::nullopt) << testing::PrintToString(bytes);
    }
}

TEST(Utf8Test, RejectsWideTextWithLoneSurrogates) {
    const std::vector<std::wstring> malformed = {
        std::wstring(1, static_cast<wchar_t>(0xD800)),
        std::wstring(1, static_cast<wchar_t>(0xDC00)) + L"a",
        L"a" + std::wstring(1, static_cast<wchar_t>(0xDBFF)) + L"b",
    };
    for (const std::wstring& wide : malformed) {
        EXPECT_EQ(WideToUtf8(wide), std::nullopt);
    }
}

// The lenient form used for names read from mapping files.

struct Utf8Case {
    std::string name;
    std::string utf8;
    std::wstring wide;
};

void PrintTo(const Utf8Case& c, std::ostream* out) { *out << c.name; }

class WideFromUtf8Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(WideFromUtf8Test, Converts) { EXPECT_EQ(WideFromUtf8(GetParam().utf8), GetParam().wide); }

// Wide literals are UTF-16 on Windows (a surrogate pair above U+FFFF) and
// UTF-32 natively, as the conversion must be.
INSTANTIATE_TEST_SUITE_P(Texts, WideFromUtf8Test,
                         ::testing::Values(Utf8Case{"Ascii", "Fenwickloop 2", L"Fenwickloop 2"},
                                           Utf8Case{"Empty", "", L""},
                                           Utf8Case{"TwoBytes", "Caf\xC3\xA9", L"Caf\u00e9"},
                                           Utf8Case{"ThreeBytes", "\xE9\x9F\xB3\xE6\xA5\xBD", L"\u97f3\u697d"},
                                           Utf8Case{"FourBytes", "\xF0\x9F\x8E\xB9!", L"\U0001F3B9!"},
                                           Utf8Case{"Highest", "\xF4\x8F\xBF\xBF", L"\U0010FFFF"},
                                           Utf8Case{"StrayContinuation", "a\x80z", L"a\uFFFDz"},
                                           Utf8Case{"Overlong", "\xC0\xAF", L"\uFFFD\uFFFD"},
                                           Utf8Case{"Surrogate", "\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},
                                           Utf8Case{"AboveUnicode", "\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},
                                           Utf8Case{"Truncated", "\xE9\x9F", L"\uFFFD\uFFFD"},
                                           Utf8Case{"BadContinuation", "\xC3(", L"\uFFFD("}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
