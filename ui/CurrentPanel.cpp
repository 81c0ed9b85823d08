#include "ui/CurrentPanel.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "schemas/Applying.h"
#include "ui/Dpi.h"

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

}  // namespace

// Shortening is rare (most schemas active at once), so the characters go one by one.
std::wstring fittedCaption(HFONT font, std::wstring caption, int room) {
    if (textWidth(font, caption) <= room) return caption;
    caption += kEllipsis;
    while (caption.size() > 1 && textWidth(font, caption) > room) caption.erase(caption.size() - 2, 1);
    return caption;
}

CurrentPanel::CurrentPanel(const FormControls& controls, const SchemaTable& table, FolderMarks& marks)
    : controls_(controls), table_(table), marks_(marks), wholeCaption_(frameText()), shownCaption_(wholeCaption_) {}

void CurrentPanel::show() {
    ActiveTexts active = getAkt(table_.regKey);
    SetWindowTextW(controls_.curSys, active.system.c_str());
    SetWindowTextW(controls_.curCom, active.common.c_str());
    marks_.show(controls_.curSys, active.folders.system);
    marks_.show(controls_.curCom, active.folders.common);
    active_ = std::move(active.folders);
    tableChanged();
}

void CurrentPanel::tableChanged() {
    std::wstring whole = captionNaming(matchingSchemas(table_, active_));
    if (whole == wholeCaption_) return;  // as on most keystrokes
    wholeCaption_ = std::move(whole);
    fitCaption();
}

void CurrentPanel::fitCaption() {
    HWND frame = controls_.frame2;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0));
    RECT client{};
    GetClientRect(frame, &client);
    // A group box sets its caption in from the edge and leaves a gap around it in the
    // line; both grow with the font, and a line height at each end covers them.
    const int room = client.right - client.left - 2 * lineHeight(font);
    std::wstring caption = fittedCaption(font, wholeCaption_, room);
    if (caption == shownCaption_) return;
    shownCaption_ = std::move(caption);
    SetWindowTextW(frame, shownCaption_.c_str());
}
