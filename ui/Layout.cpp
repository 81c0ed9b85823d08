#include "ui/Layout.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

#include "ui/Dpi.h"
#include "ui/WindowInfo.h"

namespace {

constexpr int kLineTwips = 240;         // the labels' height: the layout holds one line of text
constexpr int kButtonMarginTwips = 45;  // a push button's edge and focus frame, each side

// The smallest DPI at which twips hold pixels.
UINT dpiToHold(int pixels, int twips) {
    return static_cast<UINT>((static_cast<long long>(pixels) * 1440 + twips - 1) / twips);
}

bool isPushButton(const ControlDefinition& row) {
    return row.className == std::wstring_view(WC_BUTTONW) && !(row.style & BS_GROUPBOX);
}

TwipsRect absoluteTwips(const ControlDefinition& control) {
    TwipsRect rect = control.rect;
    if (control.container == Container::Window) return rect;
    const ControlId frame = control.container == Container::Frame1 ? kFrame1 : kFrame2;
    for (const ControlDefinition& container : kForm) {
        if (container.id != frame) continue;
        rect.left += container.rect.left;
        rect.top += container.rect.top;
    }
    return rect;
}

int heightOf(const RECT& rect) {
    return rect.bottom - rect.top;
}

void moveTo(HWND control, const RECT& rect) {
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, heightOf(rect),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The closed box's height follows its selection field. What the box adds around
// the field differs between systems, and some store a field height they are given
// with an offset: so set the field as the box's present frame suggests, and only
// where the result is off, again from the frame that setting showed.
void fitClosedComboHeight(HWND combo, int height) {
    const int now = heightOf(rectInParent(combo));
    if (now == height) return;
    const auto field = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    const int guess = height - (now - field);
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), guess);
    if (const int reached = heightOf(rectInParent(combo)); reached != height)
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - (reached - guess));
}

RECT droppedListRect(const RECT& closed, int itemHeight, UINT dpi) {
    constexpr int entries = static_cast<int>(std::size(kSchemaNames));
    RECT dropped = closed;
    dropped.bottom += itemHeight * entries + 2 * systemMetricForDpi(SM_CYEDGE, dpi);
    return dropped;
}

}  // namespace

int twipsToPixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

RECT controlRect(const ControlDefinition& control, UINT dpi) {
    // Scaling both edges, not the size, keeps neighbours and overlaps exact at any DPI.
    const TwipsRect rect = absoluteTwips(control);
    return {twipsToPixels(rect.left, dpi), twipsToPixels(rect.top, dpi), twipsToPixels(rect.left + rect.width, dpi),
            twipsToPixels(rect.top + rect.height, dpi)};
}

UINT layoutDpi(UINT dpi, HFONT messageFont) {
    UINT needed = std::max(dpi, dpiToHold(lineHeight(messageFont), kLineTwips));
    for (const ControlDefinition& row : kForm) {
        if (row.font != FontKind::Message || !isPushButton(row)) continue;
        needed = std::max(needed, dpiToHold(textWidth(messageFont, row.text), row.rect.width - 2 * kButtonMarginTwips));
    }
    return needed;
}

SIZE clientSize(UINT dpi) {
    return {twipsToPixels(kClientWidthTwips, dpi), twipsToPixels(kClientHeightTwips, dpi)};
}

FormVisuals formVisualsAt(UINT dpi) {
    UniqueFont messageFont = createMessageFont(dpi);
    const UINT layout = layoutDpi(dpi, messageFont.get());
    return {std::move(messageFont), createPointFont(browseButtonFace(), 975, layout), layout};
}

SIZE windowSize(UINT layoutDpi, UINT dpi) {
    return windowSizeForClient(clientSize(layoutDpi), kWindowStyle, kWindowExStyle, dpi);
}

RECT creationRect(const ControlDefinition& row, const FormVisuals& visuals, UINT dpi) {
    const RECT rect = controlRect(row, visuals.layout);
    // A list's entries are a line of its font high.
    return row.id == kSchema ? droppedListRect(rect, lineHeight(visuals.messageFont.get()), dpi) : rect;
}

void placeControls(const FormControls& controls, const FormVisuals& visuals, UINT dpi, RECT& listWindow) {
    for (const ControlDefinition& row : kForm) {
        HWND child = controls.*row.handle;
        HFONT font = row.font == FontKind::BrowseButton ? visuals.browseButtonFont.get() : visuals.messageFont.get();
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        const RECT rect = controlRect(row, visuals.layout);
        if (row.id != kSchema) {
            if (const RECT now = rectInParent(child); !EqualRect(&now, &rect)) moveTo(child, rect);
            continue;
        }
        const auto item = static_cast<int>(SendMessageW(child, CB_GETITEMHEIGHT, 0, 0));
        if (const RECT window = droppedListRect(rect, item, dpi); !EqualRect(&window, &listWindow))
            moveTo(child, listWindow = window);
        fitClosedComboHeight(child, heightOf(rect));  // last, as a resize may reset it
    }
}

void resizeWindow(HWND window, SIZE size) {
    // A minimised window comes back at its restored rectangle, so that is what must
    // fit the layout.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (IsIconic(window) && GetWindowPlacement(window, &placement)) {
        RECT& restored = placement.rcNormalPosition;
        restored.right = restored.left + size.cx;
        restored.bottom = restored.top + size.cy;
        placement.showCmd = SW_SHOWMINNOACTIVE;
        SetWindowPlacement(window, &placement);
        return;
    }
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowIcons setWindowIcons(HWND window, UINT dpi) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    WindowIcons icons{loadIconForDpi(instance, IDI_TRELVANE, SM_CXICON, dpi),
                      loadIconForDpi(instance, IDI_TRELVANE, SM_CXSMICON, dpi)};
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.bigIcon.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.smallIcon.get()));
    return icons;
}
