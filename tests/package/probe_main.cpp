// quillfret-package-probe.exe: reads from a packaged executable what Windows
// itself reads, and answers a message box, for the release check
// (check-package beside this file).
//   version FILE         the version resource, through GetFileVersionInfoW
//   manifest FILE        the embedded application manifest (RT_MANIFEST 1)
//   icon FILE            the sizes of the exe's icon, as Explorer picks it
//   message-box CAPTION  waits for a message box of that caption, prints its
//                        text and presses OK
// Prints "Name=value" lines (the manifest as it is); exit code 0 when the
// resource or box was found, 1 when not, 2 for wrong arguments.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "support/dialogs.h"

namespace {

constexpr const char* kUsage = "Usage: quillfret-package-probe version|manifest|icon FILE | message-box CAPTION\n";

void PrintUtf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    std::fputs(bytes.c_str(), stdout);
}

void PrintQuad(const char* name, DWORD high, DWORD low) {
    std::printf("%s=%u.%u.%u.%u\n", name, HIWORD(high), LOWORD(high), HIWORD(low), LOWORD(low));
}

int PrintVersion(const wchar_t* file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0) return 1;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file, 0, size, data.data())) return 1;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) return 1;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    PrintQuad("FixedFileVersion", fixed->dwFileVersionMS, fixed->dwFileVersionLS);
    PrintQuad("FixedProductVersion", fixed->dwProductVersionMS, fixed->dwProductVersionLS);
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < 4) return 1;
    const auto* translation = static_cast<const WORD*>(value);
    for (const wchar_t* name : {L"FileDescription", L"FileVersion", L"InternalName", L"LegalCopyright",
                                L"OriginalFilename", L"ProductName", L"ProductVersion"}) {
        wchar_t query[96];
        std::swprintf(query, std::size(query), L"\\StringFileInfo\\%04x%04x\\%ls", translation[0], translation[1],
                      name);
        if (!VerQueryValueW(data.data(), query, &value, &length)) continue;
        PrintUtf8(name);
        std::fputs("=", stdout);
        PrintUtf8(static_cast<const wchar_t*>(value));
        std::fputs("\n", stdout);
    }
    return 0;
}

// The bytes of a resource of a module loaded as data; empty when absent.
std::string ResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type) {
    HRSRC found = FindResourceW(module, name, type);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return {};
    return std::string(static_cast<const char*>(bytes), SizeofResource(module, found));
}

BOOL CALLBACK TakeFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR first) {
    auto* taken = reinterpret_cast<std::wstring*>(first);
    *taken = IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : name;
    return FALSE;
}

// An icon group: a 6-byte header (reserved, type, count), then 14 bytes per
// image, the width in the first byte (0 meaning 256).
int PrintIconSizes(HMODULE module) {
    std::wstring first;
    EnumResourceNamesW(module, RT_GROUP_ICON, TakeFirstName, reinterpret_cast<LONG_PTR>(&first));
    if (first.empty()) return 1;
    const std::string group = ResourceBytes(module, first.c_str(), RT_GROUP_ICON);
    if (group.size() < 6) return 1;
    const size_t count = static_cast<unsigned char>(group[4]) | static_cast<unsigned char>(group[5]) << 8;
    std::printf("Sizes=");
    for (size_t i = 0; i < count && 6 + 14 * (i + 1) <= group.size(); ++i) {
        const int width = static_cast<unsigned char>(group[6 + 14 * i]);
        std::printf(i == 0 ? "%d" : " %d", width == 0 ? 256 : width);
    }
    std::printf("\n");
    return 0;
}

int WithModule(const wchar_t* file, const std::wstring& what) {
    HMODULE module = LoadLibraryExW(file, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) return 1;
    int result = 1;
    if (what == L"icon") {
        result = PrintIconSizes(module);
    } else {
        const std::string manifest = ResourceBytes(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
        std::fwrite(manifest.data(), 1, manifest.size(), stdout);
        result = manifest.empty() ? 1 : 0;
    }
    FreeLibrary(module);
    return result;
}

int AnswerMessageBox(const wchar_t* caption) {
    HWND dialog = WaitForTopWindow(L"#32770", caption, std::chrono::seconds(20));
    if (dialog == nullptr) return 1;
    std::fputs("Text=", stdout);
    PrintUtf8(MessageBoxText(dialog).c_str());
    std::fputs("\n", stdout);
    DismissMessageBox(dialog);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring what = argc == 3 ? argv[1] : L"";
    if (what == L"version") return PrintVersion(argv[2]);
    if (what == L"manifest" || what == L"icon") return WithModule(argv[2], what);
    if (what == L"message-box") return AnswerMessageBox(argv[2]);
    std::fputs(kUsage, stderr);
    return 2;
}
