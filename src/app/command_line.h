#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The program's one option, "--wait-for-port SECONDS" (port_wait.h); every
// other argument is ignored, as the program always did.

// The arguments after the program's name, split as Windows splits a
// command line (quotes group, backslashes before a quote escape it).
std::vector<std::wstring> ProgramArguments(const wchar_t* command_line);

inline constexpr int64_t kDefaultPortWaitSeconds = 60;

// The seconds to wait for the port: nothing without "--wait-for-port";
// kDefaultPortWaitSeconds when the argument after it is missing or is not
// a whole number of seconds (decimal digits only, at most 2147483647).
std::optional<int64_t> PortWaitSeconds(const std::vector<std::wstring>& arguments);
