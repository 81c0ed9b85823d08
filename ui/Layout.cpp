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

// A closed list is its selection field with a frame around it: Windows makes the box 6 px
// higher than the field set with CB_SETITEMHEIGHT, and so does Wine.
constexpr int kListFieldFrame = 6;

// The closed list as the table draws it, grown where its field would not hold a line of
// its font (Segoe UI at Windows 10's default text size needs 16 px, the table gives 15).
int closedListHeight(const RECT& drawn, int line) {
    return std::max(heightOf(drawn), line + kListFieldFrame);
}

// The field is set, never read back: Wine answers 2 px more than it was given. Where a
// system frames the field otherwise, the height the first setting reached tells by how much.
void fitClosedListHeight(HWND list, int height, int line) {
    if (heightOf(rectInParent(list)) == height) return;
    const int field = height - kListFieldFrame;
    SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    if (const int frame = heightOf(rectInParent(list)) - field; frame != kListFieldFrame)
        SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(height - frame, line));
}

RECT droppedListRect(const RECT& drawn, int closedHeight, int itemHeight, UINT dpi) {
    constexpr int entries = static_cast<int>(std::size(kSchemaNames));
    RECT dropped = drawn;
    dropped.bottom = drawn.top + closedHeight + itemHeight * entries + 2 * systemMetricForDpi(SM_CYEDGE, dpi);
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
    if (row.id != kSchema) return rect;
    // A list's entries are a line of its font high.
    const int line = lineHeight(visuals.messageFont.get());
    return droppedListRect(rect, closedListHeight(rect, line), line, dpi);
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
        const int line = lineHeight(font), closed = closedListHeight(rect, line);
        const auto item = static_cast<int>(SendMessageW(child, CB_GETITEMHEIGHT, 0, 0));
        if (const RECT window = droppedListRect(rect, closed, item, dpi); !EqualRect(&window, &listWindow))
            moveTo(child, listWindow = window);
        fitClosedListHeight(child, closed, line);  // last, as a resize may reset it
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
