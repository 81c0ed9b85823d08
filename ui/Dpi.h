#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "store/UniqueHandle.h"

#ifndef WM_GETDPISCALEDSIZE  // declared for Windows 10 1703 and later only
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

// DPI helpers that use the per-monitor functions where the system has them and
// fall back to the system DPI (Windows 7 and 8).

// The window's DPI; its monitor's on Windows 8.1 and Windows 10 before 1607.
UINT windowDpi(HWND window);

// The DPI of the primary monitor at logon, which GetSystemMetrics answers for.
UINT systemDpi();

// A system metric at dpi where the window's frame is scaled to its DPI (per-monitor
// v2); the system's metric otherwise.
int systemMetricForDpi(int index, UINT dpi);

// The window rectangle size that gives the client size at dpi, with the frame as the
// system draws it for this thread (scaled to dpi only under per-monitor v2).
SIZE windowSizeForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

// The system's message font at dpi; none where the system cannot say.
std::optional<LOGFONTW> messageLogFont(UINT dpi);
UniqueFont createMessageFont(UINT dpi);

bool sameFont(const LOGFONTW& a, const LOGFONTW& b);

// Whether the system's message font at dpi is another than inUse.
bool messageFontChanged(HFONT inUse, UINT dpi);

// A font by face name and size in hundredths of a point, normal weight, at dpi.
UniqueFont createPointFont(const wchar_t* face, int centiPoints, UINT dpi);

// The height of a line of text in font, as the controls lay it out (tmHeight).
int lineHeight(HFONT font);

// The width of text on one line in font; format adds DrawText flags (DT_NOPREFIX
// where "&" is not an access key).
int textWidth(HFONT font, std::wstring_view text, UINT format = 0);

// The face of the "..." buttons: "MS Sans Serif", or where the system has it its
// TrueType twin "Microsoft Sans Serif", with the same design and metrics; the bitmap
// font turns jagged when scaled.
const wchar_t* browseButtonFace();

// The icon resource at the size the system uses for sizeMetric (SM_CXICON or
// SM_CXSMICON) at dpi.
UniqueIcon loadIconForDpi(HINSTANCE instance, int id, int sizeMetric, UINT dpi);
