#pragma once

#include <windows.h>

#include "store/UniqueHandle.h"

// The handle kinds the program opens, each with the call that releases it.

struct RegKeyTraits {
    using Handle = HKEY;
    static HKEY invalid() { return nullptr; }
    static void close(HKEY key) { RegCloseKey(key); }
};
using UniqueRegKey = UniqueHandle<RegKeyTraits>;

// A find handle is closed with FindClose, never CloseHandle.
struct FindHandleTraits {
    using Handle = HANDLE;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE find) { FindClose(find); }
};
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;

struct GdiFontTraits {
    using Handle = HFONT;
    static HFONT invalid() { return nullptr; }
    static void close(HFONT font) { DeleteObject(font); }
};
using UniqueFont = UniqueHandle<GdiFontTraits>;
