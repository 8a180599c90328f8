#include "config/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "config/utf8.h"
#include "config/wide_path.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

const std::wstring kUnchanged = L"unchanged by the call";

// A name of one path component longer than any file system allows: checking
// it fails with an error that is not "not found" natively.
const std::wstring kOverlongName(400, L'n');

// A state whose CFG folder is `cfg` inside the temporary folder.
CoreState StateIn(const TempDir& dir, const std::wstring& cfg = L"CFG") {
    CoreState state;
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
    {L"a.json", false, true},        {L"b.JSON", false, false},    {L"c.Json", false, false},
    {L"d.json.bak", false, false},   {L".json", false, false},     {L"x..json", false, true},
    {L"..json", false, true},        {L".hidden.json", false, true}, {L"x.json", true, true},
    {L"json", false, false},         {L"e.jsonx", false, false},   {L"f_json", false, false},
    {L"folder", true, false},        {L"g.txt", false, false},     {L"\u00e9t\u00e9.json", false, true},
};

TEST(ScanConfigsTest, ListsExactlyTheEntriesWithTheJsonExtension) {
    TempDir dir;
    CoreState state = StateIn(dir);
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

    ScanConfigs(state);

    EXPECT_EQ(Sorted(state.config_list), Sorted(expected));
}

TEST(ScanConfigsTest, CreatesAMissingFolderAndListsNothing) {
    TempDir dir;
    CoreState state = StateIn(dir);
    state.config_list = {L"stale entry"};

    ScanConfigs(state);

    EXPECT_TRUE(fs::is_directory(state.cfg_dir));
    EXPECT_TRUE(state.config_list.empty());
}

TEST(ScanConfigsTest, UnusableFolderGivesAnEmptyListAndThrowsNothing) {
    TempDir dir;
    WriteBytes(dir.path() / "CFG", "a plain file named like the folder");
    const std::vector<std::wstring> unusable = {
        L"CFG",                                     // a file in place of the folder
        (fs::path(L"CFG") / L"inner").wstring(),    // a folder that cannot be made
        (fs::path(L"missing") / L"CFG").wstring(),  // its parent is missing
        kOverlongName,                              // the check itself fails
    };
    for (const std::wstring& cfg : unusable) {
        CoreState state = StateIn(dir, cfg);
        state.config_list = {L"stale entry"};
        EXPECT_NO_THROW(ScanConfigs(state)) << fs::path(cfg);
        EXPECT_TRUE(state.config_list.empty()) << fs::path(cfg);
    }
    EXPECT_EQ(ReadBytes(dir.path() / "CFG"), "a plain file named like the folder");
}

// ---- LoadLastConfig ----

// Files in and beside the CFG folder that a remembered path can name.
struct Files {
    TempDir dir;
    TempDir elsewhere;
    CoreState state = StateIn(dir);
    std::string in_folder;      // a mapping file in CFG
    std::string outside;        // a file outside CFG
    std::string trailing_space;  // a file whose name ends in a space
    std::string vanished;       // a file that was there and is gone
    std::string folder;         // a folder

    Files() {
        fs::create_directory(state.cfg_dir);
        in_folder = Make(dir.path() / "CFG" / "a.json");
        outside = Make(elsewhere.path() / "b.json");
        trailing_space = Make(dir.path() / "CFG" / "c.json ");
        vanished = Make(dir.path() / "CFG" / "d.json");
        fs::remove(vanished);
        folder = (dir.path() / "CFG").string();
    }
    static std::string Make(const fs::path& file) {
        WriteBytes(file, "{}");
        return file.string();
    }
};

struct RememberedCase {
    std::string name;
    std::string (*content)(const Files&);
    std::string (*expected)(const Files&);  // null: current_config unchanged
};

void PrintTo(const RememberedCase& remembered, std::ostream* out) { *out << remembered.name; }

class LoadLastConfigTest : public testing::TestWithParam<RememberedCase> {};

TEST_P(LoadLastConfigTest, TakesTheFirstLineWhenItNamesSomethingThatExists) {
    Files files;
    WriteBytes(files.state.last_config_path, GetParam().content(files));

    LoadLastConfig(files.state);

    const std::wstring expected =
        GetParam().expected ? fs::path(GetParam().expected(files)).wstring() : kUnchanged;
    EXPECT_EQ(files.state.current_config, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Remembered, LoadLastConfigTest,
    testing::Values(
        RememberedCase{"PathInTheFolder", [](const Files& f) { return f.in_folder; },
                       [](const Files& f) { return f.in_folder; }},
        RememberedCase{"PathOutsideTheFolder", [](const Files& f) { return f.outside; },
                       [](const Files& f) { return f.outside; }},
        RememberedCase{"FolderCountsAsExisting", [](const Files& f) { return f.folder; },
                       [](const Files& f) { return f.folder; }},
        RememberedCase{"SecondLineIgnored", [](const Files& f) { return f.in_folder + "\n" + f.outside; },
                       [](const Files& f) { return f.in_folder; }},
        RememberedCase{"TrailingSpaceIsPartOfThePath", [](const Files& f) { return f.trailing_space; },
                       [](const Files& f) { return f.trailing_space; }},
        RememberedCase{"VanishedPathIgnored", [](const Files& f) { return f.vanished; }, nullptr},
        RememberedCase{"EmptyFile", [](const Files&) { return std::string(); }, nullptr},
        RememberedCase{"EmptyFirstLine", [](const Files& f) { return "\n" + f.in_folder; }, nullptr},
        RememberedCase{"MarkedUtf8", [](const Files& f) { return "\xEF\xBB\xBF" + f.in_folder; },
                       [](const Files& f) { return f.in_folder; }},
        RememberedCase{"MarkedButNotUtf8", [](const Files& f) { return "\xEF\xBB\xBF" + f.in_folder + "\xFF"; },
                       nullptr},
        RememberedCase{"OnlyTheMark", [](const Files&) { return std::string("\xEF\xBB\xBF"); }, nullptr}),
    [](const testing::TestParamInfo<RememberedCase>& info) { return info.param.name; });

TEST(LoadLastConfigFailureTest, MissingOrUnreadableFileChangesNothing) {
    TempDir dir;
    CoreState state = StateIn(dir);
    LoadLastConfig(state);  // no CFG folder at all
    EXPECT_EQ(state.current_config, kUnchanged);

    fs::create_directories(fs::path(state.last_config_path));  // a folder under the file's name
    LoadLastConfig(state);
    EXPECT_EQ(state.current_config, kUnchanged);
}

TEST(LoadLastConfigFailureTest, FailingExistenceCheckChangesNothing) {
    TempDir dir;
    CoreState state = StateIn(dir);
    fs::create_directory(state.cfg_dir);
    WriteBytes(state.last_config_path, (dir.path() / kOverlongName).string());
    EXPECT_NO_THROW(LoadLastConfig(state));
    EXPECT_EQ(state.current_config, kUnchanged);
}

// ---- SaveLastConfig ----

TEST(SaveLastConfigTest, WritesThePathAloneWithoutLineEnd) {
    TempDir dir;
    CoreState state = StateIn(dir);
    fs::create_directory(state.cfg_dir);
    WriteBytes(state.last_config_path, "an older and much longer remembered path than the new one\n");
    state.current_config = dir.Wide("CFG/b.json");

    SaveLastConfig(state);

    EXPECT_EQ(ReadBytes(state.last_config_path), fs::path(state.current_config).string());
}

TEST(SaveLastConfigTest, EmptySelectionLeavesTheFileAsItWas) {
    TempDir dir;
    CoreState state = StateIn(dir);
    fs::create_directory(state.cfg_dir);
    state.current_config.clear();

    SaveLastConfig(state);
    EXPECT_FALSE(fs::exists(state.last_config_path));

    WriteBytes(state.last_config_path, "kept\nas it was");
    SaveLastConfig(state);
    EXPECT_EQ(ReadBytes(state.last_config_path), "kept\nas it was");
}

TEST(SaveLastConfigTest, UnwritableFileIsSkippedQuietly) {
    TempDir dir;
    CoreState state = StateIn(dir);
    state.current_config = dir.Wide("a.json");
    EXPECT_NO_THROW(SaveLastConfig(state));  // no CFG folder
    EXPECT_FALSE(fs::exists(state.cfg_dir));

    fs::create_directories(fs::path(state.last_config_path));  // a folder under the file's name
    EXPECT_NO_THROW(SaveLastConfig(state));
    EXPECT_TRUE(fs::is_directory(state.last_config_path));
}

// A wide string that is not valid text (a lone surrogate) has no stored form:
// the file keeps what it held rather than a corrupted path.
TEST(SaveLastConfigTest, PathWithoutAnyTextFormIsNotWritten) {
    TempDir dir;
    CoreState state = StateIn(dir);
    fs::create_directory(state.cfg_dir);
    WriteBytes(state.last_config_path, "previous");
    state.current_config = dir.Wide("CFG") + L"/broken\xD800.json";

    SaveLastConfig(state);

    EXPECT_EQ(ReadBytes(state.last_config_path), "previous");
}

// Save then load: what was selected comes back, whether it is stored in the
// code page or in the marked UTF-8 form.
TEST(SaveLastConfigTest, NonAsciiPathsRoundTrip) {
    const std::vector<std::wstring> names = {
        L"caf\u00e9.json",              // Latin-1 accents
        L"\u043c\u0443\u0437\u044b\u043a\u0430.json",  // Cyrillic
        L"\u97f3\u697d.json",           // CJK
        L"keys \U0001F3B9.json",        // beyond the basic plane (a surrogate pair on Windows)
        L"\u00ef\u00bb\u00bfmark.json",  // whose code-page form could look like the mark
    };
    for (const std::wstring& name : names) {
        TempDir dir;
        CoreState state = StateIn(dir);
        fs::create_directory(state.cfg_dir);
        const std::wstring selected = Join(state.cfg_dir, name);
        WriteBytes(Fs(selected), "{}");
        state.current_config = selected;
        SaveLastConfig(state);

        state.current_config = kUnchanged;
        LoadLastConfig(state);
        EXPECT_EQ(state.current_config, selected) << Printable(name);
    }
}

// A relative path is taken relative to the working folder; one that starts
// with U+FEFF must not lose it to the mark.
TEST(SaveLastConfigTest, RelativePathStartingWithByteOrderMarkCharacterRoundTrips) {
    TempDir dir;
    CoreState state = StateIn(dir);
    fs::create_directory(state.cfg_dir);
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    const std::wstring selected = L"\uFEFFrelative.json";
    WriteBytes(Fs(selected), "{}");
    state.current_config = selected;
    SaveLastConfig(state);

    state.current_config = kUnchanged;
    LoadLastConfig(state);
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
    CoreState state_ = StateIn(dir_);
    int pipe_ = -1;
};

TEST_F(LastConfigPipeTest, LoadDoesNotReadFromAPipe) {
    const std::string line = dir_.path().string() + "\n";
    ASSERT_EQ(write(pipe_, line.data(), line.size()), static_cast<ssize_t>(line.size()));

    LoadLastConfig(state_);

    EXPECT_EQ(state_.current_config, kUnchanged);
}

TEST_F(LastConfigPipeTest, SaveDoesNotWriteIntoAPipe) {
    state_.current_config = dir_.Wide("a.json");

    SaveLastConfig(state_);

    char byte;
    EXPECT_EQ(read(pipe_, &byte, 1), -1);  // nothing arrived: the read would block
}
#endif

}  // namespace
