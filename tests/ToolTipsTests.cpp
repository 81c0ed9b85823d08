// The window's tooltips: the whole current texts, also over the disabled "Standard" boxes.
#include <windows.h>

#include <commctrl.h>

#include <set>
#include <string>

#include "RegistrySandbox.h"
#include "WindowHarness.h"

class ToolTipsTest : public RegistrySandbox {};

TEST_F(ToolTipsTest, TooltipsShowTheWholeCurrentTexts) {
    putRaw(kIdeSystemValue, REG_SZ, "C:\\Sys");
    TestWindow ui;
    ASSERT_TRUE(ui.handle());
    EXPECT_FALSE(toolTipOf(ui.handle())) << "made before the mouse came";
    // As the system asks when the mouse moves over a control.
    SendMessageW(ui.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(ui.item(kCurSys)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    HWND toolTip = toolTipOf(ui.handle());
    ASSERT_TRUE(toolTip);
    // Windows breaks a tip at "\r\n" only where it has a maximum width (-1: none set).
    EXPECT_NE(SendMessageW(toolTip, TTM_GETMAXTIPWIDTH, 0, 0), -1);

    std::set<HWND> tools;
    const auto count = static_cast<UINT>(SendMessageW(toolTip, TTM_GETTOOLCOUNT, 0, 0));
    for (UINT i = 0; i < count; ++i) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        if (SendMessageW(toolTip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool)) && (tool.uFlags & TTF_IDISHWND))
            tools.insert(reinterpret_cast<HWND>(tool.uId));
    }
    EXPECT_EQ(tools, (std::set<HWND>{ui.item(kCurSys), ui.item(kCurCom), ui.item(kSystemPath), ui.item(kCommonPath),
                                     ui.item(kGetSysPath), ui.item(kGetComPath)}));

    const auto tip = [&](ControlId id) {
        return tipOf(toolTip, ui.handle(), reinterpret_cast<UINT_PTR>(ui.item(id)));
    };
    EXPECT_EQ(tip(kGetSysPath), L"Ordner für System-Module wählen...");
    EXPECT_EQ(tip(kGetComPath), L"Ordner für Gemeinsame Module wählen...");
    EXPECT_EQ(tip(kCurSys), L"SystemModule: C:\\Sys");
    EXPECT_EQ(tip(kCurCom), L"Gemeinsame Module: leer");

    ui.select(1);
    ui.setText(kSystemPath, L"C:\\kurz");
    EXPECT_EQ(tip(kSystemPath), L"");  // the box shows it all: no tip
    const std::wstring longPath = L"C:\\" + std::wstring(300, L'x') + L"\\Ende";
    ui.setText(kSystemPath, longPath);
    EXPECT_EQ(tip(kSystemPath), longPath);

    ui.setText(kCommonPath, L"D:\\Neu");
    ui.setText(kSystemPath, L"C:\\Neu");
    ui.click(kSave);  // the labels change, and so do their tips
    EXPECT_EQ(tip(kCurSys), L"SystemModule: C:\\Neu");
    EXPECT_EQ(tip(kCurCom), L"Gemeinsame Module: D:\\Neu");
}

// A disabled box gets no mouse input: the window beneath it does, and has a tool for
// the box's area that follows the layout. "Standard" shows both boxes disabled.
TEST_F(ToolTipsTest, TooltipsShowAWholeStandardPathOverTheDisabledBox) {
    const std::string longPath = "C:\\" + std::string(300, 'x');
    putRaw(kIdeSystemValue, REG_SZ, longPath);
    TestWindow ui;
    ASSERT_TRUE(ui.handle());
    // Shown above other windows without taking the foreground, which Windows may refuse.
    SetWindowPos(ui.handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SendMessageW(ui.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(ui.handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    HWND toolTip = toolTipOf(ui.handle());
    ASSERT_TRUE(toolTip);
    ASSERT_FALSE(IsWindowEnabled(ui.item(kSystemPath)));

    RECT suggested{};  // the tools move with the boxes
    GetWindowRect(ui.handle(), &suggested);
    SendMessageW(ui.handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    for (ControlId id : {kSystemPath, kCommonPath}) {
        TTHITTESTINFOW hit{};
        hit.hwnd = ui.handle();
        hit.pt = centreOf(ui.item(id));
        POINT onScreen = hit.pt;
        ClientToScreen(ui.handle(), &onScreen);
        // WindowFromPoint hit-tests as mouse input does.
        HWND underMouse = WindowFromPoint(onScreen);
        DWORD owner = 0;
        GetWindowThreadProcessId(underMouse, &owner);
        if (owner != GetCurrentProcessId()) GTEST_SKIP() << "another program's window lies over the box";
        EXPECT_EQ(underMouse, ui.handle()) << id;
        hit.ti.cbSize = sizeof(hit.ti);
        ASSERT_TRUE(SendMessageW(toolTip, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit))) << id;
        EXPECT_EQ(hit.ti.uId, static_cast<UINT_PTR>(id));
    }
    EXPECT_EQ(tipOf(toolTip, ui.handle(), kSystemPath), std::wstring(longPath.begin(), longPath.end()));
}
