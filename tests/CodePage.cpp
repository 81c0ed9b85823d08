#include "CodePage.h"

#include <initializer_list>

#include "store/AnsiText.h"

bool ansiHolds(std::wstring_view text) {
    return toAnsiExact(text).has_value();
}

std::string ansiBytes(std::wstring_view text) {
    return toAnsiExact(text).value_or(std::string());
}

std::wstring foreignText() {
    for (const wchar_t* text : {L"\u0416\u0443\u043A", L"\u4E2D\u6587", L"\u0141\u00F3d\u017A", L"\u05D0\u05D1"})
        if (!ansiHolds(text)) return text;
    return std::wstring(1, L'\xD800');
}
