#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// What the window and its features ask of a control.

// A window's whole text (a control's caption or contents).
inline std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A control's rectangle in its parent's client coordinates.
inline RECT rectInParent(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Whether key is the access key of a control text (the character after its "&"),
// compared without case as the system compares letters.
inline bool isAccessKeyOf(wchar_t key, const std::wstring& text) {
    const size_t ampersand = text.find(L'&');
    if (ampersand == std::wstring::npos || ampersand + 1 >= text.size()) return false;
    return CompareStringOrdinal(&key, 1, &text[ampersand + 1], 1, TRUE) == CSTR_EQUAL;
}
