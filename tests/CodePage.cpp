#include "CodePage.h"

#include <windows.h>

namespace {

std::string convert(std::wstring_view text, bool& exact) {
    const UINT codePage = GetACP();
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    const int length = static_cast<int>(text.size());
    std::string bytes(static_cast<size_t>(length) * 4, '\0');
    const int size = WideCharToMultiByte(codePage, flags, text.data(), length, bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, utf8 ? nullptr : &usedDefault);
    exact = text.empty() || (size > 0 && !usedDefault);
    bytes.resize(size > 0 ? static_cast<size_t>(size) : 0);
    return bytes;
}

}  // namespace

bool ansiHolds(std::wstring_view text) {
    bool exact = false;
    convert(text, exact);
    return exact;
}

std::string ansiBytes(std::wstring_view text) {
    bool exact = false;
    return convert(text, exact);
}

std::wstring foreignText() {
    for (const wchar_t* text : {L"\u0416\u0443\u043A", L"\u4E2D\u6587", L"\u0141\u00F3d\u017A", L"\u05D0\u05D1"})
        if (!ansiHolds(text)) return text;
    return std::wstring(1, L'\xD800');
}
