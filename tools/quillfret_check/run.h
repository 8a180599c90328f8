#pragma once

#include <ostream>
#include <string>
#include <vector>

// The whole command: `args` are the arguments after the program name, as
// UTF-8. Writes the report to `out` and usage errors to `err`; returns the
// exit code (0 everything loads, 1 something skipped or a warning, 2 the file
// fails as a whole or cannot be read, or the arguments are wrong).
int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
