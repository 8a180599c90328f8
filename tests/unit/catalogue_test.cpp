#include "config/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "config/utf8.h"
#include "config/wide_path.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

const std::wstring kUnchanged = L"unchanged by the call";

// A name of one path component longer than any file system allows: checking
// it fails with an error that is not "not found" natively.
const std::wstring kOverlongName(400, L'n');

// The catalogue's part of the program's state.
struct CatalogueState {
    std::wstring cfg_dir;
    std::wstring last_config_path;
    std::wstring current_config;
    ConfigList config_list;
};

// A state whose CFG folder is `cfg` inside the temporary folder.
CatalogueState StateIn(const TempDir& dir, const std::wstring& cfg = L"CFG") {
    CatalogueState state;
    state.cfg_dir = dir.Wide(cfg);
    state.last_config_path = dir.Wide(fs::path(cfg) / "last_config.txt");
    state.current_config = kUnchanged;
    return state;
}

// Wide paths with characters outside ASCII reach the file system through the
// program's own conversion (natively the standard one throws on them).
fs::path Fs(const std::wstring& wide) { return PathFromWide(wide).value(); }

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    return folder + static_cast<wchar_t>(fs::path::preferred_separator) + name;
}

std::string Printable(const std::wstring& wide) { return WideToUtf8(wide).value_or("(not text)"); }

// The remembered path becomes current when there is one, as at start-up.
void TakeRemembered(CatalogueState& state) {
    if (std::optional<std::wstring> remembered = LoadLastConfig(state.last_config_path))
        state.current_config = *remembered;
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
}

// ---- ScanConfigs ----

struct Entry {
    std::wstring name;
    bool is_folder;
    bool listed;
};

// The extension is the text from the last "." on, compared case by case; a
// name whose only "." comes first has none; folders count like files.
const std::vector<Entry> kEntries = {
    {L"a.json", false, true},      {L"b.JSON", false, false},      {L"c.Json", false, false},
    {L"d.json.bak", false, false}, {L".json", false, false},       {L"x..json", false, true},
    {L"..json", false, true},      {L".hidden.json", false, true}, {L"x.json", true, true},
    {L"json", false, false},       {L"e.jsonx", false, false},     {L"f_json", false, false},
    {L"folder", true, false},      {L"g.txt", false, false},       {L"\u00e9t\u00e9.json", false, true},
};

TEST(ScanConfigsTest, ListsExactlyTheEntriesWithTheJsonExtension) {
    TempDir dir;
    CatalogueState state = StateIn(dir);
    fs::create_directory(state.cfg_dir);
    std::vector<std::wstring> expected;
    for (const Entry& entry : kEntries) {
        const std::wstring path = Join(state.cfg_dir, entry.name);
        if (entry.is_folder) {
            fs::create_directory(Fs(path));
        } else {
            WriteBytes(Fs(path), "{}");
        }
        if (entry.listed) expected.push_back(path);
    }
    state.config_list = {L"stale entry"};

    state.config_list = ScanConfigs(state.cfg_dir);

    EXPECT_EQ(Sorted(state.config_list), Sorted(expected));
}

// The scan only reads: a missing folder is not made here (the tray menu
// makes it, app/cfg_folder.h).
TEST(ScanConfigsTest, UnusableFolderGivesAnEmptyListAndThrowsNothing) {
    TempDir dir;
    WriteBytes(dir.path() / "CFG", "a plain file named like the folder");
    const std::vector<std::wstring> unusable = {
        L"CFG",                                     // a file in place of the folder
        (fs::path(L"CFG") / L"inner").wstring(),    // a folder under that file
        L"missing",                                 // no folder
        (fs::path(L"missing") / L"CFG").wstring(),  // its parent is missing
        kOverlongName,                              // the listing itself fails
    };
    for (const std::wstring& cfg : unusable) {
        CatalogueState state = StateIn(dir, cfg);
        state.config_list = {L"stale entry"};
        EXPECT_NO_THROW(state.config_list = ScanConfigs(state.cfg_dir)) << fs::path(cfg);
        EXPECT_TRUE(state.config_list.empty()) << fs::path(cfg);
    }
    EXPECT_EQ(ReadBytes(dir.path() / "CFG"), "a plain file named like the folder");
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
}

// ---- LoadLastConfig ----

struct RememberedCase {
    std::string name;
    std::string content;   // "{in}", "{out}" ... stand for the paths of Remembered()
    std::string expected;  // empty: current_config unchanged
};

void PrintTo(const RememberedCase& remembered, std::ostream* out) { *out << remembered.name; }

class LoadLastConfigTest : public testing::TestWithParam<RememberedCase> {
protected:
    // Replaces each "{key}" by the path that Remembered() gives it.
    std::string Expand(std::string text) const {
        for (const auto& [key, path] : Remembered()) {
            for (size_t at; (at = text.find(key)) != std::string::npos;) text.replace(at, key.size(), path);
        }
        return text;
    }
    std::vector<std::pair<std::string, std::string>> Remembered() const {
        return {{"{in}", (dir_.path() / "CFG" / "a.json").string()},
                {"{out}", (elsewhere_.path() / "b.json").string()},
                {"{space}", (dir_.path() / "CFG" / "c.json ").string()},  // its name ends in a space
                {"{gone}", (dir_.path() / "CFG" / "d.json").string()},    // it was there and is gone
                {"{dir}", (dir_.path() / "CFG").string()}};
    }

    TempDir dir_;
    TempDir elsewhere_;
};

TEST_P(LoadLastConfigTest, TakesTheFirstLineWhenItNamesSomethingThatExists) {
    CatalogueState state = StateIn(dir_);
    fs::create_directory(state.cfg_dir);
    for (const char* name : {"{in}", "{out}", "{space}", "{gone}"}) WriteBytes(Expand(name), "{}");
    fs::remove(Expand("{gone}"));
    WriteBytes(state.last_config_path, Expand(GetParam().content));

    TakeRemembered(state);

    const std::string& expected = GetParam().expected;
    EXPECT_EQ(state.current_config, expected.empty() ? kUnchanged : fs::path(Expand(expected)).wstring());
}

INSTANTIATE_TEST_SUITE_P(Remembered, LoadLastConfigTest,
                         testing::Values(RememberedCase{"PathInTheFolder", "{in}", "{in}"},
                                         RememberedCase{"PathOutsideTheFolder", "{out}", "{out}"},
                                         RememberedCase{"FolderCountsAsExisting", "{dir}", "{dir}"},
                                         RememberedCase{"SecondLineIgnored", "{in}\n{out}", "{in}"},
                                         RememberedCase{"TrailingSpaceIsPartOfThePath", "{space}", "{space}"},
                                         RememberedCase{"VanishedPathIgnored", "{gone}", ""},
                                         RememberedCase{"EmptyFile", "", ""},
                                         RememberedCase{"EmptyFirstLine", "\n{in}", ""},
                                         RememberedCase{"MarkedUtf8", "\xEF\xBB\xBF{in}", "{in}"},
                                         // a decoder that kept the valid start would find {in}
                                         RememberedCase{"MarkedButNotUtf8", "\xEF\xBB\xBF{in}\xFF", ""},
                                         RememberedCase{"OnlyTheMark", "\xEF\xBB\xBF", ""}),
                         [](const testing::TestParamInfo<RememberedCase>& info) { return info.param.name; });

TEST(LoadLastConfigFailureTest, MissingOrUnreadableFileChangesNothing) {
    TempDir dir;
    CatalogueState state = StateIn(dir);
    TakeRemembered(state);  // no CFG folder at all
    EXPECT_EQ(state.current_config, kUnchanged);

    fs::create_directories(fs::path(state.last_config_path));  // a folder under the file's name
    TakeRemembered(state);
    EXPECT_EQ(state.current_config, kUnchanged);
}

TEST(LoadLastConfigFailureTest, FailingExistenceCheckChangesNothing) {
    TempDir dir;
    CatalogueState state = StateIn(dir);
    fs::create_directory(state.cfg_dir);
    WriteBytes(state.last_config_path, (dir.path() / kOverlongName).string());
    EXPECT_NO_THROW(TakeRemembered(state));
    EXPECT_EQ(state.current_config, kUnchanged);
}

// ---- SaveLastConfig ----

TEST(SaveLastConfigTest, WritesThePathAloneWithoutLineEnd) {
    TempDir dir;
    CatalogueState state = StateIn(dir);
    fs::create_directory(state.cfg_dir);
    WriteBytes(state.last_config_path, "an older and much longer remembered path than the new one\n");
    state.current_config = dir.Wide("CFG/b.json");

    SaveLastConfig(state.last_config_path, state.current_config);

    EXPECT_EQ(ReadBytes(state.last_config_path), fs::path(state.current_config).string());
}

TEST(SaveLastConfigTest, EmptySelectionLeavesTheFileAsItWas) {
    TempDir dir;
    CatalogueState state = StateIn(dir);
    fs::create_directory(state.cfg_dir);
    state.current_config.clear();

    SaveLastConfig(state.last_config_path, state.current_config);
    EXPECT_FALSE(fs::exists(state.last_config_path));

    WriteBytes(state.last_config_path, "kept\nas it was");
    SaveLastConfig(state.last_config_path, state.current_config);
    EXPECT_EQ(ReadBytes(state.last_config_path), "kept\nas it was");
}

TEST(SaveLastConfigTest, UnwritableFileIsSkippedQuietly) {
    TempDir dir;
    CatalogueState state = StateIn(dir);
    state.current_config = dir.Wide("a.json");
    EXPECT_NO_THROW(SaveLastConfig(state.last_config_path, state.current_config));  // no CFG folder
    EXPECT_FALSE(fs::exists(state.cfg_dir));

    fs::create_directories(fs::path(state.last_config_path));  // a folder under the file's name
    EXPECT_NO_THROW(SaveLastConfig(state.last_config_path, state.current_config));
    EXPECT_TRUE(fs::is_directory(state.last_config_path));
}

// A wide string that is not valid text (a lone surrogate) has no stored form:
// the file keeps what it held rather than a corrupted path.
TEST(SaveLastConfigTest, PathWithoutAnyTextFormIsNotWritten) {
    TempDir dir;
    CatalogueState state = StateIn(dir);
    fs::create_directory(state.cfg_dir);
    WriteBytes(state.last_config_path, "previous");
    state.current_config = dir.Wide("CFG") + L"/broken\xD800.json";

    SaveLastConfig(state.last_config_path, state.current_config);

    EXPECT_EQ(ReadBytes(state.last_config_path), "previous");
}

// Save then load: what was selected comes back, whether it is stored in the
// code page or in the marked UTF-8 form.
TEST(SaveLastConfigTest, NonAsciiPathsRoundTrip) {
    const std::vector<std::wstring> names = {
        L"caf\u00e9.json",                             // Latin-1 accents
        L"\u043c\u0443\u0437\u044b\u043a\u0430.json",  // Cyrillic
        L"\u97f3\u697d.json",                          // CJK
        L"keys \U0001F3B9.json",                       // beyond the basic plane (a surrogate pair on Windows)
        L"\u00ef\u00bb\u00bfmark.json",                // whose code-page form could look like the mark
    };
    for (const std::wstring& name : names) {
        TempDir dir;
        CatalogueState state = StateIn(dir);
        fs::create_directory(state.cfg_dir);
        const std::wstring selected = Join(state.cfg_dir, name);
        WriteBytes(Fs(selected), "{}");
        state.current_config = selected;
        SaveLastConfig(state.last_config_path, state.current_config);

        state.current_config = kUnchanged;
        TakeRemembered(state);
        EXPECT_EQ(state.current_config, selected) << Printable(name);
    }
}

// A relative path is taken relative to the working folder; one that starts
// with U+FEFF must not lose it to the mark.
TEST(SaveLastConfigTest, RelativePathStartingWithByteOrderMarkCharacterRoundTrips) {
    TempDir dir;
    CatalogueState state = StateIn(dir);
    fs::create_directory(state.cfg_dir);
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    const std::wstring selected = L"\uFEFFrelative.json";
    WriteBytes(Fs(selected), "{}");
    state.current_config = selected;
    SaveLastConfig(state.last_config_path, state.current_config);

    state.current_config = kUnchanged;
    TakeRemembered(state);
    fs::current_path(previous);
    EXPECT_EQ(state.current_config, selected);
}

#ifndef _WIN32
// A pipe under the file's name is never opened: a read or write on it could
// block the thread that also runs the input hooks. The test holds both ends
// open, so a faulty open would not block but would show in the pipe.
class LastConfigPipeTest : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(state_.cfg_dir);
        ASSERT_EQ(mkfifo(fs::path(state_.last_config_path).c_str(), 0600), 0);
        pipe_ = open(fs::path(state_.last_config_path).c_str(), O_RDWR | O_NONBLOCK);
        ASSERT_GE(pipe_, 0);
    }
    void TearDown() override { close(pipe_); }

    TempDir dir_;
    CatalogueState state_ = StateIn(dir_);
    int pipe_ = -1;
};

TEST_F(LastConfigPipeTest, LoadDoesNotReadFromAPipe) {
    const std::string line = dir_.path().string() + "\n";
    ASSERT_EQ(write(pipe_, line.data(), line.size()), static_cast<ssize_t>(line.size()));

    TakeRemembered(state_);

    EXPECT_EQ(state_.current_config, kUnchanged);
}

TEST_F(LastConfigPipeTest, SaveDoesNotWriteIntoAPipe) {
    state_.current_config = dir_.Wide("a.json");

    SaveLastConfig(state_.last_config_path, state_.current_config);

    char byte;
    EXPECT_EQ(read(pipe_, &byte, 1), -1);  // nothing arrived: the read would block
}
#endif

}  // namespace
