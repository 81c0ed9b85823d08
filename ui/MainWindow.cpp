#include "ui/MainWindow.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cwchar>
#include <iterator>
#include <memory>
#include <string_view>

#include "schemas/Applying.h"
#include "schemas/FolderText.h"
#include "ui/Dpi.h"
#include "ui/Drops.h"
#include "ui/FolderPicker.h"
#include "ui/Layout.h"
#include "ui/OtherCopies.h"
#include "ui/WindowInfo.h"

namespace {

constexpr wchar_t kNoMarkerQuestion[] =
    L"Im angegebenen Ordner befindet sich keine \"modules.txt\" !"
    L"Wollen Sie den Ordner dennoch auswählen ?";

constexpr int kSchemaEntries = static_cast<int>(std::size(kSchemaNames));
static_assert(kSchemaEntries == kSchemaCount);

// The character after the "&" of a control text: the access key.
wchar_t accessKeyOf(const wchar_t* text) {
    const wchar_t* ampersand = wcschr(text, L'&');
    return ampersand ? ampersand[1] : L'\0';
}

bool sameLetterIgnoringCase(wchar_t a, wchar_t b) {
    return CompareStringOrdinal(&a, 1, &b, 1, TRUE) == CSTR_EQUAL;
}

UINT messageBoxType(const Message& message) {
    UINT type = message.buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    if (message.icon == MessageIcon::Question) type |= MB_ICONQUESTION;
    if (message.buttons == MessageButtons::YesNo && message.defaultAnswer == MessageAnswer::No)
        type |= MB_DEFBUTTON2;
    return type;
}

MessageAnswer answerOf(int result) {
    switch (result) {
        case IDYES: return MessageAnswer::Yes;
        case IDNO: return MessageAnswer::No;
        default: return MessageAnswer::Ok;
    }
}

constexpr UINT_PTR kWatchRetryTimer = 1;
constexpr UINT_PTR kAfterFirstFrameTimer = 2;
constexpr UINT_PTR kModalLoopTimer = 3;
constexpr UINT kWatchRetryMs = 1000;  // while the IDE's key is missing
constexpr UINT kModalLoopMs = 200;

int heightOf(const RECT& rect) {
    return rect.bottom - rect.top;
}

void moveTo(HWND control, const RECT& rect) {
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, heightOf(rect),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

int closedHeight(HWND combo) {
    return heightOf(rectInParent(combo));
}

// The closed box's height follows its selection field. What the box adds around
// the field differs between systems (and some store the field height with an
// offset), so set it once, measure, then set the exact value.
void fitClosedComboHeight(HWND combo, int height) {
    if (closedHeight(combo) == height) return;
    const auto field = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    const int frame = closedHeight(combo) - field;
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - frame);
}

}  // namespace

MainWindow::MainWindow(MainWindowSeams seams) : seams_(std::move(seams)) {
    if (!seams_.showMessage) {
        seams_.showMessage = [this](const Message& message) {
            return answerOf(MessageBoxW(window_, message.text.c_str(), kApplicationTitle,
                                        messageBoxType(message)));
        };
    }
    if (!seams_.folderDialog) seams_.folderDialog = showFolderDialog;
    if (!seams_.nameControl) {
        seams_.nameControl = [this](HWND control, const std::wstring& name) {
            if (!accessibleNames_) accessibleNames_.emplace();
            accessibleNames_->set(control, name);
        };
    }
    // The box and the dialog run loops of their own, which the program's loop does not see.
    seams_.showMessage = [this, show = std::move(seams_.showMessage)](const Message& message) {
        const ModalLoop loop(*this);
        return show(message);
    };
    seams_.folderDialog = [this, dialog = std::move(seams_.folderDialog)](HWND owner, const std::wstring& title) {
        const ModalLoop loop(*this);
        return dialog(owner, title);
    };
}

bool MainWindow::registerClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TRELVANE),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_TRELVANE), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
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
    return CreateWindowExW(kWindowExStyle, kWindowClass, kWindowCaption, kWindowStyle, CW_USEDEFAULT,
                           CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, &self);
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<std::unique_ptr<MainWindow>*>(
            reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
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
        case WM_CREATE:
            return onCreate() ? 0 : -1;
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_ACTIVATE:
            // As a dialog does: remember the focused control when another window
            // takes over, and give it back on return.
            if (LOWORD(wParam) == WA_INACTIVE) rememberFocus();
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_SYSCOMMAND:
            // Minimising takes the focus away before the window is deactivated.
            if ((wParam & 0xFFF0) == SC_MINIMIZE) rememberFocus();
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_SHOWWINDOW:
            if (!wParam) rememberFocus();
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_SETFOCUS:
            SetFocus(focusedControl_ && IsWindowEnabled(focusedControl_) ? focusedControl_ : controls_.schema);
            return 0;
        case WM_MENUCHAR:
            return onMenuChar(static_cast<wchar_t>(LOWORD(wParam)), wParam, lParam);
        case WM_DPICHANGED:
            onDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_GETDPISCALEDSIZE:
            // The exact size at the new DPI, so the rectangle Windows suggests is right.
            *reinterpret_cast<SIZE*>(lParam) = windowSize(formVisualsAt(static_cast<UINT>(wParam)).layout,
                                                          static_cast<UINT>(wParam));
            return TRUE;
        case WM_SETCURSOR:
            // The mouse is over the window (the controls pass this on to it first).
            toolTips_.create(window_, controls_);
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_DROPFILES:
            onDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_NOTIFY:
            if (reinterpret_cast<NMHDR*>(lParam)->code == TTN_GETDISPINFOW)
                toolTips_.onTipText(*reinterpret_cast<NMTTDISPINFOW*>(lParam));
            return 0;
        case kRegistryChanged:
            onRegistryChanged();
            return 0;
        case WM_ENTERMENULOOP:
        case WM_ENTERSIZEMOVE:
            enterModalLoop();
            return 0;
        case WM_EXITMENULOOP:
        case WM_EXITSIZEMOVE:
            leaveModalLoop();
            return 0;
        case WM_TIMER:
            if (wParam == kWatchRetryTimer || (wParam == kModalLoopTimer && ideKeyWatch_.changed()))
                onRegistryChanged();
            if (wParam == kAfterFirstFrameTimer) afterFirstFrame();
            return 0;
        case WM_GETOBJECT:
            nameControls();
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_SETTINGCHANGE:
            onSettingChange(wParam);
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // At logoff the process may be ended without WM_DESTROY: store now.
            if (wParam && started_) table_.saveReg();
            return 0;
        case WM_DESTROY:
            onDestroy();
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

// Only what the first frame shows happens here; the rest follows once it is painted.
bool MainWindow::onCreate() {
    dpi_ = windowDpi(window_);
    FormVisuals visuals = formVisualsAt(dpi_);
    if (!createControls(visuals)) return false;
    acceptDrops(window_);
    applyVisuals(std::move(visuals));

    table_.regKey = kIdeKey;
    table_.getSch();
    SendMessageW(controls_.schema, CB_SETCURSEL, 0, 0);
    onSchemaSelected();  // setting the index by program does not notify, so run it here
    showActive();
    // A timer comes only when no other message waits, so after the first paint.
    SetTimer(window_, kAfterFirstFrameTimer, 0, nullptr);
    started_ = true;
    return true;
}

// The watch is armed, then the key read again, so that a change since the start is not
// missed. The annotation service is slow to load: the names follow here, or at once
// when a screen reader asks earlier.
void MainWindow::afterFirstFrame() {
    KillTimer(window_, kAfterFirstFrameTimer);
    onRegistryChanged();
    nameControls();
}

// Created where the layout puts them, so that the first layout moves none of them.
bool MainWindow::createControls(const FormVisuals& visuals) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    for (const ControlDefinition& row : kForm) {
        if (!createHiddenLabel(row, instance)) return false;
        RECT rect = controlRect(row, visuals.layout);
        // A list's entries are a line of its font high.
        if (row.id == kSchema) rect = listWindow_ = droppedListRect(rect, lineHeight(visuals.messageFont.get()), dpi_);
        HWND control = CreateWindowExW(row.exStyle, row.className, row.text, WS_CHILD | WS_VISIBLE | row.style,
                                       rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, window_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        if (!control) return false;
        controls_.*row.handle = control;
    }
    // "Aktuell" lies above "Modulschema" where the two frames share a pixel row: a
    // themed group box draws its edge on its last row. Neither frame takes the focus,
    // so the tab order stays as created.
    SetWindowPos(controls_.frame2, GetWindow(controls_.frame1, GW_HWNDPREV), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    for (const wchar_t* name : kSchemaNames)
        SendMessageW(controls_.schema, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(controls_.schema, CB_SETMINVISIBLE, kSchemaEntries, 0);
    // A stored path may be longer than the default limit (about 32 K characters),
    // which would block typing in such a box.
    SendMessageW(controls_.systemPath, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(controls_.commonPath, EM_SETLIMITTEXT, 0, 0);
    return true;
}

// Screen readers name a box or a list by the static text just before it in z-order;
// an invisible one names it without changing the look. Buttons take their name from
// their own text, so for them only the annotation of nameControls counts.
bool MainWindow::createHiddenLabel(const ControlDefinition& row, HINSTANCE instance) {
    if (!row.accessibleName || row.className == std::wstring_view(WC_BUTTONW)) return true;
    return CreateWindowExW(0, WC_STATICW, row.accessibleName, WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0, window_, nullptr,
                           instance, nullptr) != nullptr;
}

void MainWindow::nameControls() {
    if (named_ || !started_) return;
    named_ = true;
    for (const ControlDefinition& row : kForm)
        if (row.accessibleName) seams_.nameControl(controls_.*row.handle, row.accessibleName);
}

// Everything that depends on the DPI or the system's metrics, for creation and
// every change alike.
void MainWindow::refreshVisuals() {
    applyVisuals(formVisualsAt(dpi_));
}

void MainWindow::applyVisuals(FormVisuals visuals) {
    const UINT dpi = dpi_;
    const UINT layout = visuals.layout;
    // The old fonts and icons go only after the controls and the window have taken
    // the new ones.
    UniqueFont messageFont = std::move(visuals.messageFont);
    UniqueFont browseButtonFont = std::move(visuals.browseButtonFont);

    // The class's icons are sized for the system DPI; at any other DPI the window
    // takes its own.
    UniqueIcon bigIcon, smallIcon;
    if (dpi != systemDpi() || bigIcon_) {
        const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
        bigIcon = loadIconForDpi(instance, IDI_TRELVANE, SM_CXICON, dpi);
        smallIcon = loadIconForDpi(instance, IDI_TRELVANE, SM_CXSMICON, dpi);
        SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    }

    resizeWindow(windowSize(layout, dpi));

    for (const ControlDefinition& row : kForm) {
        HWND child = controls_.*row.handle;
        HFONT font = row.font == FontKind::BrowseButton ? browseButtonFont.get() : messageFont.get();
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        const RECT rect = controlRect(row, layout);
        if (row.id != kSchema) {
            if (const RECT now = rectInParent(child); !EqualRect(&now, &rect)) moveTo(child, rect);
            continue;
        }
        // Moving the list is costly, and the rectangle it was given is not one it reports.
        const auto item = static_cast<int>(SendMessageW(child, CB_GETITEMHEIGHT, 0, 0));
        if (const RECT window = droppedListRect(rect, item, dpi); !EqualRect(&window, &listWindow_))
            moveTo(child, listWindow_ = window);
        fitClosedComboHeight(child, heightOf(rect));  // last, as a resize may reset it
    }
    activeCaption_.fit(controls_.frame2);
    messageFont_ = std::move(messageFont);
    browseButtonFont_ = std::move(browseButtonFont);
    bigIcon_ = std::move(bigIcon);
    smallIcon_ = std::move(smallIcon);
    toolTips_.moveTools();
    InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::resizeWindow(SIZE size) {
    // A minimised window comes back at its restored rectangle, so that is what must
    // fit the layout.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (IsIconic(window_) && GetWindowPlacement(window_, &placement)) {
        RECT& restored = placement.rcNormalPosition;
        restored.right = restored.left + size.cx;
        restored.bottom = restored.top + size.cy;
        placement.showCmd = SW_SHOWMINNOACTIVE;
        SetWindowPlacement(window_, &placement);
        return;
    }
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    bool fontChanged = false;
    LOGFONTW inUse{};
    if (const std::optional<LOGFONTW> now = messageLogFont(dpi_))
        fontChanged = GetObjectW(messageFont_.get(), sizeof(inUse), &inUse) != sizeof(inUse) || !sameFont(*now, inUse);
    if (what == SPI_SETNONCLIENTMETRICS || fontChanged) refreshVisuals();
}

// Where the system compares a non-ASCII access key by case (Alt+Shift+Ü), the key
// arrives here unmatched. The click is posted so that it runs once the menu loop
// that asked has ended, not inside an open system menu.
LRESULT MainWindow::onMenuChar(wchar_t key, WPARAM wParam, LPARAM lParam) {
    if (!sameLetterIgnoringCase(key, accessKeyOf(windowText(controls_.save).c_str())))
        return DefWindowProcW(window_, WM_MENUCHAR, wParam, lParam);
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(kSave, BN_CLICKED), reinterpret_cast<LPARAM>(controls_.save));
    return MAKELRESULT(0, MNC_CLOSE);
}

void MainWindow::onCommand(int id, int code) {
    // Enter and Esc arrive as IDOK and IDCANCEL; no control carries those ids, so
    // they do nothing.
    switch (id) {
        case kSchema:
            if (code == CBN_SELCHANGE) onSchemaSelected();
            break;
        case kSystemPath:
            if (code == EN_CHANGE) onPathChanged(controls_.systemPath, table_.sysPaths);
            break;
        case kCommonPath:
            if (code == EN_CHANGE) onPathChanged(controls_.commonPath, table_.comPaths);
            break;
        case kGetSysPath:
            if (code == BN_CLICKED) onBrowse(controls_.systemPath, kSystemFolderTitle);
            break;
        case kGetComPath:
            if (code == BN_CLICKED) onBrowse(controls_.commonPath, kCommonFolderTitle);
            break;
        case kSave:
            if (code == BN_CLICKED) onSave();
            break;
        default:
            break;
    }
}

void MainWindow::onSchemaSelected() {
    const int selected = static_cast<int>(SendMessageW(controls_.schema, CB_GETCURSEL, 0, 0));
    if (selected < 0 || selected >= kSchemaCount) return;
    // The index is already the new one, so the change handlers write these texts
    // back into the same schema.
    SetWindowTextW(controls_.systemPath, table_.sysPaths[static_cast<size_t>(selected)].c_str());
    SetWindowTextW(controls_.commonPath, table_.comPaths[static_cast<size_t>(selected)].c_str());
    const BOOL editable = selected != 0;
    for (HWND control : {controls_.systemPath, controls_.getSysPath, controls_.commonPath, controls_.getComPath})
        EnableWindow(control, editable);
    if (editable) completeFolders();
}

// Folder names complete from the file system as the user types, as in the Run dialog.
// Set up when the boxes can first be typed in, not at the start, which it would slow.
// Where the system cannot complete, the boxes stay plain boxes.
void MainWindow::completeFolders() {
    if (completesFolders_) return;
    completesFolders_ = true;
    SHAutoComplete(controls_.systemPath, SHACF_FILESYS_DIRS);
    SHAutoComplete(controls_.commonPath, SHACF_FILESYS_DIRS);
}

void MainWindow::onPathChanged(HWND box, SchemaPaths& paths) {
    writeThrough(paths, static_cast<int>(SendMessageW(controls_.schema, CB_GETCURSEL, 0, 0)), windowText(box));
    activeCaption_.show(controls_.frame2, table_);
}

void MainWindow::onBrowse(HWND box, const std::wstring& title) {
    const std::wstring folder = browseFolder(window_, title, seams_.folderDialog);
    if (!folder.empty()) offerFolder(box, folder);
}

// A module folder goes into the box at once; any other only after the user says so.
void MainWindow::offerFolder(HWND box, const std::wstring& folder) {
    if (!fileExists(markerFilePath(folder))) {
        const Message question{kNoMarkerQuestion, MessageButtons::YesNo, MessageIcon::Question,
                               MessageAnswer::No};
        if (seams_.showMessage(question) != MessageAnswer::Yes) return;
    }
    SetWindowTextW(box, folder.c_str());
}

void MainWindow::onSave() {
    if (applySchema(table_.regKey, windowText(controls_.systemPath), windowText(controls_.commonPath), seams_.showMessage))
        showActive();
}

// The first item of a drop onto a path box that can be edited: a folder, or the
// folder of a file. Anything else, and a drop elsewhere, changes nothing.
void MainWindow::onDropFiles(HDROP drop) {
    const DroppedFolder dropped = takeDrop(drop);
    HWND box = pathBoxAt(dropped.point);
    if (box && !dropped.folder.empty()) offerFolder(box, dropped.folder);
}

// The path box under a point of the client area, while it can be edited.
HWND MainWindow::pathBoxAt(POINT point) const {
    for (HWND box : {controls_.systemPath, controls_.commonPath}) {
        const RECT rect = rectInParent(box);
        if (PtInRect(&rect, point) && IsWindowEnabled(box)) return box;
    }
    return nullptr;
}

// Another program (the IDE, a second copy, a registry editor) changed the IDE's key:
// the labels show what it holds now, and the schemas this copy has not changed too.
void MainWindow::onRegistryChanged() {
    watchIdeKey();
    takeStoredSchemas(table_, controls_);
    showActive();
}

// Armed again after each change, before the values are read, so that no change is
// missed. While the key is missing it is looked for about once a second, as only the
// key itself is ever opened.
void MainWindow::watchIdeKey() {
    if (ideKeyWatch_.arm(HKEY_CURRENT_USER, table_.regKey))
        KillTimer(window_, kWatchRetryTimer);
    else
        SetTimer(window_, kWatchRetryTimer, kWatchRetryMs, nullptr);
}

// The program's loop waits for the watch's event, the loops of a box, a dialog, a menu or a
// move do not: while one runs, a timer looks. A waiting thread would commit 2 MiB under Wine.
void MainWindow::enterModalLoop() {
    if (modalLoops_++ == 0) SetTimer(window_, kModalLoopTimer, kModalLoopMs, nullptr);
}

void MainWindow::leaveModalLoop() {
    if (modalLoops_ > 0 && --modalLoops_ == 0) KillTimer(window_, kModalLoopTimer);
}

HANDLE MainWindow::ideKeyEvent(HWND window) {
    const auto* self = reinterpret_cast<const MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->ideKeyWatch_.event() : nullptr;
}

void MainWindow::showActive() {
    ActiveTexts active = getAkt(table_.regKey);
    SetWindowTextW(controls_.curSys, active.system.c_str());
    SetWindowTextW(controls_.curCom, active.common.c_str());
    activeCaption_.setActive(controls_.frame2, table_, std::move(active.folders));
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
