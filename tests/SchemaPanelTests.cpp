// The frame "Modulschema" and the tips of the window: folders dropped from the file
// manager, paths read in full in a tooltip, completed while typing, marked where they
// are not module folders.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "CodePage.h"
#include "ImportHook.h"
#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "schemas/FolderText.h"
#include "schemas/SchemaTable.h"
#include "store/RegistryString.h"
#include "ui/FolderPicker.h"

namespace {

const std::wstring kMissing = L"<fehlt>";

std::wstring stored(const std::wstring& name) {
    return regGetString(HKEY_CURRENT_USER, kIdeKey, name, kMissing);
}

// A drop as the file manager hands it over: the items' paths in Unicode and the point
// in the client area of the window it was dropped on.
HDROP makeDrop(POINT point, const std::vector<std::wstring>& items) {
    size_t characters = 1;
    for (const auto& item : items) characters += item.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = point;
    drop->fNC = FALSE;
    drop->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(drop + 1);
    for (const auto& item : items) text = std::copy(item.begin(), item.end(), text) + 1;
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

POINT centreOf(HWND control) {
    const RECT rect = rectInParent(control);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

struct DropCase {
    const char* label;
    // below the scratch folder, unless from a drive root; "*" stands for a name outside the code page
    std::vector<std::wstring> items;
    ControlId target;
    int schema;
    MessageAnswer answer;
    std::wstring taken;  // below the scratch folder; "" when the box keeps "leer"
    size_t questions;
};

void PrintTo(const DropCase& c, std::ostream* os) {
    *os << c.label;
}

class DropTest : public RegistrySandbox, public ::testing::WithParamInterface<DropCase> {
protected:
    void SetUp() override {
        RegistrySandbox::SetUp();
        scratch_.file(markerFilePath(scratch_.folder(L"Modul")));
        scratch_.file(scratch_.folder(L"Ohne") + L"\\liesmich.txt");
        scratch_.file(markerFilePath(scratch_.folder(foreignText())));
        if (GetParam().items[0] != DriveRootMarker::kPath) return;
        driveRoot_ = std::make_unique<DriveRootMarker>();
        if (!driveRoot_->exists()) GTEST_SKIP() << kNoDriveRoot;
    }
    std::wstring path(const std::wstring& item) const {
        if (item.find(L":\\") == 1) return item;  // from a drive root
        return scratch_.root() + L"\\" + (item == L"*" ? foreignText() : item);
    }

    ScratchFolders scratch_;
    std::unique_ptr<DriveRootMarker> driveRoot_;
};

}  // namespace

TEST_P(DropTest, TakesTheFolderUnderTheDropPointAsTheFolderPickerWould) {
    const DropCase& c = GetParam();
    std::vector<std::wstring> items;
    for (const auto& item : c.items) items.push_back(path(item));
    TestWindow ui;
    ASSERT_TRUE(ui.handle());
    ui.answer = c.answer;
    ui.select(c.schema);
    const std::wstring before = ui.text(kSystemPath) + L"|" + ui.text(kCommonPath);

    PostMessageW(ui.handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(centreOf(ui.item(c.target)), items)), 0);
    drainMessages();

    EXPECT_EQ(ui.messages.size(), c.questions);
    const bool system = c.target == kSystemPath, common = c.target == kCommonPath;
    if (c.taken.empty()) {
        EXPECT_EQ(ui.text(kSystemPath) + L"|" + ui.text(kCommonPath), before);
    } else {
        EXPECT_EQ(ui.text(c.target), path(c.taken));
        EXPECT_EQ(ui.text(system ? kCommonPath : kSystemPath), L"leer");  // only the box dropped on
    }
    ui.close();
    if (c.schema == 0) return;
    const std::wstring index = std::to_wstring(c.schema);
    const std::wstring taken = c.taken.empty() ? L"leer" : path(c.taken);
    // A folder the code page cannot hold stays in memory only: it is never stored as "?".
    const std::wstring expected = ansiHolds(taken) ? taken : kMissing;
    EXPECT_EQ(stored(L"SysPath" + index), system ? expected : L"leer");
    EXPECT_EQ(stored(L"ComPath" + index), common ? expected : L"leer");
}

INSTANTIATE_TEST_SUITE_P(
    Drops, DropTest,
    ::testing::Values(
        DropCase{"ModuleFolder", {L"Modul"}, kSystemPath, 2, MessageAnswer::No, L"Modul", 0},
        DropCase{"FolderWithoutMarkerYes", {L"Ohne"}, kCommonPath, 3, MessageAnswer::Yes, L"Ohne", 1},
        DropCase{"FolderWithoutMarkerNo", {L"Ohne"}, kSystemPath, 1, MessageAnswer::No, L"", 1},
        DropCase{"TheMarkerFileItself", {L"Modul\\modules.txt"}, kSystemPath, 4, MessageAnswer::No, L"Modul", 0},
        DropCase{"AnotherFile", {L"Ohne\\liesmich.txt"}, kCommonPath, 5, MessageAnswer::Yes, L"Ohne", 1},
        DropCase{"FileInADriveRoot", {L"C:\\modules.txt"}, kSystemPath, 2, MessageAnswer::No, L"C:\\", 0},
        DropCase{"TwoItemsTheFirstOnly", {L"Modul", L"Ohne"}, kCommonPath, 1, MessageAnswer::Yes, L"Modul", 0},
        DropCase{"WhileStandardIsSelected", {L"Modul"}, kSystemPath, 0, MessageAnswer::Yes, L"", 0},
        DropCase{"OutsideTheBoxes", {L"Modul"}, kSave, 2, MessageAnswer::Yes, L"", 0},
        DropCase{"NotInTheFileSystem", {L"Fehlt"}, kSystemPath, 2, MessageAnswer::Yes, L"", 0},
        DropCase{"OutsideTheCodePage", {L"*"}, kSystemPath, 3, MessageAnswer::No, L"*", 0}),
    [](const auto& info) { return std::string(info.param.label); });

namespace {

std::vector<std::pair<UINT, DWORD>> filtered;
ImportHook* filterHook = nullptr;

BOOL WINAPI recordingFilter(HWND window, UINT message, DWORD action, PCHANGEFILTERSTRUCT status) {
    filtered.emplace_back(message, action);
    return filterHook->original<decltype(&ChangeWindowMessageFilterEx)>()(window, message, action, status);
}

std::vector<std::pair<HWND, DWORD>> completing;
ImportHook* completeHook = nullptr;

HRESULT WINAPI recordingAutoComplete(HWND box, DWORD flags) {
    completing.emplace_back(box, flags);
    return completeHook->original<decltype(&SHAutoComplete)>()(box, flags);
}

}  // namespace

// Started elevated, the window must still take drops from a file manager that is not:
// exactly the messages of a drop pass its filter.
TEST_F(RegistrySandbox, LetsExactlyTheMessagesOfADropThroughAndCompletesFolders) {
    ImportHook filter("user32.dll", "ChangeWindowMessageFilterEx", reinterpret_cast<void*>(&recordingFilter));
    ImportHook complete("shlwapi.dll", "SHAutoComplete", reinterpret_cast<void*>(&recordingAutoComplete));
    ASSERT_TRUE(filter.installed() && complete.installed());
    filterHook = &filter;
    completeHook = &complete;
    filtered.clear();
    completing.clear();
    {
        TestWindow ui;
        ASSERT_TRUE(ui.handle());
        EXPECT_TRUE(GetWindowLongW(ui.handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
        EXPECT_EQ(filtered, (std::vector<std::pair<UINT, DWORD>>{
                                {WM_DROPFILES, MSGFLT_ALLOW}, {WM_COPYDATA, MSGFLT_ALLOW}, {0x0049, MSGFLT_ALLOW}}));
        // Completion is set up once the boxes can be typed in, and only once.
        EXPECT_TRUE(completing.empty());
        ui.select(1);
        ui.select(0);
        ui.select(2);
        EXPECT_EQ(completing, (std::vector<std::pair<HWND, DWORD>>{{ui.item(kSystemPath), SHACF_FILESYS_DIRS},
                                                                   {ui.item(kCommonPath), SHACF_FILESYS_DIRS}}));
    }
    filterHook = completeHook = nullptr;
}

namespace {

HWND toolTipOf(HWND window) {
    for (HWND tip = nullptr; (tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr));)
        if (GetWindow(tip, GW_OWNER) == window) return tip;
    return nullptr;
}

// What the tooltip shows for a tool right now (it asks the window each time).
std::wstring tipOf(HWND toolTip, HWND window, UINT_PTR toolId) {
    std::wstring text(4096, L'\0');
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = window;
    tool.uId = toolId;
    tool.lpszText = text.data();
    SendMessageW(toolTip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    text.resize(text.find(L'\0'));
    return text;
}

}  // namespace

TEST_F(RegistrySandbox, TooltipsShowTheWholeCurrentTexts) {
    putRaw(kIdeSystemValue, REG_SZ, "C:\\Sys");
    TestWindow ui;
    ASSERT_TRUE(ui.handle());
    EXPECT_FALSE(toolTipOf(ui.handle())) << "made before the mouse came";
    // As the system asks when the mouse moves over a control.
    SendMessageW(ui.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(ui.item(kCurSys)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    HWND toolTip = toolTipOf(ui.handle());
    ASSERT_TRUE(toolTip);

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

// A disabled box gets no mouse input: the window beneath it does, and has a tool for
// the box's area that follows the layout. "Standard" shows both boxes disabled.
TEST_F(RegistrySandbox, TooltipsShowAWholeStandardPathOverTheDisabledBox) {
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
