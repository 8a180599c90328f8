// File times and locked files as the Windows program meets them.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/config_loader.h"
#include "config/platform.h"
#include "support/test_files.h"

namespace {

// Sets the last-write time of `file` to exactly `ticks`.
void SetWriteTicks(const std::filesystem::path& file, int64_t ticks) {
    HANDLE handle = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32)};
    EXPECT_TRUE(SetFileTime(handle, nullptr, nullptr, &time));
    CloseHandle(handle);
}

constexpr int64_t kSomeTime = 133'000'000'000'000'000;  // a moment in 2022

TEST(FileTimeWin, TwoSavesWithinOneSecondAreBothRead) {
    TempDir dir;
    const auto file = dir.path() / "current.json";
    LoadedFile loaded;

    WriteBytes(file, R"({"mappings":[{"key":"65","note":60}]})");
    SetWriteTicks(file, kSomeTime);
    ASSERT_EQ(LoadConfig(file.wstring(), {}, loaded)->mappings.count(65), 1u);

    WriteBytes(file, R"({"mappings":[{"key":"66","note":60}]})");
    SetWriteTicks(file, kSomeTime + 1);  // 100 ns later
    const std::optional<MappingFileRead> read = LoadConfig(file.wstring(), {}, loaded);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->mappings.count(65), 0u);
    EXPECT_EQ(read->mappings.count(66), 1u);
}

TEST(FileTimeWin, AnswersForFoldersAndFilesHeldWithoutSharing) {
    TempDir dir;
    const auto file = dir.path() / "held.json";
    WriteBytes(file, "{}");
    SetWriteTicks(file, kSomeTime);
    HANDLE held = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(LastWriteTime(file), kSomeTime);
    EXPECT_TRUE(LastWriteTime(dir.path()).has_value());
    EXPECT_FALSE(LastWriteTime(dir.path() / "absent.json").has_value());
    CloseHandle(held);
}

// A file another program holds without sharing cannot be read: the table
// read is empty, and the read does not count and asks to be made again;
// once released, the file is read with the time it had all along.
TEST(FileTimeWin, FileHeldWithoutSharingIsReadOnceReleased) {
    TempDir dir;
    const auto file = dir.path() / "current.json";
    WriteBytes(file, R"({"mappings":[{"key":"65","note":60}]})");
    SetWriteTicks(file, kSomeTime);
    LoadedFile loaded;
    auto load = [&] { return LoadConfig(file.wstring(), {}, loaded); };

    HANDLE held = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::optional<MappingFileRead> read = load();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->status, ReadStatus::Busy);
    EXPECT_TRUE(read->mappings.empty());
    EXPECT_EQ(load()->status, ReadStatus::Busy) << "still held";
    CloseHandle(held);

    read = load();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->status, ReadStatus::Whole);
    EXPECT_EQ(read->mappings.count(65), 1u);
    EXPECT_FALSE(load());
}

}  // namespace
