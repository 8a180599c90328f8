#pragma once

#include <optional>
#include <string>

// Makes sure `cfg_dir` is a folder the program can list, creating it (one
// level) when nothing of that name exists. Returns the reason, in words, when
// it cannot be used: a plain file of that name, no rights, a failed creation.
std::optional<std::wstring> PrepareCfgFolder(const std::wstring& cfg_dir);

// The system's description of a Win32 error code, without the trailing line end.
std::wstring SystemErrorText(unsigned long error);
