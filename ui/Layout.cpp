#include "ui/Layout.h"

namespace {

const ControlLayout& layoutOf(ControlId id) {
    for (const auto& control : kControlLayout)
        if (control.id == id) return control;
    return kControlLayout.front();  // unreachable: every id is in the table
}

TwipsRect absoluteTwips(ControlId id) {
    const ControlLayout& control = layoutOf(id);
    TwipsRect rect = control.rect;
    if (control.container != Container::Window) {
        const TwipsRect frame = layoutOf(control.container == Container::Frame1 ? kFrame1 : kFrame2).rect;
        rect.left += frame.left;
        rect.top += frame.top;
    }
    return rect;
}

}  // namespace

int twipsToPixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

RECT controlRect(ControlId id, UINT dpi) {
    // Scaling both edges, not the size, keeps neighbours and overlaps exact at any DPI.
    const TwipsRect rect = absoluteTwips(id);
    return {twipsToPixels(rect.left, dpi), twipsToPixels(rect.top, dpi),
            twipsToPixels(rect.left + rect.width, dpi), twipsToPixels(rect.top + rect.height, dpi)};
}

SIZE clientSize(UINT dpi) {
    return {twipsToPixels(kClientWidthTwips, dpi), twipsToPixels(kClientHeightTwips, dpi)};
}
