// The program's command line: "--wait-for-port SECONDS", every other
// argument ignored.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct CommandLineCase {
    std::string name;
    std::wstring command_line;
    std::optional<int64_t> seconds;
};

void PrintTo(const CommandLineCase& c, std::ostream* out) { *out << c.name; }

class CommandLineTest : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, GivesTheSecondsToWaitForThePort) {
    EXPECT_EQ(PortWaitSeconds(ProgramArguments(GetParam().command_line.c_str())), GetParam().seconds);
}

INSTANTIATE_TEST_SUITE_P(Options, CommandLineTest,
                         testing::Values(CommandLineCase{"None", L"", std::nullopt},
                                         CommandLineCase{"OthersIgnored", L"--quiet C:\\a.json", std::nullopt},
                                         CommandLineCase{"Seconds", L"--wait-for-port 30", 30},
                                         CommandLineCase{"AmongOthers", L"-x --wait-for-port 5 y", 5},
                                         CommandLineCase{"Quoted", L"\"--wait-for-port\" \"7\"", 7},
                                         CommandLineCase{"Zero", L"--wait-for-port 0", 0},
                                         CommandLineCase{"Largest", L"--wait-for-port 2147483647", 2147483647},
                                         // A missing or malformed number of seconds means the default.
                                         CommandLineCase{"Missing", L"--wait-for-port", 60},
                                         CommandLineCase{"NotANumber", L"--wait-for-port soon", 60},
                                         CommandLineCase{"Negative", L"--wait-for-port -5", 60},
                                         CommandLineCase{"Fraction", L"--wait-for-port 1.5", 60},
                                         CommandLineCase{"TooLarge", L"--wait-for-port 2147483648", 60},
                                         CommandLineCase{"Empty", L"--wait-for-port \"\"", 60}),
                         [](const testing::TestParamInfo<CommandLineCase>& info) { return info.param.name; });

}  // namespace
