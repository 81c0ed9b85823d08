#include "ui/Dpi.h"

#include <cstddef>
#include <cstring>
#include <cwchar>
#include <string_view>

#include "ui/SystemFunctions.h"

namespace {

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, declared for Windows 10 1703 and later only.
const DpiAwarenessContext kPerMonitorAwareV2 = reinterpret_cast<DpiAwarenessContext>(static_cast<INT_PTR>(-4));

// Only a per-monitor v2 window has its frame scaled to its DPI; under per-monitor v1
// (Windows 8.1 to Windows 10 1607) the frame keeps the system's metrics. Asked from
// the window's procedure, where the thread runs in the window's awareness.
bool frameFollowsWindowDpi() {
    const SystemFunctions& system = systemFunctions();
    return system.getThreadDpiAwarenessContext && system.areDpiAwarenessContextsEqual &&
           system.areDpiAwarenessContextsEqual(system.getThreadDpiAwarenessContext(), kPerMonitorAwareV2);
}

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

// Windows 8.1 and Windows 10 before 1607: the DPI of the monitor the window is on, so a
// window that starts on a second monitor of another scale is right before it is moved.
// 0 where unknown.
UINT monitorDpi(HWND window) {
    const GetDpiForMonitorFunction getDpiForMonitor = getDpiForMonitorFunction();
    UINT dpiX = 0, dpiY = 0;
    if (!getDpiForMonitor ||
        FAILED(getDpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &dpiX, &dpiY)))
        return 0;
    return dpiY;
}

}  // namespace

UINT systemDpi() {
    if (auto getDpiForSystem = systemFunctions().getDpiForSystem) return getDpiForSystem();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT windowDpi(HWND window) {
    if (auto getDpiForWindow = systemFunctions().getDpiForWindow) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) return dpi;
    }
    if (const UINT dpi = monitorDpi(window)) return dpi;
    return systemDpi();
}

int systemMetricForDpi(int index, UINT dpi) {
    if (frameFollowsWindowDpi()) {
        if (auto forDpi = systemFunctions().getSystemMetricsForDpi) return forDpi(index, dpi);
    }
    return GetSystemMetrics(index);
}

SIZE windowSizeForClient(SIZE client, DWORD style, DWORD exStyle, UINT dpi) {
    RECT rect{0, 0, client.cx, client.cy};
    auto adjust = systemFunctions().adjustWindowRectExForDpi;
    if (adjust && frameFollowsWindowDpi())
        adjust(&rect, style, FALSE, exStyle, dpi);
    else
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

std::optional<LOGFONTW> messageLogFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (auto forDpi = systemFunctions().systemParametersInfoForDpi) {
        if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) return metrics.lfMessageFont;
    }
    // Older systems report the font at the system DPI only.
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return std::nullopt;
    metrics.lfMessageFont.lfHeight =
        MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(systemDpi()));
    return metrics.lfMessageFont;
}

UniqueFont createMessageFont(UINT dpi) {
    const std::optional<LOGFONTW> font = messageLogFont(dpi);
    return font ? UniqueFont(CreateFontIndirectW(&*font)) : UniqueFont();  // else the controls keep the system font
}

bool sameFont(const LOGFONTW& a, const LOGFONTW& b) {
    // The face name is compared as text: what follows its NUL is left over.
    return std::memcmp(&a, &b, offsetof(LOGFONTW, lfFaceName)) == 0 &&
           std::wcsncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

bool messageFontChanged(HFONT inUse, UINT dpi) {
    const std::optional<LOGFONTW> now = messageLogFont(dpi);
    LOGFONTW used{};
    return now && (GetObjectW(inUse, sizeof(used), &used) != sizeof(used) || !sameFont(*now, used));
}

namespace {

// Runs measure(dc) on a screen DC with font selected.
template <typename Measure>
int withFontSelected(HFONT font, Measure measure) {
    HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, font);
    const int result = measure(screen);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return result;
}

bool fontFamilyExists(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    std::wstring_view(face).copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace

int lineHeight(HFONT font) {
    return withFontSelected(font, [](HDC dc) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        return static_cast<int>(metrics.tmHeight);
    });
}

int textWidth(HFONT font, std::wstring_view text, UINT format) {
    return withFontSelected(font, [&](HDC dc) {
        RECT extent{};
        DrawTextW(dc, text.data(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE | format);
        return static_cast<int>(extent.right - extent.left);
    });
}

const wchar_t* browseButtonFace() {
    return fontFamilyExists(L"Microsoft Sans Serif") ? L"Microsoft Sans Serif" : L"MS Sans Serif";
}

UniqueIcon loadIconForDpi(HINSTANCE instance, int id, int sizeMetric, UINT dpi) {
    const int size = systemMetricForDpi(sizeMetric, dpi);
    return UniqueIcon(
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

UniqueFont createPointFont(const wchar_t* face, int centiPoints, UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(centiPoints, static_cast<int>(dpi), 72 * 100);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    std::wstring_view(face).copy(font.lfFaceName, LF_FACESIZE - 1);
    return UniqueFont(CreateFontIndirectW(&font));
}
