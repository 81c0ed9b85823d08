// Marks on folder texts that would not give the IDE a module folder.
#include <windows.h>

#include <dbt.h>

#include <atomic>
#include <memory>
#include <string>

#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "schemas/FolderCheck.h"
#include "schemas/FolderText.h"
#include "store/UniqueHandle.h"
#include "ui/FolderMarks.h"
#include "ui/WindowIds.h"

class FolderMarksTest : public RegistrySandbox {};

// A folder that is not there is red, with the reason first in its tip, in a box and in
// "Aktuell"; a module folder keeps the system's colour and tip. The disabled "Standard"
// boxes keep the system's grey: the tip is their mark.
TEST_F(FolderMarksTest, AMissingFolderIsMarkedAndAModuleFolderIsNot) {
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

    // A disk pulled out or plugged in again: unseen until Windows tells the window.
    ASSERT_TRUE(DeleteFileW(markerFilePath(module).c_str()) && RemoveDirectoryW(module.c_str()));
    SendMessageW(ui.handle(), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
    EXPECT_EQ(tip(kCurSys), L"Ordner nicht gefunden\r\nSystemModule: " + module);
    scratch.file(markerFilePath(scratch.folder(L"Modul")));
    SendMessageW(ui.handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    EXPECT_EQ(tip(kCurSys), L"SystemModule: " + module);
}

namespace {

// Hands the marks the next check that ends on the thread pool, as the window does; false
// when none ends within 5 s.
bool deliverNextCheck(FolderMarks& marks, HWND window) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 5000;) {
        MSG message;
        if (PeekMessageW(&message, window, kFolderChecked, kFolderChecked, PM_REMOVE)) {
            marks.onChecked(message.lParam);
            return true;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
    }
    return false;
}

}  // namespace

// E: is not the system drive: its checks run on the thread pool. E:\Alt answers only when
// released, E:\Neu at once, without a marker file.
TEST(FolderMarks, OneLookUpPerBoxAtATimeAndTheNewestTextsMark) {
    struct Drive {
        UniqueKernelHandle looking{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
        UniqueKernelHandle released{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        std::atomic<int> looks{0};
    };
    const auto drive = std::make_shared<Drive>();
    const FileSystem slowDrive{[drive](const std::wstring& path) {
                                   ++drive->looks;
                                   if (path != L"E:\\Alt") return true;
                                   SetEvent(drive->looking.get());
                                   WaitForSingleObject(drive->released.get(), 10000);
                                   return false;
                               },
                               [](const std::wstring&) { return false; },
                               [](const std::wstring&) { return PathEntry::Plain; }, L"C:\\"};
    HWND window = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HWND box = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window && box);
    FolderMarks marks([](HWND, const std::wstring&) {}, slowDrive);
    marks.start(window);
    marks.show(box, L"E:\\Alt");
    ASSERT_EQ(WaitForSingleObject(drive->looking.get(), 5000), WAIT_OBJECT_0);
    marks.checkAll();  // as when the user is back in the window, or a device came
    marks.show(box, L"E:\\Neu");
    Sleep(300);
    EXPECT_EQ(drive->looks, 1) << "another look-up started while one waited";
    SetEvent(drive->released.get());
    ASSERT_TRUE(deliverNextCheck(marks, window));
    EXPECT_STREQ(marks.reasonFor(box), nullptr) << "E:\\Alt's mark on E:\\Neu";
    ASSERT_TRUE(deliverNextCheck(marks, window));
    EXPECT_STREQ(marks.reasonFor(box), markText(FolderMark::NoMarker)) << "not the newest text's mark";
    DestroyWindow(box);
    DestroyWindow(window);
}
