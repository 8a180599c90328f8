// Which programs a mapping file's "only_in" names, and which program a
// window in front stands for.
#include "input/program_names.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

struct NameCase {
    std::wstring name;     // as the file writes it
    std::wstring program;  // as the system names the program in front
    bool names;
};

TEST(ProgramNamesTest, AsWindowsComparesFileNamesWithOrWithoutExe) {
    const NameCase cases[] = {
        {L"reaper64.exe", L"reaper64.exe", true},
        {L"Reaper64.EXE", L"REAPER64.exe", true},
        {L"reaper64", L"reaper64.exe", true},
        {L"REAPER64", L"reaper64.Exe", true},
        {L"reaper64.exe", L"reaper64", false},
        {L"reaper", L"reaper64.exe", false},
        {L"reaper64.ex", L"reaper64.exe", false},
        {L"reaper64.exe.exe", L"reaper64.exe", false},
        {L"Ableton Live 12 Suite.exe", L"ableton live 12 suite.exe", true},
        {L"\u00c9cran.exe", L"\u00e9cran.exe", true},                                                  // Latin-1
        {L"\u041c\u0423\u0417\u042b\u041a\u0410", L"\u043c\u0443\u0437\u044b\u043a\u0430.exe", true},  // Cyrillic
        {L"\u03a3\u03a4\u039f.exe", L"\u03c3\u03c4\u03bf.exe", true},                                  // Greek
        {L"stra\u00dfe.exe", L"strasse.exe", false},  // one unit never two
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(NamesProgram({L"other.exe", c.name}, c.program), c.names)
            << std::string(c.name.begin(), c.name.end()) << " / " << std::string(c.program.begin(), c.program.end());
    }
    EXPECT_FALSE(NamesProgram({}, L"reaper64.exe"));
}

// A Store app's window belongs to the frame host; the app is the program of
// a child window another process owns.
TEST(ProgramNamesTest, AStoreAppIsTheProgramInsideItsFrame) {
    int asked = 0;
    auto children = [&](std::vector<std::wstring> programs) {
        return [&asked, programs] {
            ++asked;
            return programs;
        };
    };
    EXPECT_EQ(ProgramInFrontOf(L"reaper64.exe", children({L"x.exe"})), L"reaper64.exe");
    EXPECT_EQ(asked, 0) << "only a frame host's children are looked at";
    EXPECT_EQ(ProgramInFrontOf(L"applicationframehost.EXE", children({L"ApplicationFrameHost.exe", L"Calc.exe"})),
              L"Calc.exe");
    EXPECT_EQ(ProgramInFrontOf(L"ApplicationFrameHost.exe", children({})), std::nullopt) << "no app inside yet";
}

}  // namespace
