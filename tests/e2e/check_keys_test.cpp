// quillfret-check --keys, run as a user would while writing a mapping file:
// every key and button pressed is printed with its name and what the file
// does, until Esc.

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <optional>
#include <regex>
#include <string>

#include "quillfret_run.h"
#include "support/input.h"
#include "support/process.h"
#include "support/test_files.h"
#include "support/wait.h"

namespace {

namespace fs = std::filesystem;

class CheckKeysTest : public DesktopTest {};

TEST_F(CheckKeysTest, PrintsEachKeyWithItsNameAndWhatTheFileDoesUntilEsc) {
    TempDir dir;
    WriteBytes(dir.path() / "KeyMapping.cfg", "A=65\nMouseLeft=253\nEsc=27\n");
    WriteBytes(dir.path() / "m.json", R"({"mappings": [{"key": "A", "notes": [60, 64]}]})");
    const fs::path output = dir.path() / "keys.txt";
    const ChildProcess check = LaunchProcess({OwnExeFolder() + L"\\quillfret-check.exe",
                                              {L"--keys", (dir.path() / "m.json").wstring()},
                                              L"",
                                              {},
                                              output.wstring()});
    ASSERT_TRUE(check.started());
    ASSERT_TRUE(WaitUntil([&] { return ReadBytes(output).find("Esc ends.") != std::string::npos; }, kStartTimeout));

    PressKey('A');
    ButtonDown(MouseButton::Left);
    ButtonUp(MouseButton::Left);
    PressKey('Z');
    KeyDown(VK_ESCAPE);
    EXPECT_EQ(WaitForExit(check, kEventTimeout), 0u);
    KeyUp(VK_ESCAPE);
    std::string printed = ReadBytes(output);
    std::erase(printed, '\r');  // a console program's text-mode lines end in CR LF
    // Each press names the program in front, whichever the desktop has.
    const std::regex front(R"(  \(in front: [^)\n]*\)\n)");
    EXPECT_EQ(std::distance(std::sregex_iterator(printed.begin(), printed.end(), front), std::sregex_iterator()), 4)
        << printed;
    printed = std::regex_replace(printed, front, "\n");
    EXPECT_NE(printed.find("File: " + (dir.path() / "m.json").string() + " (1 mapping)\n"), std::string::npos)
        << printed;
    EXPECT_NE(printed.find("press   A (65): note-on 60 (C4) velocity 100, note-on 64 (E4) velocity 100\n"
                           "release A (65): note-off 60 (C4), note-off 64 (E4)\n"
                           "press   MouseLeft (253): nothing\n"
                           "release MouseLeft (253): nothing\n"
                           "press   code 90: nothing\n"
                           "release code 90: nothing\n"
                           "press   Esc (27): nothing\n"),
              std::string::npos)
        << printed;
}

// Takes what the pipe holds now, without waiting for more.
void TakeAvailable(HANDLE pipe, std::string& taken) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0) return;
    std::string chunk(available, '\0');
    DWORD read = 0;
    if (ReadFile(pipe, chunk.data(), available, &read, nullptr)) taken.append(chunk, 0, read);
}

// The output piped into a reader that stopped reading, as a paused pager
// does: the watch keeps the desktop's input flowing, and Esc ends it
// although its lines can no longer be written.
TEST_F(CheckKeysTest, EscEndsItWhileItsOutputIsBlocked) {
    TempDir dir;
    WriteBytes(dir.path() / "KeyMapping.cfg", "A=65\nEsc=27\n");
    std::string notes = "60";
    for (int note = 1; note < 300; ++note) notes += ", 60";
    WriteBytes(dir.path() / "m.json", R"({"mappings": [{"key": "A", "notes": [)" + notes + "]}]}");
    HANDLE pipe = nullptr;
    HANDLE pipe_input = nullptr;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    ASSERT_TRUE(CreatePipe(&pipe, &pipe_input, &inheritable, 4096));
    LaunchOptions options{OwnExeFolder() + L"\\quillfret-check.exe", {L"--keys", (dir.path() / "m.json").wstring()}};
    options.output = pipe_input;
    const ChildProcess check = LaunchProcess(options);
    CloseHandle(pipe_input);
    ASSERT_TRUE(check.started());
    std::string printed;
    ASSERT_TRUE(WaitUntil(
        [&] {
            TakeAvailable(pipe, printed);
            return printed.find("Esc ends.") != std::string::npos;
        },
        kStartTimeout));

    PressKey('A');  // its press alone prints more than the pipe holds, which is read no more
    KeyDown(VK_ESCAPE);
    const std::optional<DWORD> exit_code = WaitForExit(check, kEventTimeout);
    KeyUp(VK_ESCAPE);
    if (!exit_code) EndProcess(check);
    EXPECT_EQ(exit_code, 0u);
    TakeAvailable(pipe, printed);
    EXPECT_NE(printed.find("press   A (65): note-on 60"), std::string::npos);
    EXPECT_EQ(printed.find("Esc (27)"), std::string::npos) << "the output was not blocked when it ended";
    CloseHandle(pipe);
}

}  // namespace
