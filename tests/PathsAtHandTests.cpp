// Folder paths the way Windows users handle them: dropped from the file manager,
// read in full in a tooltip, completed while typing, and "Aktuell" always current.
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

void PrintTo(const DropCase& c, std::ostream* os) { *os << c.label; }

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

    PostMessageW(ui.handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(makeDrop(centreOf(ui.item(c.target)), items)), 0);
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
    EXPECT_EQ(tools, (std::set<HWND>{ui.item(kCurSys), ui.item(kCurCom), ui.item(kSystemPath),
                                     ui.item(kCommonPath), ui.item(kGetSysPath), ui.item(kGetComPath)}));

    const auto tip = [&](ControlId id) { return tipOf(toolTip, ui.handle(), reinterpret_cast<UINT_PTR>(ui.item(id))); };
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

namespace {

// The window with the program's message loop, and another program that changes the
// IDE's key: Windows' own reg.exe, in a second process.
class LiveLabelTest : public RegistrySandbox {
protected:
    void SetUp() override {
        RegistrySandbox::SetUp();
        putRaw(kIdeSystemValue, REG_SZ, "C:\\Alt\\Sys");
        putRaw(kIdeCommonValue, REG_SZ, "C:\\Alt\\Com");
        ui = std::make_unique<TestWindow>();
        ASSERT_TRUE(ui->handle());
    }
    void TearDown() override {
        ui.reset();
        RegistrySandbox::TearDown();
    }

    void reg(const std::wstring& arguments) {
        EXPECT_EQ(runAnotherProgram(L"reg.exe " + arguments), 0u) << testing::PrintToString(arguments);
    }
    std::wstring key() const { return L"\"HKCU\\" + scratchPath_ + L"\\" + kIdeKey + L"\""; }

    // Handles messages, and nothing else, until both labels read so or a few seconds
    // have passed: as the loops of a message box, a dialog, a menu or a move do, so the
    // labels must follow there too.
    bool labelsBecome(const std::wstring& system, const std::wstring& common) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 5000) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            drainMessages();
            if (ui->text(kCurSys) == L"SystemModule: " + system && ui->text(kCurCom) == L"Gemeinsame Module: " + common)
                return true;
        }
        ADD_FAILURE() << "labels: " << testing::PrintToString(ui->text(kCurSys)) << ", "
                      << testing::PrintToString(ui->text(kCurCom));
        return false;
    }

    std::unique_ptr<TestWindow> ui;
};

}  // namespace

TEST_F(LiveLabelTest, FollowTheIdeValuesAsAnotherProgramChangesThem) {
    ASSERT_TRUE(labelsBecome(L"C:\\Alt\\Sys", L"C:\\Alt\\Com"));

    reg(L"add " + key() + L" /v SystemModulesPath /d C:\\Neu\\Sys /f");
    EXPECT_TRUE(labelsBecome(L"C:\\Neu\\Sys", L"C:\\Alt\\Com"));

    reg(L"delete " + key() + L" /v UserCommonModulesPath /f");
    EXPECT_TRUE(labelsBecome(L"C:\\Neu\\Sys", L"leer"));

    for (int i = 1; i <= 5; ++i) putWide(kIdeCommonValue, L"C:\\Schnell\\" + std::to_wstring(i));
    EXPECT_TRUE(labelsBecome(L"C:\\Neu\\Sys", L"C:\\Schnell\\5"));

    // Only the labels follow: the boxes still show "Standard" as loaded, and nothing
    // was written besides what the other programs wrote.
    EXPECT_EQ(ui->text(kSystemPath), L"C:\\Alt\\Sys");
    EXPECT_EQ(ui->text(kCommonPath), L"C:\\Alt\\Com");
    EXPECT_EQ(stored(L"SysPath0"), L"C:\\Alt\\Sys");
    EXPECT_EQ(stored(L"ComPath0"), L"C:\\Alt\\Com");
    for (int i = 1; i < kSchemaCount; ++i) EXPECT_EQ(stored(L"SysPath" + std::to_wstring(i)), kMissing);
    EXPECT_EQ(stored(kIdeSystemValue), L"C:\\Neu\\Sys");
    EXPECT_EQ(stored(kIdeCommonValue), L"C:\\Schnell\\5");
}

TEST_F(LiveLabelTest, ShowLeerWhileTheKeyIsGoneAndFollowItWhenItIsBack) {
    reg(L"delete " + key() + L" /f");
    EXPECT_TRUE(labelsBecome(L"leer", L"leer"));

    reg(L"add " + key() + L" /v SystemModulesPath /d C:\\Wieder /f");
    EXPECT_TRUE(labelsBecome(L"C:\\Wieder", L"leer"));
    reg(L"add " + key() + L" /v UserCommonModulesPath /d D:\\Wieder /f");
    EXPECT_TRUE(labelsBecome(L"C:\\Wieder", L"D:\\Wieder"));
}

// Another copy stores schema 2 and another program makes it active while the window
// shows it: the boxes take it, and the frame names every schema whose pair is active,
// also as the user types one.
TEST_F(LiveLabelTest, TakeWhatAnotherCopyStoredAndNameTheActiveSchemas) {
    EXPECT_EQ(ui->text(kFrame2), L"Aktuell \u2013 Standard");
    ui->select(2);
    for (const wchar_t* value : {L"SysPath2 /d C:\\Neu\\Sys", L"ComPath2 /d c:\\neu\\com\\",
                                 L"SystemModulesPath /d C:\\Neu\\Sys", L"UserCommonModulesPath /d C:\\Neu\\Com"})
        reg(L"add " + key() + L" /v " + value + L" /f");
    EXPECT_TRUE(labelsBecome(L"C:\\Neu\\Sys", L"C:\\Neu\\Com"));  // one change handler sets boxes and caption too
    EXPECT_EQ(ui->text(kSystemPath) + L"|" + ui->text(kCommonPath) + L"|" + ui->text(kFrame2),
              L"C:\\Neu\\Sys|c:\\neu\\com\\|Aktuell \u2013 Schema 2");

    ui->select(1);
    ui->setText(kSystemPath, L"c:\\NEU\\sys\\");
    ui->setText(kCommonPath, L"C:\\Neu\\Com");
    EXPECT_EQ(ui->text(kFrame2), L"Aktuell \u2013 Schema 1, Schema 2");
}
