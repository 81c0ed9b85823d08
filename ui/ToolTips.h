#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>

#include "ui/Form.h"

// One tooltip for every control the form gives a tip. Its texts are asked for each
// time it shows, so they are always the current ones.
class ToolTips {
public:
    // Why a control's folder text is marked, or nullptr: the tip says it first.
    using ReasonFor = std::function<const wchar_t*(HWND control)>;

    explicit ToolTips(ReasonFor reasonFor) : reasonFor_(std::move(reasonFor)) {}

    // Made when the mouse first comes over the window, as only the mouse needs it and
    // it is costly to make at the start. Later calls do nothing; without it the window
    // just shows no tips.
    void create(HWND window, const FormControls& controls);

    // The rectangles that stand for the path boxes while they are disabled, after
    // every change of the layout.
    void moveTools();

    // TTN_GETDISPINFOW: the tip's text, or none.
    void onTipText(NMTTDISPINFOW& request);

private:
    ReasonFor reasonFor_;
    HWND window_ = nullptr;
    HWND toolTip_ = nullptr;  // owned by the window, goes with it
    const FormControls* controls_ = nullptr;
    std::wstring text_;  // the text the tooltip is showing
};
