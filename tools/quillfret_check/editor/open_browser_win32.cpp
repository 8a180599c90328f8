#include <windows.h>
#include <shellapi.h>

#include "config/utf8.h"
#include "edit_command.h"

void OpenInBrowser(const std::string& address) {
    // The address is printed first: when no browser opens, it can be copied.
    const std::wstring wide = Utf8ToWide(address).value_or(L"");
    ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
