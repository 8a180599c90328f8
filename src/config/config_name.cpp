#include "config/config_name.h"

namespace {

// Where the extension of the file name `name` starts; npos when it has none.
size_t ExtensionStart(std::wstring_view name) {
    if (name == L"." || name == L"..") return std::wstring_view::npos;
    const size_t dot = name.rfind(L'.');
    return dot == 0 ? std::wstring_view::npos : dot;
}

bool IsDriveRoot(std::wstring_view path) {
    if (path.size() < 2 || path[1] != L':') return false;
    const wchar_t letter = path[0];
    return (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
}

// The last component: after a drive letter with its colon and after the last
// separator of either kind, up to an alternate-stream colon.
std::wstring_view FileName(std::wstring_view path) {
    if (IsDriveRoot(path)) path.remove_prefix(2);
    const size_t separator = path.find_last_of(L"\\/");
    if (separator != std::wstring_view::npos) path.remove_prefix(separator + 1);
    return path.substr(0, path.find(L':'));
}

}  // namespace

bool IsConfigFileName(std::wstring_view name) {
    const size_t extension = ExtensionStart(name);
    return extension != std::wstring_view::npos && name.substr(extension) == L".json";
}

std::wstring ConfigFileName(std::wstring_view path) { return std::wstring(FileName(path)); }

std::wstring ConfigMenuLabel(std::wstring_view path) {
    const std::wstring_view name = FileName(path);
    return std::wstring(name.substr(0, ExtensionStart(name)));
}

std::wstring MenuItemText(std::wstring_view label) {
    std::wstring text;
    text.reserve(label.size());
    for (const wchar_t unit : label) {
        if (unit == L'&') text += L'&';
        text += unit;
    }
    return text;
}
