// The loader's diagnosis in words, as the checker prints it and the program's
// balloons say it.
#include "config/load_words.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace {

TEST(LoadWordsTest, SizesInTheLargestWholeUnit) {
    EXPECT_EQ(SizeText(2 * 1024 * 1024), "2 MiB");
    EXPECT_EQ(SizeText(1024 * 1024), "1 MiB");
    EXPECT_EQ(SizeText(1536 * 1024), "1536 KiB");
    EXPECT_EQ(SizeText(1000), "1000 bytes");
    LoadFailure too_large;
    too_large.kind = FileFailure::TooLarge;
    EXPECT_EQ(FailureWords(too_large), "the file is larger than 1 MiB");
}

// The first entry that does nothing is the one named; all of them are counted.
TEST(LoadWordsTest, TheFirstEntryThatDoesNothingAndHowMany) {
    TempDir dir;
    WriteBytes(dir.path() / "m.json",
               R"({"mappings": [{"key": "65"}, {"key": "Kazoo"}, {"note": 1}, {"key": 66}, {"key": "300"}]})");
    for (const ReadDetail detail : {ReadDetail::Diagnosis, ReadDetail::EveryEntry}) {
        const MappingFileRead read = ReadMappingFile(dir.path() / "m.json", {}, detail);
        EXPECT_EQ(read.idle_count, 4u);
        const EntryRead* first = FirstIdle(read);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->label, "mappings[1]");
        EXPECT_EQ(IdleWords(*first, {}), R"("Kazoo" is not a key name (no key names were read from KeyMapping.cfg))");
        EXPECT_EQ(IdleWords(*first, {{"A", 65}}), R"("Kazoo" is not a key name)");
    }
}

TEST(LoadWordsTest, AFileThatFailsHasNoEntriesThatDoNothing) {
    TempDir dir;
    WriteBytes(dir.path() / "m.json", R"({"mappings": [{"key": "Kazoo"}, {"key": "65", "velocity": "loud"}]})");
    const MappingFileRead read = ReadMappingFile(dir.path() / "m.json", {});
    EXPECT_EQ(FailureWords(read.failure), "mappings[1].velocity: a string where a number is expected");
    EXPECT_EQ(read.idle_count, 0u);
    EXPECT_EQ(FirstIdle(read), nullptr);
}

}  // namespace
