// The reference for Trelvane's start-up: the form's controls from the same table, at the
// same layout, with the same fonts, window style and schema entries, the same manifest,
// COM and system DLLs, but no logic at all. What Trelvane costs beyond this is its own work.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "bench/BenchClasses.h"
#include "ui/Dpi.h"
#include "ui/Form.h"
#include "ui/Layout.h"

namespace {

struct FormFonts {
    UniqueFont message;
    UniqueFont browseButton;
};

bool createControls(HWND form, HINSTANCE instance, const FormFonts& fonts, UINT dpi) {
    for (const ControlDefinition& row : kForm) {
        const RECT rect = controlRect(row, dpi);
        HWND control = CreateWindowExW(row.exStyle, row.className, row.text, WS_CHILD | WS_VISIBLE | row.style,
                                       rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, form,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
        if (!control) return false;
        HFONT font = row.font == FontKind::BrowseButton ? fonts.browseButton.get() : fonts.message.get();
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    HWND schema = GetDlgItem(form, kSchema);
    for (const wchar_t* name : kSchemaNames) SendMessageW(schema, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
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

int runForm(HINSTANCE instance, int showCommand) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = formProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kControlsClass;
    if (!RegisterClassExW(&windowClass)) return 1;

    HWND form = CreateWindowExW(kWindowExStyle, kControlsClass, L"Bench controls", kWindowStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!form) return 1;
    // The size follows the window's own DPI, which is known only once it exists.
    const UINT dpi = windowDpi(form);
    const SIZE size = windowSizeForClient(clientSize(dpi), kWindowStyle, kWindowExStyle, dpi);
    SetWindowPos(form, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Kept until the message loop ends, when the window has destroyed its controls.
    const FormFonts fonts{createMessageFont(dpi), createPointFont(L"MS Sans Serif", 975, dpi)};
    if (!createControls(form, instance, fonts, dpi)) return 1;
    // Trelvane imports shell32 and shlwapi, so both load at its start; a call into each
    // that changes nothing makes this program import and load them too.
    DragAcceptFiles(form, FALSE);
    PathIsRelativeW(L"");
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

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // The version 6 control classes live in comctl32, which a themed program loads.
    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&commonControls);
    // COM on the window's thread, as Trelvane starts it.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const int exitCode = runForm(instance, showCommand);
    if (SUCCEEDED(com)) CoUninitialize();
    return exitCode;
}
