#include "ui/MainWindow.h"

#include <commctrl.h>

#include <memory>

#include "schemas/Applying.h"
#include "ui/Dpi.h"
#include "ui/FolderPicker.h"
#include "ui/Layout.h"

namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = 0;
constexpr int kApplicationIcon = 1;
constexpr int kSchemaEntries = 6;

constexpr wchar_t kSystemFolderTitle[] = L"Ordner für System-Module wählen...";
constexpr wchar_t kCommonFolderTitle[] = L"Ordner für Gemeinsame Module wählen...";
constexpr wchar_t kNoMarkerQuestion[] =
    L"Im angegebenen Ordner befindet sich keine \"modules.txt\" !"
    L"Wollen Sie den Ordner dennoch auswählen ?";

struct ControlDefinition {
    ControlId id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
};

// Creation order is the tab order. Group boxes come after the controls inside them,
// so they lie below them and WS_CLIPSIBLINGS keeps their painting off them.
constexpr DWORD kTabStop = WS_TABSTOP | WS_GROUP;
constexpr ControlDefinition kControls[] = {
    {kSchema, WC_COMBOBOXW, L"", kTabStop | CBS_DROPDOWNLIST | WS_VSCROLL, 0},
    {kSystemPath, WC_EDITW, L"", kTabStop | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {kGetSysPath, WC_BUTTONW, L"...", kTabStop | BS_PUSHBUTTON, 0},
    {kCommonPath, WC_EDITW, L"", kTabStop | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {kGetComPath, WC_BUTTONW, L"...", kTabStop | BS_PUSHBUTTON, 0},
    {kSave, WC_BUTTONW, L"Schema &übernehmen", kTabStop | BS_PUSHBUTTON, 0},
    {kFrame1, WC_BUTTONW, L"Modulschema", BS_GROUPBOX | WS_CLIPSIBLINGS, 0},
    {kFrame2, WC_BUTTONW, L"Aktuell", BS_GROUPBOX | WS_CLIPSIBLINGS, 0},
    // Paths may hold "&", which must not become an access key.
    {kCurSys, WC_STATICW, L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_PATHELLIPSIS, 0},
    {kCurCom, WC_STATICW, L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_PATHELLIPSIS, 0},
    {kLabel1, WC_STATICW, L"\u00A9 2026 Trelvane-Team \u2013 Modulpfade mit einem Klick umschalten",
     SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_ENDELLIPSIS, 0},
};

constexpr const wchar_t* kSchemaNames[kSchemaEntries] = {L"Standard", L"Schema 1", L"Schema 2",
                                                         L"Schema 3", L"Schema 4", L"Schema 5"};

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
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

// The closed box's height follows its selection field. What the box adds around
// the field differs between systems (and some store the field height with an
// offset), so set it once, measure, then set the exact value.
void fitClosedComboHeight(HWND combo, int height) {
    const auto field = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    RECT closed{};
    GetWindowRect(combo, &closed);
    const int frame = (closed.bottom - closed.top) - field;
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
}

bool MainWindow::registerClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kApplicationIcon),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kApplicationIcon), IMAGE_ICON,
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
    return CreateWindowExW(kWindowExStyle, kWindowClass, L"Trelvane V1.0", kWindowStyle,
                           CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, &self);
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
    const LRESULT result = self->handleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete self;
    }
    return result;
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            onCreate();
            return 0;
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_ACTIVATE:
            // As a dialog does: remember the focused control when another window
            // takes over, and give it back on return.
            if (LOWORD(wParam) == WA_INACTIVE) rememberFocus();
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_SETFOCUS:
            SetFocus(focusedControl_ && IsWindowEnabled(focusedControl_) ? focusedControl_ : schema_);
            return 0;
        case WM_MENUCHAR:
            // Alt+Shift+Ü: an access key IsDialogMessage left unmatched because the
            // system compared the non-ASCII letter by case.
            if (CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(LOWORD(wParam)))) ==
                reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(L'\u00DC'))) {
                SendMessageW(save_, BM_CLICK, 0, 0);
                return MAKELRESULT(0, MNC_CLOSE);
            }
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_DPICHANGED:
            onDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // At logoff the process may be ended without WM_DESTROY: store now.
            if (wParam) table_.saveReg();
            return 0;
        case WM_DESTROY:
            onDestroy();
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void MainWindow::onCreate() {
    createControls();
    applyDpi(windowDpi(window_));

    table_.regKey = kIdeKey;
    table_.getSch();
    SendMessageW(schema_, CB_SETCURSEL, 0, 0);
    onSchemaSelected();  // setting the index by program does not notify, so run it here
    showActive();
}

void MainWindow::createControls() {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    for (const ControlDefinition& definition : kControls) {
        HWND control = CreateWindowExW(definition.exStyle, definition.className, definition.text,
                                       WS_CHILD | WS_VISIBLE | definition.style, 0, 0, 0, 0, window_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(definition.id)),
                                       instance, nullptr);
        switch (definition.id) {
            case kSchema: schema_ = control; break;
            case kSystemPath: systemPath_ = control; break;
            case kGetSysPath: getSysPath_ = control; break;
            case kCommonPath: commonPath_ = control; break;
            case kGetComPath: getComPath_ = control; break;
            case kSave: save_ = control; break;
            case kCurSys: curSys_ = control; break;
            case kCurCom: curCom_ = control; break;
            default: break;
        }
    }
    for (const wchar_t* name : kSchemaNames)
        SendMessageW(schema_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(schema_, CB_SETMINVISIBLE, kSchemaEntries, 0);
    // A stored path may be longer than the default limit (about 32 K characters),
    // which would block typing in such a box.
    SendMessageW(systemPath_, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(commonPath_, EM_SETLIMITTEXT, 0, 0);
}

void MainWindow::applyDpi(UINT dpi) {
    // The old fonts go only after every control has taken the new ones.
    UniqueFont messageFont = createMessageFont(dpi);
    UniqueFont browseButtonFont = createPointFont(L"MS Sans Serif", 975, dpi);

    const SIZE window = windowSizeForClient(clientSize(dpi), kWindowStyle, kWindowExStyle, dpi);
    SetWindowPos(window_, nullptr, 0, 0, window.cx, window.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    for (const ControlLayout& control : kControlLayout) {
        HWND child = GetDlgItem(window_, control.id);
        const bool browseButton = control.id == kGetSysPath || control.id == kGetComPath;
        SendMessageW(child, WM_SETFONT,
                     reinterpret_cast<WPARAM>(browseButton ? browseButtonFont.get() : messageFont.get()),
                     FALSE);
        const RECT rect = controlRect(control.id, dpi);
        int height = rect.bottom - rect.top;
        if (control.id == kSchema) {
            fitClosedComboHeight(child, height);
            // Room for the whole list on systems that size the list from the window.
            const int item = static_cast<int>(SendMessageW(child, CB_GETITEMHEIGHT, 0, 0));
            height += item * kSchemaEntries + 2 * GetSystemMetrics(SM_CYEDGE);
        }
        SetWindowPos(child, nullptr, rect.left, rect.top, rect.right - rect.left, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    messageFont_ = std::move(messageFont);
    browseButtonFont_ = std::move(browseButtonFont);
    InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::onDpiChanged(UINT dpi, const RECT& suggested) {
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    applyDpi(dpi);
}

void MainWindow::onCommand(int id, int code) {
    // Enter and Esc arrive as IDOK and IDCANCEL; no control carries those ids, so
    // they do nothing.
    switch (id) {
        case kSchema:
            if (code == CBN_SELCHANGE) onSchemaSelected();
            break;
        case kSystemPath:
            if (code == EN_CHANGE) onPathChanged(systemPath_, table_.sysPaths);
            break;
        case kCommonPath:
            if (code == EN_CHANGE) onPathChanged(commonPath_, table_.comPaths);
            break;
        case kGetSysPath:
            if (code == BN_CLICKED) onBrowse(systemPath_, kSystemFolderTitle);
            break;
        case kGetComPath:
            if (code == BN_CLICKED) onBrowse(commonPath_, kCommonFolderTitle);
            break;
        case kSave:
            if (code == BN_CLICKED) onSave();
            break;
        default:
            break;
    }
}

void MainWindow::onSchemaSelected() {
    const int selected = static_cast<int>(SendMessageW(schema_, CB_GETCURSEL, 0, 0));
    if (selected < 0 || selected >= kSchemaCount) return;
    // The index is already the new one, so the change handlers write these texts
    // back into the same schema.
    SetWindowTextW(systemPath_, table_.sysPaths[static_cast<size_t>(selected)].c_str());
    SetWindowTextW(commonPath_, table_.comPaths[static_cast<size_t>(selected)].c_str());
    const BOOL editable = selected != 0;
    for (HWND control : {systemPath_, getSysPath_, commonPath_, getComPath_})
        EnableWindow(control, editable);
}

void MainWindow::onPathChanged(HWND box, SchemaPaths& paths) {
    writeThrough(paths, static_cast<int>(SendMessageW(schema_, CB_GETCURSEL, 0, 0)), windowText(box));
}

void MainWindow::onBrowse(HWND box, const std::wstring& title) {
    const std::wstring folder = browseFolder(window_, title, seams_.folderDialog);
    if (folder.empty()) return;
    if (!fileExists(markerFilePath(folder))) {
        const Message question{kNoMarkerQuestion, MessageButtons::YesNo, MessageIcon::Question,
                               MessageAnswer::No};
        if (seams_.showMessage(question) != MessageAnswer::Yes) return;
    }
    SetWindowTextW(box, folder.c_str());
}

void MainWindow::onSave() {
    if (applySchema(table_.regKey, windowText(systemPath_), windowText(commonPath_), seams_.showMessage))
        showActive();
}

void MainWindow::showActive() {
    const ActiveTexts active = getAkt(table_.regKey);
    SetWindowTextW(curSys_, active.system.c_str());
    SetWindowTextW(curCom_, active.common.c_str());
}

void MainWindow::rememberFocus() {
    HWND focus = GetFocus();
    if (focus && IsChild(window_, focus)) focusedControl_ = focus;
}

void MainWindow::onDestroy() {
    table_.saveReg();
    PostQuitMessage(0);
}
