#include "input/program_names.h"

#include <algorithm>

namespace {

constexpr std::wstring_view kExe = L".exe";
constexpr std::wstring_view kFrameHost = L"ApplicationFrameHost.exe";

}  // namespace

bool NamesProgram(const std::vector<std::wstring>& names, std::wstring_view program) {
    const bool exe = program.size() > kExe.size() && SameFileName(program.substr(program.size() - kExe.size()), kExe);
    const std::wstring_view stem = exe ? program.substr(0, program.size() - kExe.size()) : program;
    return std::any_of(names.begin(), names.end(), [&](const std::wstring& name) {
        return SameFileName(name, program) || (exe && SameFileName(name, stem));
    });
}

bool IsStoreAppFrameHost(std::wstring_view program) { return SameFileName(program, kFrameHost); }

std::optional<std::wstring> HostedProgram(const std::vector<std::wstring>& child_programs) {
    const auto hosted = std::find_if(child_programs.begin(), child_programs.end(),
                                     [](const std::wstring& child) { return !IsStoreAppFrameHost(child); });
    if (hosted == child_programs.end()) return std::nullopt;
    return *hosted;
}
