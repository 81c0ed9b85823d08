#include "ui/MainWindow.h"

#include <commctrl.h>

#include <iterator>
#include <memory>
#include <string_view>
#include <utility>

#include "ui/AccountCaption.h"
#include "ui/Dpi.h"
#include "ui/Drops.h"
#include "ui/SystemMessageBox.h"
#include "ui/WindowInfo.h"

MainWindow::MainWindow(MainWindowSeams seams) : seams_(std::move(seams)) {
    // The box and the dialog run loops of their own, which the program's loop does not see.
    seams_.showMessage = [this, show = std::move(seams_.showMessage)](const Message& message) {
        const IdeKeyWatch::ModalLoop loop(watch_);
        return show ? show(message) : showSystemMessageBox(window_, kApplicationTitle, message);
    };
    seams_.folderDialog = [this, dialog = std::move(seams_.folderDialog)](HWND owner, const std::wstring& title) {
        const IdeKeyWatch::ModalLoop loop(watch_);
        return dialog ? dialog(owner, title) : showFolderDialog(owner, title);
    };
    if (!seams_.nameControl)
        seams_.nameControl = [this](HWND control, const std::wstring& name) {
            accessibleNames().set(control, name);
        };
}

bool MainWindow::registerClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    // The class keeps its icons for the program's life.
    windowClass.hIcon = loadIconForDpi(instance, IDI_TRELVANE, SM_CXICON, systemDpi()).release();
    windowClass.hIconSm = loadIconForDpi(instance, IDI_TRELVANE, SM_CXSMICON, systemDpi()).release();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND MainWindow::create(HINSTANCE instance, MainWindowSeams seams) {
    // The window takes the object at WM_NCCREATE and deletes it at WM_NCDESTROY;
    // if creation fails before that, it is deleted here. The size is set in
    // WM_CREATE, once the window's own DPI is known.
    std::unique_ptr<MainWindow> self(new MainWindow(std::move(seams)));
    return CreateWindowExW(kWindowExStyle, kWindowClass, kWindowCaption, kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0,
                           0, nullptr, nullptr, instance, &self);
}

HANDLE MainWindow::ideKeyEvent(HWND window) {
    const auto* self = reinterpret_cast<const MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->watch_.event() : nullptr;
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* owner =
            static_cast<std::unique_ptr<MainWindow>*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        MainWindow* self = owner->release();
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->handleMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's code. A start that fails leaves no
        // window (and has stored nothing); any other handler just ends.
        result = message == WM_CREATE ? -1 : 0;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete self;
    }
    return result;
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return onCreate() ? 0 : -1;
        case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_TIMER: onTimer(wParam); return 0;
        case kRegistryChanged: onIdeKeyChanged(); return 0;
        case kFolderChecked: marks_.onChecked(lParam); return 0;
        // As a dialog does: remember the focused control when another window takes over (a
        // minimise or a hide takes it first), give it back on return, and show the marks as
        // the folders are now.
        case WM_ACTIVATE: LOWORD(wParam) == WA_INACTIVE ? rememberFocus() : marks_.checkAll(); break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MINIMIZE) rememberFocus();
            break;
        case WM_SHOWWINDOW:
            if (!wParam) rememberFocus();
            break;
        case WM_SETFOCUS:
            SetFocus(focusedControl_ && IsWindowEnabled(focusedControl_) ? focusedControl_ : controls_.schema);
            return 0;
        case WM_MENUCHAR: return onMenuChar(static_cast<wchar_t>(LOWORD(wParam)), wParam, lParam);
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: return marks_.onControlColour(window_, message, wParam, lParam);
        case WM_DEVICECHANGE: marks_.onDeviceChange(wParam); return TRUE;
        case WM_DPICHANGED: onDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
        // The exact size at the new DPI, so the rectangle Windows suggests is right.
        case WM_GETDPISCALEDSIZE:
            *reinterpret_cast<SIZE*>(lParam) =
                windowSize(formVisualsAt(static_cast<UINT>(wParam)).layout, static_cast<UINT>(wParam));
            return TRUE;
        case WM_SETTINGCHANGE: onSettingChange(wParam); break;
        // The mouse is over the window (the controls pass this on to it first).
        case WM_SETCURSOR: toolTips_.create(window_, controls_); break;
        case WM_NOTIFY:
            if (reinterpret_cast<NMHDR*>(lParam)->code == TTN_GETDISPINFOW)
                toolTips_.onTipText(*reinterpret_cast<NMTTDISPINFOW*>(lParam));
            return 0;
        case WM_GETOBJECT: nameControls(); break;
        case WM_DROPFILES: schemas_.onDrop(takeDrop(reinterpret_cast<HDROP>(wParam))); return 0;
        case WM_ENTERMENULOOP:
        case WM_ENTERSIZEMOVE: watch_.enterModalLoop(); return 0;
        case WM_EXITMENULOOP:
        case WM_EXITSIZEMOVE: watch_.leaveModalLoop(); return 0;
        // At logoff the process may be ended without WM_DESTROY: store now.
        case WM_ENDSESSION:
            if (wParam && started_) table_.saveReg();
            return 0;
        case WM_DESTROY: onDestroy(); return 0;
        default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// The start. Before the first frame, only what it shows: the controls where the layout
// puts them, with their fonts; the schemas loaded and "Standard" shown; the IDE's pair in
// "Aktuell". Right after it, in afterFirstFrame: the watch on the IDE's key, the names and
// hidden labels for screen readers, the marks on folders that are not there, and a caption
// that names another account. Only when first needed: the tooltips when the mouse first
// comes over the window, the names when a screen reader asks before the first frame, the
// folder completion when a schema that can be edited is first shown.
bool MainWindow::onCreate() {
    dpi_ = windowDpi(window_);
    FormVisuals visuals = formVisualsAt(dpi_);
    if (!createControls(visuals)) return false;
    acceptDrops(window_);
    applyVisuals(std::move(visuals));

    table_.regKey = kIdeKey;
    table_.getSch();
    SendMessageW(controls_.schema, CB_SETCURSEL, 0, 0);
    schemas_.onSchemaSelected();  // setting the index by program does not notify, so run it here
    current_.show();
    // A timer comes only when no other message waits, so after the first paint.
    SetTimer(window_, kAfterFirstFrameTimer, 0, nullptr);
    started_ = true;
    return true;
}

// The watch is armed, then the key read again, so that a change since the start is not
// missed; the names follow here, as the annotation service is slow to load.
void MainWindow::afterFirstFrame() {
    KillTimer(window_, kAfterFirstFrameTimer);
    onIdeKeyChanged();
    nameControls();
    marks_.start(window_);
    SetWindowTextW(window_, windowCaptionForAccount().c_str());
}

// Another program (the IDE, a second copy, a registry editor) changed the IDE's key:
// the labels show what it holds now, and the schemas this copy has not changed too.
void MainWindow::onIdeKeyChanged() {
    watch_.arm(table_.regKey);
    schemas_.takeStored();
    current_.show();
}

void MainWindow::onTimer(UINT_PTR timer) {
    switch (timer) {
        case kAfterFirstFrameTimer: afterFirstFrame(); break;
        case kWatchRetryTimer: onIdeKeyChanged(); break;
        case kModalLoopTimer:
            if (watch_.changed()) onIdeKeyChanged();
            break;
        case kTypingPauseTimer: marks_.checkTyped(); break;
        default: break;
    }
}

void MainWindow::onCommand(int id, int code) {
    switch (schemas_.onCommand(id, code)) {
        case SchemaChange::Edited: current_.tableChanged(); break;
        case SchemaChange::Applied: current_.show(); break;
        case SchemaChange::None: break;
    }
}

// Created where the layout puts them, so that the first layout moves none of them.
bool MainWindow::createControls(const FormVisuals& visuals) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    for (const ControlDefinition& row : kForm) {
        const RECT rect = creationRect(row, visuals, dpi_);
        if (row.id == kSchema) listWindow_ = rect;
        const DWORD style = WS_CHILD | WS_VISIBLE | row.style | SchemaPanel::creationState(row.id);
        HWND control = CreateWindowExW(row.exStyle, row.className, row.text, style, rect.left, rect.top,
                                       rect.right - rect.left, rect.bottom - rect.top, window_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        if (!control) return false;
        controls_.*row.handle = control;
    }
    // "Aktuell" lies above "Modulschema" where the two frames share a pixel row: a
    // themed group box draws its edge on its last row. Neither frame takes the focus,
    // so the tab order stays as created.
    SetWindowPos(controls_.frame2, GetWindow(controls_.frame1, GW_HWNDPREV), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    schemas_.prepareControls();
    return true;
}

void MainWindow::nameControls() {
    if (named_ || !started_) return;
    named_ = true;
    for (const ControlDefinition& row : kForm) {
        if (!row.accessibleName) continue;
        addHiddenLabel(controls_.*row.handle, row);
        seams_.nameControl(controls_.*row.handle, row.accessibleName);
    }
}

void MainWindow::applyVisuals(FormVisuals visuals) {
    // The class's icons are sized for the system DPI; at any other DPI the window
    // takes its own. The old fonts and icons go only after the controls and the
    // window have taken the new ones.
    WindowIcons icons;
    if (dpi_ != systemDpi() || icons_.bigIcon) icons = setWindowIcons(window_, dpi_);
    resizeWindow(window_, windowSize(visuals.layout, dpi_));
    placeControls(controls_, visuals, dpi_, listWindow_);
    current_.fitCaption();
    visuals_ = std::move(visuals);
    icons_ = std::move(icons);
    toolTips_.moveTools();
    InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::onDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    refreshVisuals();
}

// A new text size changes the message font. Whether Windows then names
// SPI_SETNONCLIENTMETRICS is not certain, so any change that leaves another message
// font than the one in use counts.
void MainWindow::onSettingChange(WPARAM what) {
    if (what == SPI_SETNONCLIENTMETRICS || messageFontChanged(visuals_.messageFont.get(), dpi_)) refreshVisuals();
}

// Where the system compares a non-ASCII access key by case (Alt+Shift+Ü), the key
// arrives here unmatched. The click is posted so that it runs once the menu loop
// that asked has ended, not inside an open system menu.
LRESULT MainWindow::onMenuChar(wchar_t key, WPARAM wParam, LPARAM lParam) {
    if (!isAccessKeyOf(key, windowText(controls_.save))) return DefWindowProcW(window_, WM_MENUCHAR, wParam, lParam);
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(kSave, BN_CLICKED), reinterpret_cast<LPARAM>(controls_.save));
    return MAKELRESULT(0, MNC_CLOSE);
}

void MainWindow::rememberFocus() {
    HWND focus = GetFocus();
    if (focus && IsChild(window_, focus)) focusedControl_ = focus;
}

void MainWindow::onDestroy() {
    accessibleNames_.reset();  // while the controls it named still exist
    // A window whose start failed has loaded nothing, and no message loop waits for it.
    if (!started_) return;
    table_.saveReg();
    PostQuitMessage(0);
}
