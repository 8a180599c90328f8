#include "config/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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
