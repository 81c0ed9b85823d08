// The reference for Trelvane's start-up: the same eleven standard controls on a form
// of the same size, with the same IDs, a message font and Common Controls 6, but no
// logic at all. What Trelvane costs beyond this is its own work.
#include <windows.h>

#include <commctrl.h>

#include "FormIds.h"
#include "ui/Dpi.h"

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kClientWidth = 418;
constexpr int kClientHeight = 225;

struct Control {
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
    int id;
    RECT bounds;  // left, top, right, bottom in client pixels
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const Control kControls[] = {
    {WC_STATICW, L"Schema:", kChild, 0, kLabel1, {8, 12, 68, 28}},
    {WC_COMBOBOXW, L"", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, kSchema,
     {72, 8, 252, 208}},
    {WC_BUTTONW, L"Schema übernehmen", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, kSave,
     {264, 7, 410, 31}},
    {WC_BUTTONW, L"System-Module", kChild | BS_GROUPBOX, 0, kFrame1, {8, 40, 410, 124}},
    {WC_EDITW, L"", kChild | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kSystemPath,
     {16, 60, 346, 82}},
    {WC_BUTTONW, L"...", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, kGetSysPath,
     {352, 59, 402, 83}},
    {WC_STATICW, L"Aktuell:", kChild, 0, kCurSys, {16, 92, 402, 108}},
    {WC_BUTTONW, L"Gemeinsame Module", kChild | BS_GROUPBOX, 0, kFrame2, {8, 132, 410, 216}},
    {WC_EDITW, L"", kChild | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kCommonPath,
     {16, 152, 346, 174}},
    {WC_BUTTONW, L"...", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, kGetComPath,
     {352, 151, 402, 175}},
    {WC_STATICW, L"Aktuell:", kChild, 0, kCurCom, {16, 184, 402, 200}},
};

const wchar_t* const kSchemaNames[] = {L"Standard", L"Schema 1", L"Schema 2",
                                       L"Schema 3", L"Schema 4", L"Schema 5"};

bool createControls(HWND form, HINSTANCE instance, HFONT font) {
    for (const Control& control : kControls) {
        const RECT& r = control.bounds;
        HWND child = CreateWindowExW(control.exStyle, control.className, control.text, control.style,
                                     r.left, r.top, r.right - r.left, r.bottom - r.top, form,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                     instance, nullptr);
        if (!child) return false;
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    HWND schema = GetDlgItem(form, kSchema);
    for (const wchar_t* name : kSchemaNames)
        SendMessageW(schema, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(schema, CB_SETCURSEL, 0, 0);
    return true;
}

LRESULT CALLBACK formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // The version 6 control classes live in comctl32, which a themed program loads.
    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&commonControls);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = formProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kControlsClass;
    if (!RegisterClassExW(&windowClass)) return 1;

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    UniqueFont font(CreateFontIndirectW(&metrics.lfMessageFont));

    RECT outer{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&outer, kFormStyle, FALSE, 0);
    HWND form = CreateWindowExW(0, kControlsClass, L"Bench controls", kFormStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                                nullptr, nullptr, instance, nullptr);
    if (!form || !createControls(form, instance, font.get())) return 1;
    ShowWindow(form, showCommand);
    UpdateWindow(form);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(form, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
