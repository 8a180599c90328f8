#include "app/tray_icon.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "app/window_messages.h"
#include "config/utf8.h"

namespace {

// Copies as much of `text` as `size` units hold, with the terminating null.
void CopyCut(std::wstring_view text, wchar_t* destination, size_t size) {
    const size_t length = std::min(text.size(), size - 1);
    std::wmemcpy(destination, text.data(), length);
    destination[length] = L'\0';
}

constexpr size_t kInfoLength = std::size(NOTIFYICONDATAW{}.szInfo) - 1;

NOTIFYICONDATAW TrayIconRecord(HWND window, std::wstring_view tip) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_APP_TRAY;
    icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    CopyCut(tip, icon.szTip, std::size(icon.szTip));
    return icon;
}

}  // namespace

void AddTrayIcon(TrayIcon& icon, HWND window) {
    NOTIFYICONDATAW record = icon.record.cbSize != 0 ? icon.record : TrayIconRecord(window, icon.tip);
    if (Shell_NotifyIconW(NIM_ADD, &record)) icon.record = record;
}

// A tip the shell does not take (the icon is gone meanwhile) comes with the
// icon when the taskbar adds it again.
void SetTrayTip(TrayIcon& icon, std::wstring_view tip) {
    icon.tip = tip;
    if (icon.record.cbSize == 0) return;
    CopyCut(tip, icon.record.szTip, std::size(icon.record.szTip));
    NOTIFYICONDATAW change = icon.record;
    change.uFlags = NIF_TIP;
    Shell_NotifyIconW(NIM_MODIFY, &change);
}

// The result is not tested: the icon is gone either way.
void RemoveTrayIcon(TrayIcon& icon) {
    if (icon.record.cbSize == 0) return;
    NOTIFYICONDATAW record = std::exchange(icon.record, NOTIFYICONDATAW{});
    Shell_NotifyIconW(NIM_DELETE, &record);
}

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

bool ShowBalloon(const NOTIFYICONDATAW& icon, std::wstring_view text, DWORD kind) {
    if (icon.cbSize == 0) return false;
    NOTIFYICONDATAW balloon = BalloonRecord(icon, text, kind);
    // A balloon is a courtesy: when the shell does not take it (the icon is
    // gone meanwhile, no notification area) the program runs on as before.
    return Shell_NotifyIconW(NIM_MODIFY, &balloon) != FALSE;
}

void ShowLoadNews(TrayIcon& icon, std::wstring text, DWORD kind) {
    if (ShowBalloon(icon.record, text, kind)) {
        icon.untold.clear();  // older news is out of date
        return;
    }
    icon.untold = std::move(text);
    icon.untold_kind = kind;
}

void TellUntoldNews(TrayIcon& icon) {
    if (!icon.untold.empty()) ShowLoadNews(icon, std::exchange(icon.untold, {}), icon.untold_kind);
}

void TellPause(TrayIcon& icon, PauseChange change, std::string_view pause_key_text) {
    if (change == PauseChange::None) return;
    const bool paused = change == PauseChange::Paused;
    SetTrayTip(icon, paused ? L"Quillfret (paused)" : L"Quillfret");
    ShowBalloon(icon.record,
                paused ? L"Quillfret is paused: press " + WideFromUtf8(pause_key_text) + L" to play again"
                       : L"Quillfret is playing",
                NIIF_INFO);
}

namespace {

// `before`, `name` and `after` in one balloon text. A name too long for the
// balloon loses its start (marked "…"): its end names the file or folder,
// and the rest stays whole.
std::wstring FittedText(std::wstring_view before, std::wstring_view name, std::wstring_view after) {
    const size_t fixed = before.size() + after.size();
    std::wstring text(before);
    if (fixed + name.size() <= kInfoLength) {
        text += name;
    } else if (fixed + 1 < kInfoLength) {
        text += L'\u2026';
        text += name.substr(name.size() - (kInfoLength - fixed - 1));
    }
    text += after;
    return text;
}

}  // namespace

std::wstring FailureText(std::wstring_view headline, std::wstring_view path, std::wstring_view reason) {
    return FittedText(std::wstring(headline) + L'\n', path, L'\n' + std::wstring(reason));
}

std::wstring LoadNewsText(const LoadMessage& message) { return FittedText(L"", message.file_name, message.about_it); }
