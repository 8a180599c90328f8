#include "config/config_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct LabelCase {
    std::wstring path;
    std::wstring label;
};

void PrintTo(const LabelCase& label_case, std::ostream* out) {
    *out << std::string(label_case.path.begin(), label_case.path.end());
}

class ConfigMenuLabelTest : public testing::TestWithParam<LabelCase> {};

TEST_P(ConfigMenuLabelTest, IsTheStemOfTheFileName) { EXPECT_EQ(ConfigMenuLabel(GetParam().path), GetParam().label); }

INSTANTIATE_TEST_SUITE_P(
    Examples, ConfigMenuLabelTest,
    testing::Values(
        LabelCase{L"C:\\Music\\Quillfret\\CFG\\Config_1.json", L"Config_1"},
        LabelCase{L"C:\\Music\\Quillfret\\CFG\\live.set.json", L"live.set"},
        LabelCase{L"C:\\Music\\Quillfret\\CFG\\.json", L".json"}, LabelCase{L"C:/Music/CFG/forward.json", L"forward"},
        LabelCase{L"C:\\Music/CFG\\mixed/last.json", L"last"}, LabelCase{L"C:bare.json", L"bare"},
        LabelCase{L"\\\\server\\share\\CFG\\shared.json", L"shared"}, LabelCase{L"\\\\?\\C:\\CFG\\long.json", L"long"},
        LabelCase{L"C:\\CFG\\noextension", L"noextension"}, LabelCase{L"C:\\CFG\\trailing.", L"trailing"},
        LabelCase{L"C:\\CFG\\..json", L"."}, LabelCase{L"C:\\CFG\\.", L"."}, LabelCase{L"C:\\CFG\\..", L".."},
        LabelCase{L"C:\\CFG\\", L""}, LabelCase{L"C:", L""}, LabelCase{L"C:\\CFG\\stream.json:extra", L"stream"},
        LabelCase{L"C:\\CFG\\.hidden:stream.json", L".hidden"}, LabelCase{L"C:\\Dotted.Folder\\plain", L"plain"},
        LabelCase{L"", L""}, LabelCase{L"C:\\CFG\\Rock&Roll.json", L"Rock&Roll"}));

// A menu shows "&&" as "&" and takes a single "&" as a shortcut mark.
TEST(MenuItemTextTest, DoublesEachAmpersandAndNothingElse) {
    EXPECT_EQ(MenuItemText(L"Rock&Roll"), L"Rock&&Roll");
    EXPECT_EQ(MenuItemText(L"&a&&b&"), L"&&a&&&&b&&");
    EXPECT_EQ(MenuItemText(L"plain \u00e9 \\ (1)"), L"plain \u00e9 \\ (1)");
    EXPECT_EQ(MenuItemText(L""), L"");
}

}  // namespace
