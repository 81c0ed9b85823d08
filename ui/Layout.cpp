#include "ui/Layout.h"

namespace {

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

SIZE clientSize(UINT dpi) {
    return {twipsToPixels(kClientWidthTwips, dpi), twipsToPixels(kClientHeightTwips, dpi)};
}
