// What the user is told about the loads of the current mapping file.
#include "config/load_news.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace {

// The message as one text ("" for none).
std::wstring Told(const std::optional<LoadMessage>& message) {
    return message ? message->file_name + message->about_it : L"";
}

// One save of the current file and the message it gives ("" for none).
struct Save {
    std::string content;
    std::wstring told;
};

TEST(LoadNewsTest, TroubleIsToldOnceAndTheMendAfterIt) {
    const std::vector<Save> saves = {
        {R"({"mappings": [{"key": "A"}]})", L""},
        {R"({"mappings": [{"key": "A"},)",
         L"a.json is not in force:\nsyntax error at line 1, column 28: syntax error while parsing value - unexpected "
         L"end of input; expected '[', '{', or a literal"},
        {R"({"mappings": [{"key": "A", "velocity": "loud"}]})",
         L"a.json is not in force:\nmappings[0].velocity: a string where a number is expected"},
        {R"({"mappings": [{"key": "A"}, {"key": "Kazoo"}]})",
         L"a.json: 1 entry does nothing:\nmappings[1]: \"Kazoo\" is not a key name"},
        // A key text with control characters shows each, a NUL too.
        {R"({"mappings": [{"key": "A"}, {"key": "Ka\u0000zoo\t"}]})",
         L"a.json: 1 entry does nothing:\nmappings[1]: \"Ka\\u0000zoo\\u0009\" is not a key name"},
        {R"({"mappings": [{"key": 65}, {"key": "Kazoo"}, {"key": "B"}]})",
         L"a.json: 2 entries do nothing; the first:\nmappings[0]: \"key\" is 65, not a string (key texts are "
         L"written in quotes): skipped"},
        {R"({"mappings": [{"key": "A"}, {"key": "B"}]})", L"a.json is in force: 2 mappings"},
        {R"({"mappings": [{"key": "B"}]})", L""},
        {R"({"pause_key": "Pasue", "mappings": [{"key": "A"}]})",
         L"a.json: pause_key does nothing:\npause_key: \"Pasue\" is not a key name"},
        {R"({"pause_key": "Pasue", "mappings": [{"key": "Kazoo"}, {"key": "B"}, {"key": "B"}]})",
         L"a.json: pause_key and 1 entry do nothing; the first:\npause_key: \"Pasue\" is not a key name"},
        {R"({"pause_key": "B", "mappings": [{"key": "A"}, {"key": "B"}]})",
         L"a.json: 1 entry does nothing:\nmappings[1]: \"B\" is the pause key, which is never a trigger"},
        {std::string(kMaxMappingFileBytes + 1, ' '), L"a.json is not in force:\nthe file is larger than 1 MiB"},
        {"{}", L"a.json is in force: 0 mappings"},
    };
    TempDir dir;
    const KeyNameTable key_names = {{"A", 65}, {"B", 66}};
    LoadNews news;
    for (const Save& save : saves) {
        WriteBytes(dir.path() / "a.json", save.content);
        const MappingFileRead read = ReadMappingFile(dir.path() / "a.json", key_names);
        EXPECT_EQ(Told(NewsOfLoad(news, L"a.json", read, key_names, false)), save.told) << save.content.substr(0, 60);
    }
}

// A file another program holds is retried quietly, and told about only
// when the retries end without reading it.
TEST(LoadNewsTest, ABusyFileIsToldAboutOnlyWhenTheRetriesEnd) {
    LoadNews news;
    MappingFileRead busy;
    busy.status = ReadStatus::Busy;
    busy.failure.kind = FileFailure::NotReadable;
    EXPECT_FALSE(NewsOfLoad(news, L"a.json", busy, {}, false));
    EXPECT_EQ(Told(NewsOfLoad(news, L"a.json", busy, {}, true)),
              L"a.json is not in force:\nanother program kept it in use for 10 s");
    MappingFileRead changing;
    changing.status = ReadStatus::ChangedWhileRead;
    EXPECT_EQ(Told(NewsOfLoad(news, L"a.json", changing, {}, true)),
              L"a.json is not in force:\nit kept changing while it was read, for 10 s");
}

}  // namespace
