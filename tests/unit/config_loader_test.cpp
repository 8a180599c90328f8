// When LoadConfig reads the current mapping file and what it takes from it;
// when a read is made again.
#include "config/config_loader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/read_schedule.h"
#include "config/utf8.h"
#include "config/wide_path.h"
#include "engine/engine.h"
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

// A mapping folder with files whose last-write times the test sets itself.
class ReloadTest : public ::testing::Test {
protected:
    void Write(const fs::path& name, const std::string& content, fs::file_time_type time) {
        WriteBytes(dir_.path() / name, content);
        fs::last_write_time(dir_.path() / name, time);
    }
    void Select(const fs::path& name) { current_ = dir_.Wide(name); }
    std::string Table() const { return TableText(engine_.mappings); }
    // Loads the current file and puts what it read in force, as the program
    // does after a change in the folder; nothing when nothing was read.
    template <typename WriteTime = decltype(&LastWriteTime)>
    std::optional<MappingFileRead> Load(WriteTime write_time = LastWriteTime) {
        const TableSource source = current_ == loaded_.path ? TableSource::SameFile : TableSource::AnotherFile;
        std::optional<MappingFileRead> read = LoadConfig(current_, key_names_, loaded_, write_time);
        if (read) PutInForce(engine_, MappingTable(read->mappings), read->settings, source, [](uint32_t) {});
        return read;
    }

    TempDir dir_;
    std::wstring current_;
    KeyNameTable key_names_;
    LoadedFile loaded_;
    Engine engine_;
    const fs::file_time_type t1_ = fs::file_time_type::clock::now() - 1h;
    const fs::file_time_type t2_ = t1_ + 10s;
    const fs::file_time_type t3_ = t1_ + 20s;
};

TEST_F(ReloadTest, NoCurrentFileChangesNothing) {
    engine_.mappings[65].key = 65;
    EXPECT_FALSE(Load());
    EXPECT_EQ(Table(), "key=65");
    EXPECT_EQ(loaded_.loaded_write_time, 0);
}

TEST_F(ReloadTest, ReadsAgainOnlyWhenTheTimeChanges) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    Load();
    ASSERT_EQ(Table(), "key=65");
    const int64_t first_time = loaded_.loaded_write_time;
    EXPECT_NE(first_time, 0);

    Write("m.json", kKey66, t1_);  // new content, same time: not read
    Load();
    EXPECT_EQ(Table(), "key=65");

    fs::last_write_time(dir_.path() / "m.json", t2_);
    Load();
    EXPECT_EQ(Table(), "key=66");
    EXPECT_EQ(loaded_.loaded_write_time - first_time, 10 * 10'000'000) << "100-nanosecond ticks";
}

TEST_F(ReloadTest, AnotherFileWithTheSameTimeIsRead) {
    Write("one.json", kKey65, t1_);
    Write("two.json", kKey66, t1_);
    Select("one.json");
    Load();
    Select("two.json");
    Load();
    EXPECT_EQ(Table(), "key=66");
    EXPECT_EQ(loaded_.path, dir_.Wide("two.json"));
    Select("one.json");
    Load();
    EXPECT_EQ(Table(), "key=65");
}

TEST_F(ReloadTest, DeletedFileKeepsItsMappingsUntilRestored) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    Load();
    const int64_t loaded_time = loaded_.loaded_write_time;
    fs::remove(dir_.path() / "m.json");
    Load();
    EXPECT_EQ(Table(), "key=65");
    EXPECT_EQ(loaded_.loaded_write_time, loaded_time);

    Write("m.json", kKey66, t2_);
    Load();
    EXPECT_EQ(Table(), "key=66");
}

TEST_F(ReloadTest, BrokenFileEmptiesTheTableAndIsNotReadAgainUntilItsTimeChanges) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    Load();
    Write("m.json", kBroken, t2_);
    EXPECT_EQ(Load()->status, ReadStatus::Whole) << "a malformed file is not tried again";
    EXPECT_EQ(Table(), "");

    Write("m.json", kKey66, t2_);
    Load();
    EXPECT_EQ(Table(), "") << "same time: the mended file waits for its next save";
    fs::last_write_time(dir_.path() / "m.json", t3_);
    Load();
    EXPECT_EQ(Table(), "key=66");
}

TEST_F(ReloadTest, FolderEmptiesTheTableAndCountsAsRead) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    Load();
    fs::create_directory(dir_.path() / "folder.json");
    Select("folder.json");
    Load();
    EXPECT_EQ(Table(), "");
    EXPECT_EQ(loaded_.path, dir_.Wide("folder.json"));
}

TEST_F(ReloadTest, FileAboveOneMebibyteCountsAsMalformed) {
    // Valid JSON padded with NUL bytes, which the parser never reaches.
    Write("exact.json", kKey65, t1_);
    fs::resize_file(dir_.path() / "exact.json", 1'048'576);
    Write("over.json", kKey66, t1_);
    fs::resize_file(dir_.path() / "over.json", 1'048'577);
    Select("exact.json");
    Load();
    EXPECT_EQ(Table(), "key=65");
    Select("over.json");
    Load();
    EXPECT_EQ(Table(), "");
    EXPECT_EQ(loaded_.path, dir_.Wide("over.json"));
}

TEST_F(ReloadTest, FailingQueryChangesNothing) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    Load();
    const int64_t loaded_time = loaded_.loaded_write_time;
    // A name longer than any file system allows: the query fails without
    // telling that the file is absent.
    current_ = dir_.Wide(std::string(300, 'n') + ".json");
    Load();
    EXPECT_EQ(Table(), "key=65");
    EXPECT_EQ(loaded_.loaded_write_time, loaded_time);
    EXPECT_EQ(loaded_.path, dir_.Wide("m.json"));
}

// A write-time query under the test's control, as the Windows program passes
// its own: the file's time in ticks, or a failed query.
std::optional<int64_t> fake_ticks;
std::optional<int64_t> FakeWriteTime(const fs::path&) { return fake_ticks; }

TEST_F(ReloadTest, TimesAreComparedAtTheQuerysFullResolution) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    fake_ticks = 7'000'000'000;
    Load(FakeWriteTime);
    Write("m.json", kKey66, t1_);
    fake_ticks = 7'000'000'001;  // a second save 100 ns later
    Load(FakeWriteTime);
    EXPECT_EQ(Table(), "key=66");
    EXPECT_EQ(loaded_.loaded_write_time, 7'000'000'001);
}

TEST_F(ReloadTest, QueryFailingAfterTheFileExistedChangesNothing) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    Load();
    const int64_t loaded_time = loaded_.loaded_write_time;
    Write("m.json", kKey66, t2_);
    fake_ticks.reset();  // the file vanished between the queries, or the system refused
    Load(FakeWriteTime);
    EXPECT_EQ(Table(), "key=65");
    EXPECT_EQ(loaded_.loaded_write_time, loaded_time);
}

// A query whose answer moves on after its first call: the file was saved
// again while it was being read.
int time_queries = 0;
std::optional<int64_t> SavedDuringTheFirstRead(const fs::path&) { return ++time_queries < 2 ? 7'000 : 7'001; }

TEST_F(ReloadTest, AFileSavedWhileItWasReadIsReadAgain) {
    Write("m.json", kKey65, t1_);
    Select("m.json");
    time_queries = 0;
    EXPECT_EQ(Load(SavedDuringTheFirstRead)->status, ReadStatus::ChangedWhileRead);
    EXPECT_EQ(Load(SavedDuringTheFirstRead)->status, ReadStatus::Whole);
    EXPECT_EQ(loaded_.loaded_write_time, 7'001);
    EXPECT_FALSE(Load(SavedDuringTheFirstRead));
}

const std::wstring kA = L"C:\\CFG\\a.json";
const std::wstring kB = L"C:\\CFG\\b.json";

TEST(ReadScheduleTest, ReadsAgainEveryTenthOfASecondForAtMostTenSecondsFromTheFirst) {
    ReadSchedule schedule;
    EXPECT_FALSE(NoteRead(schedule, kA, ReadStatus::Busy, 5'000));
    EXPECT_EQ(NextDeadline(schedule), 5'100);
    EXPECT_FALSE(TakeDue(schedule.retry_at, 5'099));
    for (int64_t now = 5'100; now < 15'000; now += 100) {
        ASSERT_TRUE(TakeDue(schedule.retry_at, now));
        EXPECT_FALSE(NoteRead(schedule, kA, ReadStatus::ChangedWhileRead, now));
    }
    EXPECT_EQ(schedule.retry_at, 15'000);
    EXPECT_TRUE(NoteRead(schedule, kA, ReadStatus::Busy, 15'000)) << "ten seconds after the first: the retries give up";
    EXPECT_FALSE(schedule.retry_at) << "left for the next change in the folder";

    NoteRead(schedule, kA, ReadStatus::Busy, 20'000);
    EXPECT_EQ(schedule.retry_at, 20'100) << "a later load begins a new run";
    EXPECT_FALSE(NoteRead(schedule, kA, ReadStatus::Whole, 20'100));
    EXPECT_FALSE(NextDeadline(schedule)) << "a load that read the file ends the run";
    NoteRead(schedule, kA, ReadStatus::Busy, 30'000);
    NoteRead(schedule, kA, std::nullopt, 30'100);
    EXPECT_FALSE(schedule.retry_at) << "so does one that found nothing to read";
}

// Another file chosen while the first is retried gets ten seconds of its own.
TEST(ReadScheduleTest, EachFileHasTenSecondsOfItsOwn) {
    ReadSchedule schedule;
    NoteRead(schedule, kA, ReadStatus::Busy, 5'000);
    EXPECT_FALSE(NoteRead(schedule, kA, ReadStatus::Busy, 11'000));
    EXPECT_FALSE(NoteRead(schedule, kB, ReadStatus::Busy, 11'100));
    EXPECT_FALSE(NoteRead(schedule, kB, ReadStatus::Busy, 20'900)) << "b.json has been retried for 9.9 s";
    EXPECT_TRUE(NoteRead(schedule, kB, ReadStatus::Busy, 21'100));
}

TEST_F(ReloadTest, NonAsciiPath) {
    const fs::path name(u8"Kl\u00e4nge \u97f3.json");
    Write(name, kKey66, t1_);
    current_ = WideFromPath(dir_.path() / name).value();
    Load();
    EXPECT_EQ(Table(), "key=66");
}

#ifndef _WIN32
TEST_F(ReloadTest, PipeIsNeverOpened) {
    // Opening a pipe with no writer would block for ever.
    ASSERT_EQ(mkfifo((dir_.path() / "pipe.json").c_str(), 0600), 0);
    Write("m.json", kKey65, t1_);
    Select("m.json");
    Load();
    Select("pipe.json");
    Load();
    EXPECT_EQ(Table(), "");
}
#endif

class DeviceTest : public ReloadTest {
protected:
    // The device the program takes from `content`, read in place of "Before".
    std::wstring DeviceAfter(const std::string& content) {
        Write("m.json", content, t1_);
        Select("m.json");
        loaded_.loaded_write_time = 0;
        const std::optional<std::string> device = Load()->settings.midi_device;
        return device ? WideFromUtf8(*device) : L"Before";
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
