#include "ui/ToolTips.h"

#include <climits>

#include "ui/Dpi.h"
#include "ui/WindowInfo.h"

namespace {

// True when the edit box shows less than its whole text.
bool textIsClipped(HWND box, const std::wstring& text) {
    RECT room{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
    return textWidth(font, text, DT_NOPREFIX) > room.right - room.left;
}

TTTOOLINFOW toolInfo(HWND owner, UINT flags, UINT_PTR id) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = flags;
    tool.hwnd = owner;
    tool.uId = id;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    return tool;
}

}  // namespace

void ToolTips::create(HWND window, const FormControls& controls) {
    if (toolTip_) return;
    window_ = window;
    controls_ = &controls;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    toolTip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance, nullptr);
    if (!toolTip_) return;
    for (const ControlDefinition& row : kForm) {
        if (row.tip.kind == TipKind::None) continue;
        HWND control = controls.*row.handle;
        TTTOOLINFOW tool = toolInfo(window, TTF_IDISHWND | TTF_SUBCLASS, reinterpret_cast<UINT_PTR>(control));
        SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        if (row.tip.kind != TipKind::OwnTextWhenClipped) continue;
        // A disabled box gets no mouse input: the mouse goes to the window beneath,
        // so the box's area of the window is a tool of its own ("Standard" is shown
        // with both boxes disabled). moveTools() places it.
        tool = toolInfo(window, TTF_SUBCLASS, static_cast<UINT_PTR>(row.id));
        SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    moveTools();
}

void ToolTips::moveTools() {
    if (!toolTip_) return;
    // Lines break only at a line break of the text: a long path stays on one line.
    SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, SHRT_MAX);
    for (const ControlDefinition& row : kForm) {
        if (row.tip.kind != TipKind::OwnTextWhenClipped) continue;
        TTTOOLINFOW tool = toolInfo(window_, 0, static_cast<UINT_PTR>(row.id));
        tool.rect = rectInParent(controls_->*row.handle);
        SendMessageW(toolTip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void ToolTips::onTipText(NMTTDISPINFOW& request) {
    text_.clear();
    const bool byHandle = request.uFlags & TTF_IDISHWND;
    for (const ControlDefinition& row : kForm) {
        HWND control = controls_->*row.handle;
        const UINT_PTR id = byHandle ? reinterpret_cast<UINT_PTR>(control) : static_cast<UINT_PTR>(row.id);
        if (id != request.hdr.idFrom) continue;
        switch (row.tip.kind) {
            case TipKind::OwnText: text_ = windowText(control); break;
            case TipKind::OwnTextWhenClipped: {
                const std::wstring text = windowText(control);
                if (textIsClipped(control, text)) text_ = text;
                break;
            }
            case TipKind::Fixed: text_ = row.tip.text; break;
            case TipKind::None: break;
        }
        // A marked folder's reason comes first, the whole text on the line after.
        if (const wchar_t* reason = reasonFor_(control)) text_ = text_.empty() ? reason : reason + (L"\r\n" + text_);
    }
    // An empty text shows no tip.
    request.lpszText = text_.data();
}
