#pragma once

#include <windows.h>

#include "store/UniqueHandle.h"

struct GdiFontTraits {
    using Handle = HFONT;
    static HFONT invalid() { return nullptr; }
    static void close(HFONT font) { DeleteObject(font); }
};
using UniqueFont = UniqueHandle<GdiFontTraits>;

// DPI helpers that use the per-monitor functions where the system has them and
// fall back to the system DPI (Windows 7 and 8).

UINT windowDpi(HWND window);

// A system metric at dpi; at the system DPI where the system cannot say.
int systemMetricForDpi(int index, UINT dpi);

// The window rectangle size that gives the client size at dpi.
SIZE windowSizeForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

// The system's message font at dpi.
UniqueFont createMessageFont(UINT dpi);

// A font by face name and size in hundredths of a point, normal weight, at dpi.
UniqueFont createPointFont(const wchar_t* face, int centiPoints, UINT dpi);
