#include "ui/ActiveCaption.h"

#include <vector>

#include "ui/Dpi.h"
#include "ui/Form.h"

namespace {

constexpr wchar_t kEllipsis[] = L"\u2026";

// The frame's own text, which heads the caption.
std::wstring frameText() {
    for (const ControlDefinition& row : kForm)
        if (row.id == kFrame2) return row.text;
    return {};
}

std::wstring captionNaming(const std::vector<int>& schemas) {
    std::wstring caption = frameText();
    for (size_t i = 0; i < schemas.size(); ++i) {
        caption += i == 0 ? L" \u2013 " : L", ";
        caption += kSchemaNames[static_cast<size_t>(schemas[i])];
    }
    return caption;
}

// The caption where it fits in room pixels, otherwise its longest start that fits
// when ended with "…". Shortening is rare (most schemas active at once), so the
// characters go one by one.
std::wstring fitted(HFONT font, std::wstring caption, int room) {
    if (textWidth(font, caption) <= room) return caption;
    caption += kEllipsis;
    while (caption.size() > 1 && textWidth(font, caption) > room) caption.erase(caption.size() - 2, 1);
    return caption;
}

}  // namespace

ActiveCaption::ActiveCaption() : whole_(frameText()), shown_(whole_) {}

void ActiveCaption::setActive(HWND frame, const SchemaTable& table, ActiveFolders active) {
    active_ = std::move(active);
    show(frame, table);
}

void ActiveCaption::show(HWND frame, const SchemaTable& table) {
    std::wstring whole = captionNaming(matchingSchemas(table, active_));
    if (whole == whole_) return;  // as on most keystrokes
    whole_ = std::move(whole);
    fit(frame);
}

void ActiveCaption::fit(HWND frame) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0));
    RECT client{};
    GetClientRect(frame, &client);
    // A group box sets its caption in from the edge and leaves a gap around it in the
    // line; both grow with the font, and a line height at each end covers them.
    const int room = client.right - client.left - 2 * lineHeight(font);
    std::wstring caption = fitted(font, whole_, room);
    if (caption == shown_) return;
    shown_ = std::move(caption);
    SetWindowTextW(frame, shown_.c_str());
}
