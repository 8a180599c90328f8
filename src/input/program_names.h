#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Programs by name, as a mapping file's "only_in" names them and as the
// program in front is found: the file name of the program's executable.
// Decided without the platform, so that the rules are tested natively; the
// comparison itself is the platform's (program_names_win32.cpp,
// program_names_native.cpp).

// Whether two file names are the same as Windows compares file names:
// ordinal, without regard to case, for any script.
bool SameFileName(std::wstring_view a, std::wstring_view b);

// Whether `program` ("reaper64.exe") is one of `names`: a name matches as a
// file name, and a name without ".exe" also matches that name with ".exe".
bool NamesProgram(const std::vector<std::wstring>& names, std::wstring_view program);

// Whether `program` is the frame host of Store apps, ApplicationFrameHost.exe.
bool IsStoreAppFrameHost(std::wstring_view program);

// The program that a frame host's window stands for: the first of
// `child_programs` (the programs of the frame's child windows that other
// processes own) that is not the frame host; nothing when there is none.
std::optional<std::wstring> HostedProgram(const std::vector<std::wstring>& child_programs);

// The program a window in front stands for: its own (`window_program`),
// except that the windows of Store apps belong to the frame host, whose
// frame holds a child window of the app's own process: then that app, from
// `child_programs()`, asked only then.
template <typename ChildPrograms>
std::optional<std::wstring> ProgramInFrontOf(std::wstring_view window_program, ChildPrograms&& child_programs) {
    if (!IsStoreAppFrameHost(window_program)) return std::wstring(window_program);
    return HostedProgram(child_programs());
}
