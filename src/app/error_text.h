#pragma once

#include <string>
#include <system_error>

// Failures in words, for the start-up message and the balloons.

// The system's description of a Win32 error code, without the trailing line end.
std::wstring SystemErrorText(unsigned long error);

// The words for an error the portable core reports: the system's
// description of a system error code, the runtime's words for an errno value.
std::wstring ErrorCodeText(const std::error_code& error);
