#include <objbase.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ImportHook.h"
#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "schemas/FolderText.h"
#include "store/RegistryString.h"
#include "ui/FolderPicker.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"

namespace {

const std::wstring kSystemTitle = L"Ordner für System-Module wählen...";
const std::wstring kCommonTitle = L"Ordner für Gemeinsame Module wählen...";
const std::wstring kQuestion =
    L"Im angegebenen Ordner befindet sich keine \"modules.txt\" !Wollen Sie den Ordner dennoch "
    L"auswählen ?";

}  // namespace

TEST(FileExists, FindsFilesAndFoldersAtExactlyThePath) {
    ScratchFolders scratch;
    const std::wstring withFile = scratch.folder(L"mit Datei");
    scratch.file(markerFilePath(withFile));
    const std::wstring withFolder = scratch.folder(L"mit Ordner");
    scratch.folder(L"mit Ordner\\modules.txt");
    const std::wstring empty = scratch.folder(L"leer");
    const std::wstring cyrillic = scratch.folder(L"eco_\u0416\u0443\u043A");
    scratch.file(markerFilePath(cyrillic));

    struct Case {
        const char* label;
        std::wstring path;
        bool exists;
    };
    const Case cases[] = {
        {"file", markerFilePath(withFile), true},
        {"folder named modules.txt", markerFilePath(withFolder), true},
        {"nothing there", markerFilePath(empty), false},
        {"missing folder", markerFilePath(scratch.root() + L"\\fehlt"), false},
        {"doubled separator", markerFilePath(withFile + L"\\"), true},
        {"name outside the ANSI code page", markerFilePath(cyrillic), true},
        // What the ANSI shell call would have returned for that folder: "?" must not
        // act as a wildcard and find the other folder's file.
        {"question marks", markerFilePath(scratch.root() + L"\\eco_???"), false},
        {"question mark in a name", markerFilePath(scratch.root() + L"\\mit Date?"), false},
        {"star", scratch.root() + L"\\mit Datei\\modules.*", false},
        {"empty text", L"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(fileExists(c.path), c.exists) << c.label;
}

TEST(FileExists, DriveRootJoinsWithDoubledSeparator) {
    const std::wstring marker = markerFilePath(L"C:\\");
    ASSERT_EQ(marker, L"C:\\\\modules.txt");
    const DriveRootMarker file;
    if (!file.exists()) GTEST_SKIP() << kNoDriveRoot;
    EXPECT_TRUE(fileExists(marker));
}

namespace {

std::vector<DWORD> errorModes;  // the thread's, at each look at a folder
ImportHook* attributesHook = nullptr;

DWORD WINAPI recordingAttributes(LPCWSTR path) {
    errorModes.push_back(GetThreadErrorMode());
    return attributesHook->original<decltype(&GetFileAttributesW)>()(path);
}

}  // namespace

// An empty card reader must not bring up the system's "no disk" box; the thread keeps its own mode.
TEST(SystemFileSystem, FindsTheMarkerWithTheNoDiskBoxOff) {
    ScratchFolders scratch;
    const std::wstring module = scratch.folder(L"Modul");
    scratch.file(markerFilePath(module));
    ImportHook attributes("kernel32.dll", "GetFileAttributesW", reinterpret_cast<void*>(&recordingAttributes));
    attributesHook = &attributes;
    DWORD before = 0;
    SetThreadErrorMode(SEM_NOOPENFILEERRORBOX, &before);
    EXPECT_EQ(folderMark(module + L"\\", systemFileSystem()), FolderMark::None);
    EXPECT_EQ(GetThreadErrorMode(), static_cast<DWORD>(SEM_NOOPENFILEERRORBOX));
    SetThreadErrorMode(before, nullptr);
    EXPECT_EQ(errorModes, std::vector<DWORD>{SEM_NOOPENFILEERRORBOX | SEM_FAILCRITICALERRORS});
    wchar_t windows[MAX_PATH];
    ASSERT_GT(GetSystemWindowsDirectoryW(windows, MAX_PATH), 0u);
    EXPECT_FALSE(mayBeSlow(windows, systemFileSystem())) << "a plain folder of the system drive waits for the pool";
}

namespace {

// The window with its folder dialog and message box replaced by scripted ones. COM
// lives as long as in the program: from before the window until after it, as objects
// made inside the dialog's loop are released when the window goes.
class FolderButtonTest : public RegistrySandbox {
protected:
    void SetUp() override {
        RegistrySandbox::SetUp();
        com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ui = std::make_unique<TestWindow>();
        window = ui->handle();
        ASSERT_TRUE(window);
        ui->answer = MessageAnswer::No;
        scratch = std::make_unique<ScratchFolders>();
        moduleFolder = scratch->folder(L"Module");
        scratch->file(markerFilePath(moduleFolder));
        plainFolder = scratch->folder(L"Ohne");
    }
    void TearDown() override {
        ui.reset();
        if (SUCCEEDED(com)) CoUninitialize();
        scratch.reset();
        RegistrySandbox::TearDown();
    }
    void select(int index) { ui->select(index); }
    void click(ControlId id) { ui->click(id); }
    std::wstring text(ControlId id) { return ui->text(id); }
    std::wstring storedAfterClose(const std::wstring& name) {
        ui->close();
        return regGetString(HKEY_CURRENT_USER, kIdeKey, name, L"<missing>");
    }

    HRESULT com = E_FAIL;
    std::unique_ptr<TestWindow> ui;
    HWND window = nullptr;
    std::unique_ptr<ScratchFolders> scratch;
    std::wstring moduleFolder, plainFolder;
};

}  // namespace

TEST_F(FolderButtonTest, ModuleFolderIsTakenWithoutQuestion) {
    select(2);
    ui->chosenFolder = moduleFolder;
    click(kGetSysPath);
    EXPECT_EQ(text(kSystemPath), moduleFolder);
    EXPECT_TRUE(ui->messages.empty());
    EXPECT_EQ(ui->dialogTitles, std::vector<std::wstring>{kSystemTitle});
    EXPECT_EQ(ui->dialogOwners, std::vector<HWND>{window});
    EXPECT_EQ(text(kCommonPath), L"leer");
    EXPECT_EQ(storedAfterClose(L"SysPath2"), moduleFolder);
}

namespace {

HWND boxOwner = nullptr;
std::function<void(HWND box)> boxAction;
int boxTicks = 0;

// A thread timer's procedure, which the box's own loop dispatches: boxAction once boxOwner's
// box shows, focused, as Windows may first loop a while; one that never does is ended.
void CALLBACK actOnBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) && GetWindow(box, GW_OWNER) != boxOwner) {}
    const bool ready = box && IsWindowVisible(box) && IsChild(box, GetFocus());
    if (box && !ready && ++boxTicks > 500) EndDialog(box, IDCANCEL);
    if (!ready) return;
    KillTimer(nullptr, timer);
    std::exchange(boxAction, nullptr)(box);
}

}  // namespace

// The system's box as shown: owned by the window, which it disables, "Nein" focused and
// default for Enter; each button, known by the id the box returns, does what it says.
TEST_F(FolderButtonTest, RealQuestionBoxDefaultsToNeinAndEachButtonMeansWhatItSays) {
    ui.reset();
    ui = std::make_unique<TestWindow>(MainWindowSeams{}, MessageBoxKind::System);
    window = boxOwner = ui->handle();
    select(3);
    ui->chosenFolder = plainFolder;
    const auto clickAnswering = [&](std::function<void(HWND box)> act) {
        boxAction = std::move(act);
        boxTicks = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &actOnBox);
        click(kGetComPath);
        KillTimer(nullptr, timer);
        EXPECT_FALSE(boxAction) << "no box, or it never had the focus";
    };
    clickAnswering([this](HWND box) {
        EXPECT_EQ(windowText(box), L"Trelvane");
        EXPECT_EQ(windowText(GetDlgItem(box, 0xFFFF)), kQuestion);  // the text's static
        EXPECT_FALSE(IsWindowEnabled(window));
        HWND no = GetDlgItem(box, IDNO);
        EXPECT_EQ(GetFocus(), no);
        EXPECT_EQ(GetWindowLongW(no, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1 | (MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC) << 16));
    });
    EXPECT_EQ(text(kCommonPath), L"leer");
    clickAnswering([](HWND box) { SendDlgItemMessageW(box, IDYES, BM_CLICK, 0, 0); });
    EXPECT_EQ(text(kCommonPath), plainFolder);
    EXPECT_EQ(storedAfterClose(L"ComPath3"), plainFolder);
}

TEST_F(FolderButtonTest, CancelChangesNothing) {
    select(1);
    ui->setText(kSystemPath, L"C:\\vorher");
    ui->chosenFolder = L"";
    click(kGetSysPath);
    EXPECT_EQ(text(kSystemPath), L"C:\\vorher");
    EXPECT_TRUE(ui->messages.empty());
    EXPECT_EQ(ui->dialogTitles.size(), 1u);
}

TEST_F(FolderButtonTest, SpacesAroundTheChosenPathAreRemoved) {
    select(5);
    ui->chosenFolder = L"  " + moduleFolder + L"   ";
    click(kGetSysPath);
    EXPECT_EQ(text(kSystemPath), moduleFolder);
    EXPECT_TRUE(ui->messages.empty());  // the trimmed folder holds the marker file
}

TEST_F(FolderButtonTest, FolderGoesIntoTheSchemaSelectedAtThatMoment) {
    select(1);
    ui->chosenFolder = moduleFolder;
    click(kGetComPath);
    select(4);
    EXPECT_EQ(text(kCommonPath), L"leer");
    ui->chosenFolder = plainFolder;
    ui->answer = MessageAnswer::Yes;
    click(kGetSysPath);
    ASSERT_EQ(ui->messages.size(), 1u);
    EXPECT_EQ(ui->messages[0].icon, MessageIcon::Question);  // which the real box cannot show portably
    EXPECT_EQ(ui->dialogTitles, (std::vector<std::wstring>{kCommonTitle, kSystemTitle}));
    select(1);
    EXPECT_EQ(text(kCommonPath), moduleFolder);
    EXPECT_EQ(text(kSystemPath), L"leer");
    ui->close();
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"ComPath1", L""), moduleFolder);
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"SysPath4", L""), plainFolder);
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"SysPath1", L""), L"leer");
}

namespace {

struct FoundDialog {
    HWND owner = nullptr;
    bool titleShown = false;
};

// Looks for the folder dialog from a second thread, notes what it shows, cancels it.
FoundDialog cancelFolderDialog(DWORD uiThread, const std::wstring& title) {
    struct Search {
        const std::wstring* title;
        FoundDialog found;
        HWND dialog = nullptr;
    } search{&title, {}, nullptr};
    for (int attempt = 0; attempt < 200 && !search.dialog; ++attempt) {
        Sleep(50);
        EnumThreadWindows(
            uiThread,
            [](HWND candidate, LPARAM context) -> BOOL {
                wchar_t className[64] = {};
                GetClassNameW(candidate, className, 64);
                if (std::wstring(className) != L"#32770" || !IsWindowVisible(candidate)) return TRUE;
                reinterpret_cast<Search*>(context)->dialog = candidate;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
    }
    if (!search.dialog) return {};
    search.found.owner = GetWindow(search.dialog, GW_OWNER);
    EnumChildWindows(
        search.dialog,
        [](HWND child, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            wchar_t text[256] = {};
            GetWindowTextW(child, text, 256);
            if (*s->title == text) s->found.titleShown = true;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    PostMessageW(search.dialog, WM_COMMAND, IDCANCEL, 0);
    return search.found;
}

}  // namespace

TEST_F(FolderButtonTest, RealDialogIsOwnedByTheWindowShowsTheTitleAndCancels) {
    const std::wstring before = text(kSystemPath);
    const DWORD uiThread = GetCurrentThreadId();
    FoundDialog found;
    std::thread closer([&] { found = cancelFolderDialog(uiThread, kSystemTitle); });
    const std::wstring chosenPath = browseFolder(window, kSystemTitle);
    closer.join();
    EXPECT_EQ(chosenPath, L"");
    EXPECT_EQ(found.owner, window);
    EXPECT_TRUE(found.titleShown);
    EXPECT_EQ(text(kSystemPath), before);
}
