// The remembered selection and new mapping files against the real Windows
// ANSI code page and text mode.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/catalogue.h"
#include "config/new_config.h"
#include "config/platform.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

// The remembered selection saved under the ANSI code page `kCodePage`;
// skipped under any other.
template <UINT kCodePage>
class CodePageTest : public testing::Test {
protected:
    void SetUp() override {
        if (GetACP() != kCodePage) GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", not " << kCodePage;
        fs::create_directory(dir_.path() / "CFG");
        last_config_path_ = dir_.Wide("CFG\\last_config.txt");
    }

    // The bytes stored for `selected`.
    std::string Saved(const std::wstring& selected) {
        SaveLastConfig(last_config_path_, selected);
        return ReadBytes(last_config_path_);
    }

    // Selects `name` (created in the temporary folder), saves, and loads it
    // back; returns the bytes stored in between.
    std::string SaveAndLoad(const std::wstring& name) {
        const std::wstring selected = dir_.Wide(name);
        WriteBytes(selected, "{}");
        const std::string stored = Saved(selected);
        EXPECT_EQ(LoadLastConfig(last_config_path_), selected);
        return stored;
    }

    TempDir dir_;
    std::wstring last_config_path_;
};

// The characters below are chosen for Windows-1252, Wine's code page for
// the usual Western locales.
using Cp1252Test = CodePageTest<1252>;

TEST_F(Cp1252Test, PathInTheCodePageIsStoredInIt) {
    const std::string stored = SaveAndLoad(L"caf\u00e9 \u20ac.json");
    EXPECT_EQ(stored, dir_.path().string() + "\\caf\xE9 \x80.json");
}

TEST_F(Cp1252Test, PathOutsideTheCodePageIsStoredAsMarkedUtf8) {
    const std::string mark = "\xEF\xBB\xBF";
    EXPECT_EQ(SaveAndLoad(L"\u043c\u0443\u0437\u044b\u043a\u0430.json"),
              mark + dir_.path().string() + "\\\xD0\xBC\xD1\x83\xD0\xB7\xD1\x8B\xD0\xBA\xD0\xB0.json");
    EXPECT_EQ(SaveAndLoad(L"\u97f3\u697d.json"), mark + dir_.path().string() + "\\\xE9\x9F\xB3\xE6\xA5\xBD.json");
}

// Best-fit would turn the a with macron into a plain "a": a different path.
TEST_F(Cp1252Test, NoBestFitReplacement) {
    EXPECT_EQ(WideToAnsi(L"\u0101"), std::nullopt);
    EXPECT_EQ(WideToAnsi(L"\u00e9"), "\xE9");
    EXPECT_EQ(AnsiToWide("\xE9\x80"), L"\u00e9\u20ac");
}

// Where the ANSI code page is UTF-8 it holds every path, which is stored
// plainly, without the mark; a path that is no text is not stored. Wine
// gives a locale without an ANSI code page (hi_IN) the code page UTF-8, as
// Windows' "Use Unicode UTF-8" option does.
using Utf8CodePageTest = CodePageTest<CP_UTF8>;

TEST_F(Utf8CodePageTest, EveryPathIsStoredPlainly) {
    EXPECT_EQ(SaveAndLoad(L"a.json"), dir_.path().string() + "\\a.json");
    const std::string stored = Saved(L"C:\\CFG\\\u043c\u0443\u0437\u044b\u043a\u0430 \u97f3\u697d.json");
    EXPECT_EQ(stored, "C:\\CFG\\\xD0\xBC\xD1\x83\xD0\xB7\xD1\x8B\xD0\xBA\xD0\xB0 \xE9\x9F\xB3\xE6\xA5\xBD.json");
    EXPECT_EQ(Saved(std::wstring(L"C:\\CFG\\") + wchar_t{0xD800} + L".json"), stored) << "a lone surrogate is no text";
}

// Text mode: a line ended by CR LF (as Notepad writes it) names the path without the CR.
TEST(LastConfigWinTest, CrLfLineEndIsNotPartOfThePath) {
    TempDir dir;
    const std::wstring last_config_path = dir.Wide("last_config.txt");
    WriteBytes(dir.path() / "a.json", "{}");
    WriteBytes(last_config_path, dir.path().string() + "\\a.json\r\nsecond line\r\n");

    EXPECT_EQ(LoadLastConfig(last_config_path), dir.Wide("a.json"));
}

TEST(ScanConfigsWinTest, HiddenAndSystemEntriesAreListed) {
    TempDir dir;
    WriteBytes(dir.path() / "h.json", "{}");
    ASSERT_TRUE(SetFileAttributesW(dir.Wide("h.json").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));

    EXPECT_EQ(ScanConfigs(dir.path().wstring()), ConfigList{dir.Wide("h.json")});
}

TEST(NewConfigWinTest, DefaultFileIsExactlyFiftyNineBytesWithCrLf) {
    TempDir dir;
    std::error_code error;
    const std::optional<std::wstring> path = CreateNewConfig(dir.path().wstring(), error);
    ASSERT_EQ(path, dir.Wide("Config_1.json"));
    const std::string bytes = ReadBytes(*path);
    EXPECT_EQ(bytes.size(), 59u);
    EXPECT_EQ(bytes, "{\r\n    \"mappings\": [],\r\n    \"midi_device\": \"Fenwickloop\"\r\n}");
}

// The reason comes as the system's own error code, which the program puts
// into the system's words.
TEST(NewConfigWinTest, AMissingFolderGivesTheSystemsErrorCode) {
    TempDir dir;
    std::error_code error;
    EXPECT_EQ(CreateNewConfig(dir.Wide("missing"), error), std::nullopt);
    EXPECT_EQ(error, std::error_code(ERROR_PATH_NOT_FOUND, std::system_category())) << error.message();
}

}  // namespace
