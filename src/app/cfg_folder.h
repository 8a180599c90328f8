#pragma once

#include <optional>
#include <string>
#include <system_error>

// Makes sure `cfg_dir` is a folder the program can list, creating it (one
// level) when nothing of that name exists. Returns the reason, in words, when
// it cannot be used: a plain file of that name, no rights, a failed creation.
std::optional<std::wstring> PrepareCfgFolder(const std::wstring& cfg_dir);

// The system's description of a Win32 error code, without the trailing line end.
std::wstring SystemErrorText(unsigned long error);

// The runtime's words for what went wrong, read in the ANSI code page. Bytes
// that are no text there still give a reason: read as UTF-8, with a
// replacement character for each byte that is not.
std::wstring RuntimeErrorText(const char* what);

// The words for an error the portable core reports: the system's
// description of a system error code, the runtime's words for an errno value.
std::wstring ErrorCodeText(const std::error_code& error);
