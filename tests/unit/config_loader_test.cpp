// When LoadConfig reads the current mapping file, and what it keeps.
#include "config/config_loader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/load_retry.h"
#include "config/wide_path.h"
#include "engine/mapping_engine.h"
#include "mapping_text.h"
#include "support/test_files.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kKey65 = R"({"mappings": [{"key": "65"}]})";
const std::string kKey66 = R"({"mappings": [{"key": "66"}]})";
const std::string kBroken = R"({"mappings": [{"key": "66"})";

using Sent = std::vector<uint32_t>;

// A mapping folder with files whose last-write times the test sets itself.
class ReloadTest : public ::testing::Test {
protected:
    void Write(const fs::path& name, const std::string& content, fs::file_time_type time) {
        WriteBytes(dir_.path() / name, content);
        fs::last_write_time(dir_.path() / name, time);
    }
    void Select(const fs::path& name) { state_.current_config = dir_.Wide(name); }
    std::string Table() const { return TableText(state_.mappings); }
    // Plays a trigger transition on the state, as the program does; no modifier is held.
    void Play(int32_t code, bool down) {
        HandleTrigger(
            state_.mappings, state_.player, code, down, [](int32_t) { return false; }, Recorder());
    }
    MidiSend Recorder() {
        return [this](uint32_t message) { sent_.push_back(message); };
    }

    TempDir dir_;
    CoreState state_;
    Sent sent_;
    const fs::file_time_type t1_ = fs::file_time_type::clock::now() - 1h;
    const fs::file_time_type t2_ = t1_ + 10s;
    const fs::file_time_type t3_ = t1_ + 20s;
};

TEST_F(ReloadTest, NoCurrentFileChangesNothing) {
    state_.mappings[65].key = 65;
    LoadConfig(state_);
    EXPECT_EQ(Table(), "key=65");
    EXPECT_EQ(state_.midi_device, L"Fenwickloop");
    EXPECT_EQ(state_.loaded_write_time, 0);
}

TEST_F(ReloadTest, ReadsAgainOnlyWhenTheTimeChanges) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    LoadConfig(state_);
    ASSERT_EQ(Table(), "key=65");
    const int64_t first_time = state_.loaded_write_time;
    EXPECT_NE(first_time, 0);

    Write("m.json", kKey66, t1_);  // new content, same time: not read
    LoadConfig(state_);
    EXPECT_EQ(Table(), "key=65");

    fs::last_write_time(dir_.path() / "m.json", t2_);
    LoadConfig(state_);
    EXPECT_EQ(Table(), "key=66");
    EXPECT_EQ(state_.loaded_write_time - first_time, 10 * 10'000'000) << "100-nanosecond ticks";
}

TEST_F(ReloadTest, AnotherFileWithTheSameTimeIsRead) {
    Write("one.json", kKey65, t1_);
    Write("two.json", kKey66, t1_);
    Select("one.json");
    LoadConfig(state_);
    Select("two.json");
    LoadConfig(state_);
    EXPECT_EQ(Table(), "key=66");
    EXPECT_EQ(state_.loaded_path, dir_.Wide("two.json"));
    Select("one.json");
    LoadConfig(state_);
    EXPECT_EQ(Table(), "key=65");
}

TEST_F(ReloadTest, AReloadForgetsWhichTogglesAreOnAndSendsNothing) {
    Write("m.json", R"({"mappings": [{"key": "65", "note": 60, "mode": "toggle"}]})", t1_);
    Select("m.json");
    LoadConfig(state_);
    Play(65, true);
    fs::last_write_time(dir_.path() / "m.json", t2_);
    LoadConfig(state_, Recorder());
    EXPECT_EQ(sent_, (Sent{0x3C90 | 100 << 16})) << "the reload sent nothing";
    Play(65, true);  // forgotten: switched on again
    EXPECT_EQ(sent_, (Sent{0x3C90 | 100 << 16, 0x3C90 | 100 << 16}));
}

// A file's transpose keys move its own notes: another file starts at 0,
// while a reload of the same file keeps the transpose.
TEST_F(ReloadTest, TheTransposeStartsAtZeroInAnotherFile) {
    const std::string up_and_a = R"({"mappings": [{"key": "38", "transpose": 12}, {"key": "65", "note": 60}]})";
    Write("one.json", up_and_a, t1_);
    Write("two.json", up_and_a, t1_);
    Select("one.json");
    LoadConfig(state_);
    Play(38, true);
    fs::last_write_time(dir_.path() / "one.json", t2_);
    LoadConfig(state_);
    EXPECT_EQ(state_.player.transpose, 12) << "a reload keeps it";
    Select("two.json");
    LoadConfig(state_);
    EXPECT_EQ(state_.player.transpose, 0);
}

// With "release_on_change", what is on is switched off before its file goes
// out of force (here at a switch; the end-to-end tests add a save and Quit),
// and a held key's later release then sends nothing more.
TEST_F(ReloadTest, ReleaseOnChangeSwitchesOffWhatIsOnBeforeTheFileGoes) {
    Write("m.json", R"({"release_on_change": true, "mappings": [
        {"key": "65", "note": 60}, {"key": "66", "note": 62, "mode": "toggle"}]})",
          t1_);
    Write("other.json", kKey65, t1_);
    Select("m.json");
    LoadConfig(state_);
    Play(65, true);
    Play(66, true);
    sent_.clear();
    Select("other.json");
    LoadConfig(state_, Recorder());
    Play(65, false);
    EXPECT_EQ(sent_, (Sent{0x3C80, 0x3E80}));
}

TEST_F(ReloadTest, DeletedFileKeepsItsMappingsUntilRestored) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    LoadConfig(state_);
    const int64_t loaded_time = state_.loaded_write_time;
    fs::remove(dir_.path() / "m.json");
    LoadConfig(state_);
    EXPECT_EQ(Table(), "key=65");
    EXPECT_EQ(state_.loaded_write_time, loaded_time);

    Write("m.json", kKey66, t2_);
    LoadConfig(state_);
    EXPECT_EQ(Table(), "key=66");
}

TEST_F(ReloadTest, BrokenFileEmptiesTheTableAndIsNotReadAgainUntilItsTimeChanges) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    LoadConfig(state_);
    Write("m.json", kBroken, t2_);
    EXPECT_EQ(LoadConfig(state_).outcome, LoadOutcome::Read) << "a malformed file is not tried again";
    EXPECT_EQ(Table(), "");

    Write("m.json", kKey66, t2_);
    LoadConfig(state_);
    EXPECT_EQ(Table(), "") << "same time: the mended file waits for its next save";
    fs::last_write_time(dir_.path() / "m.json", t3_);
    LoadConfig(state_);
    EXPECT_EQ(Table(), "key=66");
}

TEST_F(ReloadTest, FolderEmptiesTheTableAndCountsAsRead) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    LoadConfig(state_);
    fs::create_directory(dir_.path() / "folder.json");
    Select("folder.json");
    LoadConfig(state_);
    EXPECT_EQ(Table(), "");
    EXPECT_EQ(state_.loaded_path, dir_.Wide("folder.json"));
}

TEST_F(ReloadTest, FileAboveOneMebibyteCountsAsMalformed) {
    // Valid JSON padded with NUL bytes, which the parser never reaches.
    Write("exact.json", kKey65, t1_);
    fs::resize_file(dir_.path() / "exact.json", 1'048'576);
    Write("over.json", kKey66, t1_);
    fs::resize_file(dir_.path() / "over.json", 1'048'577);
    Select("exact.json");
    LoadConfig(state_);
    EXPECT_EQ(Table(), "key=65");
    Select("over.json");
    LoadConfig(state_);
    EXPECT_EQ(Table(), "");
    EXPECT_EQ(state_.loaded_path, dir_.Wide("over.json"));
}

TEST_F(ReloadTest, FailingQueryChangesNothing) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    LoadConfig(state_);
    const int64_t loaded_time = state_.loaded_write_time;
    // A name longer than any file system allows: the query fails without
    // telling that the file is absent.
    state_.current_config = dir_.Wide(std::string(300, 'n') + ".json");
    LoadConfig(state_);
    EXPECT_EQ(Table(), "key=65");
    EXPECT_EQ(state_.loaded_write_time, loaded_time);
    EXPECT_EQ(state_.loaded_path, dir_.Wide("m.json"));
}

// A write-time query under the test's control, as the Windows program passes
// its own: the file's time in ticks, or a failed query.
std::optional<int64_t> fake_ticks;
std::optional<int64_t> FakeWriteTime(const fs::path&) { return fake_ticks; }

TEST_F(ReloadTest, TimesAreComparedAtTheQuerysFullResolution) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    fake_ticks = 7'000'000'000;
    LoadConfig(state_, {}, FakeWriteTime);
    Write("m.json", kKey66, t1_);
    fake_ticks = 7'000'000'001;  // a second save 100 ns later
    LoadConfig(state_, {}, FakeWriteTime);
    EXPECT_EQ(Table(), "key=66");
    EXPECT_EQ(state_.loaded_write_time, 7'000'000'001);
}

TEST_F(ReloadTest, QueryFailingAfterTheFileExistedChangesNothing) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    LoadConfig(state_);
    const int64_t loaded_time = state_.loaded_write_time;
    Write("m.json", kKey66, t2_);
    fake_ticks.reset();  // the file vanished between the queries, or the system refused
    LoadConfig(state_, {}, FakeWriteTime);
    EXPECT_EQ(Table(), "key=65");
    EXPECT_EQ(state_.loaded_write_time, loaded_time);
}

// A query whose answer moves on after its first call: the file was saved
// again while it was being read.
int time_queries = 0;
std::optional<int64_t> SavedDuringTheFirstRead(const fs::path&) { return ++time_queries < 2 ? 7'000 : 7'001; }

TEST_F(ReloadTest, AFileSavedWhileItWasReadIsReadAgain) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    time_queries = 0;
    EXPECT_EQ(LoadConfig(state_, {}, SavedDuringTheFirstRead).outcome, LoadOutcome::ReadAgain);
    EXPECT_EQ(LoadConfig(state_, {}, SavedDuringTheFirstRead).outcome, LoadOutcome::Read);
    EXPECT_EQ(state_.loaded_write_time, 7'001);
    EXPECT_EQ(LoadConfig(state_, {}, SavedDuringTheFirstRead).outcome, LoadOutcome::Unchanged);
}

TEST(LoadRetryTest, EveryTenthOfASecondForAtMostTenSecondsFromTheFirst) {
    LoadRetry retry;
    NoteLoadOutcome(retry, LoadOutcome::ReadAgain, 5'000);
    EXPECT_FALSE(LoadRetryDue(retry, 5'099));
    EXPECT_TRUE(LoadRetryDue(retry, 5'100));
    for (int64_t now = 5'100; now < 15'000; now += 100) NoteLoadOutcome(retry, LoadOutcome::ReadAgain, now);
    EXPECT_EQ(retry.due_at, 15'000);
    NoteLoadOutcome(retry, LoadOutcome::ReadAgain, 15'000);
    EXPECT_FALSE(retry.due_at) << "ten seconds after the first: left for the next change in the folder";

    NoteLoadOutcome(retry, LoadOutcome::ReadAgain, 20'000);
    EXPECT_EQ(retry.due_at, 20'100) << "a later load begins a new run";
    NoteLoadOutcome(retry, LoadOutcome::Read, 20'100);
    EXPECT_FALSE(LoadRetryDue(retry, 99'999)) << "a load that read the file ends the run";
}

TEST_F(ReloadTest, NonAsciiPath) {
    const fs::path name(u8"Kl\u00e4nge \u97f3.json");
    Write(name, kKey66, t1_);
    state_.current_config = WideFromPath(dir_.path() / name).value();
    LoadConfig(state_);
    EXPECT_EQ(Table(), "key=66");
}

#ifndef _WIN32
TEST_F(ReloadTest, PipeIsNeverOpened) {
    // Opening a pipe with no writer would block for ever.
    ASSERT_EQ(mkfifo((dir_.path() / "pipe.json").c_str(), 0600), 0);
    Write("m.json", kKey65, t1_);
    Select("m.json");
    LoadConfig(state_);
    Select("pipe.json");
    LoadConfig(state_);
    EXPECT_EQ(Table(), "");
}
#endif

class DeviceTest : public ReloadTest {
protected:
    std::wstring DeviceAfter(const std::string& content) {
        state_.midi_device = L"Before";
        Write("m.json", content, t1_);
        Select("m.json");
        state_.loaded_write_time = 0;
        LoadConfig(state_);
        return state_.midi_device;
    }
};

TEST_F(DeviceTest, TakenFromTheFile) {
    EXPECT_EQ(DeviceAfter(R"({"midi_device": "Loop Port 2"})"), L"Loop Port 2");
    EXPECT_EQ(DeviceAfter(R"({"midi_device": ""})"), L"");
}

TEST_F(DeviceTest, KeptWhenTheFileHasNone) {
    EXPECT_EQ(DeviceAfter(kKey65), L"Before");
    EXPECT_EQ(DeviceAfter("null"), L"Before");
}

TEST_F(DeviceTest, NonAsciiBecomesWideCharacters) {
    EXPECT_EQ(DeviceAfter("{\"midi_device\": \"Caf\xC3\xA9 \xE9\x9F\xB3 \xF0\x9F\x8E\xB9\"}"),
              L"Caf\u00e9 \u97f3 \U0001F3B9");
    EXPECT_EQ(DeviceAfter(R"({"midi_device": "\u00e9\ud83c\udfb9"})"), L"\u00e9\U0001F3B9");
}

TEST_F(DeviceTest, StaysWhenALaterEntryFailsTheFile) {
    EXPECT_EQ(DeviceAfter(R"({"mappings": [{"key": "65", "channel": "two"}], "midi_device": "New"})"), L"New");
    EXPECT_EQ(Table(), "");
}

TEST_F(DeviceTest, UnchangedWhenTheFileFailsFirst) {
    EXPECT_EQ(DeviceAfter(R"({"midi_device": "New", "mappings": [})"), L"Before");
    EXPECT_EQ(DeviceAfter(R"({"midi_device": 7})"), L"Before");
    EXPECT_EQ(DeviceAfter(R"([{"midi_device": "New"}])"), L"Before");
}

}  // namespace
