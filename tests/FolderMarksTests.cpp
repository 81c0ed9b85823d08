// Marks on folder texts that would not give the IDE a module folder.
#include <windows.h>

#include <string>

#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "schemas/FolderText.h"

// A folder that is not there is red, with the reason first in its tip, in a box and in
// "Aktuell"; a module folder keeps the system's colour and tip. The disabled "Standard"
// boxes keep the system's grey: the tip is their mark.
TEST_F(RegistrySandbox, AMissingFolderIsMarkedAndAModuleFolderIsNot) {
    ScratchFolders scratch;
    const std::wstring module = scratch.folder(L"Modul"), missing = scratch.root() + L"\\Fehlt";
    scratch.file(markerFilePath(module));
    putWide(kIdeSystemValue, module);
    putWide(kIdeCommonValue, missing);
    TestWindow ui;
    ASSERT_TRUE(ui.handle());
    finishStart();
    SendMessageW(ui.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(ui.handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    HWND toolTip = toolTipOf(ui.handle());
    ASSERT_TRUE(toolTip);
    const auto tip = [&](ControlId id) {
        return tipOf(toolTip, ui.handle(), reinterpret_cast<UINT_PTR>(ui.item(id)));
    };
    const auto textColour = [&](UINT message, ControlId id) {
        HDC dc = GetDC(ui.item(id));
        SendMessageW(ui.handle(), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ui.item(id)));
        const COLORREF colour = GetTextColor(dc);
        ReleaseDC(ui.item(id), dc);
        return colour;
    };
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0);
    const COLORREF red = contrast.dwFlags & HCF_HIGHCONTRASTON ? GetSysColor(COLOR_WINDOWTEXT) : RGB(196, 43, 28);

    EXPECT_EQ(tip(kCurSys), L"SystemModule: " + module);
    EXPECT_EQ(tip(kCurCom), L"Ordner nicht gefunden\r\nGemeinsame Module: " + missing);
    EXPECT_EQ(textColour(WM_CTLCOLORSTATIC, kCurSys), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(textColour(WM_CTLCOLORSTATIC, kCurCom), red);
    EXPECT_EQ(tipOf(toolTip, ui.handle(), kSystemPath), L"");  // over the disabled "Standard" boxes
    EXPECT_EQ(tipOf(toolTip, ui.handle(), kCommonPath), L"Ordner nicht gefunden");
    EXPECT_EQ(textColour(WM_CTLCOLORSTATIC, kCommonPath), GetSysColor(COLOR_WINDOWTEXT)) << "disabled: the system's";

    ui.select(1);
    ui.setText(kSystemPath, missing);  // marked once typing pauses
    ui.setText(kCommonPath, module);
    Sleep(400);
    drainMessages();
    EXPECT_EQ(tip(kSystemPath), L"Ordner nicht gefunden");
    EXPECT_EQ(tip(kCommonPath), L"");
    EXPECT_EQ(textColour(WM_CTLCOLOREDIT, kSystemPath), red);
    EXPECT_EQ(textColour(WM_CTLCOLOREDIT, kCommonPath), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"SysPath1", L"fehlt"), L"fehlt") << "a mark stores nothing";
}
