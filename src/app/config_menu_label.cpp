#include "app/config_menu_label.h"

namespace {

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

std::wstring ConfigMenuLabel(std::wstring_view path) {
    const std::wstring_view name = FileName(path);
    if (name == L"." || name == L"..") return std::wstring(name);
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring_view::npos || dot == 0) return std::wstring(name);
    return std::wstring(name.substr(0, dot));
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
