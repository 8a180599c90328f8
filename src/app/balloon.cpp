#include "app/balloon.h"

#include <algorithm>
#include <cwchar>

namespace {

// Copies as much of `text` as `size` units hold, with the terminating null.
void CopyCut(std::wstring_view text, wchar_t* destination, size_t size) {
    const size_t length = std::min(text.size(), size - 1);
    std::wmemcpy(destination, text.data(), length);
    destination[length] = L'\0';
}

constexpr size_t kInfoLength = std::size(NOTIFYICONDATAW{}.szInfo) - 1;

}  // namespace

NOTIFYICONDATAW BalloonRecord(const NOTIFYICONDATAW& icon, std::wstring_view text, DWORD kind) {
    NOTIFYICONDATAW balloon{};
    balloon.cbSize = sizeof(balloon);
    balloon.hWnd = icon.hWnd;
    balloon.uID = icon.uID;
    balloon.uFlags = NIF_INFO;
    balloon.dwInfoFlags = kind;
    CopyCut(L"Quillfret", balloon.szInfoTitle, std::size(balloon.szInfoTitle));
    CopyCut(text, balloon.szInfo, std::size(balloon.szInfo));
    return balloon;
}

void ShowBalloon(const NOTIFYICONDATAW& icon, std::wstring_view text, DWORD kind) {
    if (icon.cbSize == 0) return;
    NOTIFYICONDATAW balloon = BalloonRecord(icon, text, kind);
    // A balloon is a courtesy: when the shell does not take it (the icon is
    // gone meanwhile, no notification area) the program runs on as before.
    Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

std::wstring FailureText(std::wstring_view headline, std::wstring_view path, std::wstring_view reason) {
    const size_t fixed = headline.size() + reason.size() + 2;
    std::wstring text(headline);
    text += L'\n';
    if (fixed + path.size() <= kInfoLength) {
        text += path;
    } else if (fixed + 1 < kInfoLength) {
        text += L'\u2026';
        text += path.substr(path.size() - (kInfoLength - fixed - 1));
    }
    text += L'\n';
    text += reason;
    return text;
}
