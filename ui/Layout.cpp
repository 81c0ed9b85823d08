#include "ui/Layout.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

#include "ui/Dpi.h"

namespace {

constexpr int kLineTwips = 240;          // the labels' height: the layout holds one line of text
constexpr int kButtonMarginTwips = 45;   // a push button's edge and focus frame, each side

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

}  // namespace

int twipsToPixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

RECT controlRect(const ControlDefinition& control, UINT dpi) {
    // Scaling both edges, not the size, keeps neighbours and overlaps exact at any DPI.
    const TwipsRect rect = absoluteTwips(control);
    return {twipsToPixels(rect.left, dpi), twipsToPixels(rect.top, dpi),
            twipsToPixels(rect.left + rect.width, dpi), twipsToPixels(rect.top + rect.height, dpi)};
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

RECT droppedListRect(const RECT& closed, int itemHeight, UINT dpi) {
    constexpr int entries = static_cast<int>(std::size(kSchemaNames));
    RECT dropped = closed;
    dropped.bottom += itemHeight * entries + 2 * systemMetricForDpi(SM_CYEDGE, dpi);
    return dropped;
}
