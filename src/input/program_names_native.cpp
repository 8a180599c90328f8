// File names compared as Windows compares them, elsewhere than on Windows:
// code unit by code unit, each mapped to its upper case by the C library's
// Unicode tables (the C.UTF-8 locale), as Windows maps each unit by its own.
#include "input/program_names.h"

#include <locale>
#include <stdexcept>

namespace {

// Where the C library lacks the locale, only ASCII letters compare without case.
std::locale UnicodeLocale() {
    try {
        return std::locale("C.UTF-8");
    } catch (const std::runtime_error&) {
        return std::locale::classic();
    }
}

const std::ctype<wchar_t>& UnicodeCase() {
    static const std::locale unicode = UnicodeLocale();
    return std::use_facet<std::ctype<wchar_t>>(unicode);
}

}  // namespace

bool SameFileName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    const std::ctype<wchar_t>& upper = UnicodeCase();
    for (size_t i = 0; i < a.size(); ++i) {
        if (upper.toupper(a[i]) != upper.toupper(b[i])) return false;
    }
    return true;
}
