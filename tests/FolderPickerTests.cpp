#include <objbase.h>

#include <atomic>
#include <thread>
#include <vector>

#include "RegistrySandbox.h"
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

// A scratch folder tree in the temp folder, removed afterwards.
class ScratchFolders {
public:
    ScratchFolders() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = std::wstring(temp) + L"trelvane-folders-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(root_.c_str(), nullptr);
    }
    ~ScratchFolders() {
        for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
            if (!DeleteFileW(it->c_str())) RemoveDirectoryW(it->c_str());
        }
        RemoveDirectoryW(root_.c_str());
    }
    std::wstring folder(const std::wstring& name) {
        const std::wstring path = root_ + L"\\" + name;
        if (CreateDirectoryW(path.c_str(), nullptr)) created_.push_back(path);
        return path;
    }
    void file(const std::wstring& path) {
        HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
            created_.push_back(path);
        }
    }
    const std::wstring& root() const { return root_; }

private:
    std::wstring root_;
    std::vector<std::wstring> created_;
};

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
    ScratchFolders scratch;  // only for cleanup of the file below
    scratch.file(L"C:\\modules.txt");
    if (GetFileAttributesW(L"C:\\modules.txt") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no write access to the drive root";
    EXPECT_TRUE(fileExists(marker));
}

namespace {

// The window with its folder dialog and message box replaced by scripted ones.
class FolderButtonTest : public RegistrySandbox {
protected:
    void SetUp() override {
        RegistrySandbox::SetUp();
        ASSERT_TRUE(MainWindow::registerClass(GetModuleHandleW(nullptr)));
        MainWindowSeams seams;
        seams.showMessage = [this](const Message& message) {
            questions.push_back(message);
            return answer;
        };
        seams.folderDialog = [this](HWND owner, const std::wstring& title) {
            dialogOwners.push_back(owner);
            dialogTitles.push_back(title);
            return chosen;
        };
        window = MainWindow::create(GetModuleHandleW(nullptr), seams);
        ASSERT_TRUE(window);
        scratch = std::make_unique<ScratchFolders>();
        moduleFolder = scratch->folder(L"Module");
        scratch->file(markerFilePath(moduleFolder));
        plainFolder = scratch->folder(L"Ohne");
    }
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        scratch.reset();
        RegistrySandbox::TearDown();
    }
    HWND control(ControlId id) { return GetDlgItem(window, id); }
    void select(int index) {
        SendMessageW(control(kSchema), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(kSchema, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(control(kSchema)));
    }
    void click(ControlId id) {
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control(id)));
    }
    std::wstring text(ControlId id) {
        wchar_t buffer[1024] = {};
        GetWindowTextW(control(id), buffer, 1024);
        return buffer;
    }
    std::wstring storedAfterClose(const std::wstring& name) {
        DestroyWindow(window);
        return regGetString(HKEY_CURRENT_USER, kIdeKey, name, L"<missing>");
    }

    HWND window = nullptr;
    std::unique_ptr<ScratchFolders> scratch;
    std::wstring moduleFolder, plainFolder;
    std::wstring chosen;
    MessageAnswer answer = MessageAnswer::No;
    std::vector<Message> questions;
    std::vector<HWND> dialogOwners;
    std::vector<std::wstring> dialogTitles;
};

}  // namespace

TEST_F(FolderButtonTest, ModuleFolderIsTakenWithoutQuestion) {
    select(2);
    chosen = moduleFolder;
    click(kGetSysPath);
    EXPECT_EQ(text(kSystemPath), moduleFolder);
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(dialogTitles, std::vector<std::wstring>{kSystemTitle});
    EXPECT_EQ(dialogOwners, std::vector<HWND>{window});
    EXPECT_EQ(text(kCommonPath), L"leer");
    EXPECT_EQ(storedAfterClose(L"SysPath2"), moduleFolder);
}

TEST_F(FolderButtonTest, FolderWithoutMarkerIsTakenOnlyAfterYes) {
    select(3);
    chosen = plainFolder;
    answer = MessageAnswer::No;
    click(kGetComPath);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, kQuestion);
    EXPECT_EQ(questions[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(questions[0].icon, MessageIcon::Question);
    EXPECT_EQ(questions[0].defaultAnswer, MessageAnswer::No);
    EXPECT_EQ(dialogTitles, std::vector<std::wstring>{kCommonTitle});
    EXPECT_EQ(text(kCommonPath), L"leer");

    answer = MessageAnswer::Yes;
    click(kGetComPath);
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(text(kCommonPath), plainFolder);
    EXPECT_EQ(text(kSystemPath), L"leer");
    EXPECT_EQ(storedAfterClose(L"ComPath3"), plainFolder);
}

TEST_F(FolderButtonTest, CancelChangesNothing) {
    select(1);
    SetWindowTextW(control(kSystemPath), L"C:\\vorher");
    chosen = L"";
    click(kGetSysPath);
    EXPECT_EQ(text(kSystemPath), L"C:\\vorher");
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(dialogTitles.size(), 1u);
}

TEST_F(FolderButtonTest, SpacesAroundTheChosenPathAreRemoved) {
    select(5);
    chosen = L"  " + moduleFolder + L"   ";
    click(kGetSysPath);
    EXPECT_EQ(text(kSystemPath), moduleFolder);
    EXPECT_TRUE(questions.empty());  // the trimmed folder holds the marker file
}

TEST_F(FolderButtonTest, FolderGoesIntoTheSchemaSelectedAtThatMoment) {
    select(1);
    chosen = moduleFolder;
    click(kGetComPath);
    select(4);
    EXPECT_EQ(text(kCommonPath), L"leer");
    chosen = plainFolder;
    answer = MessageAnswer::Yes;
    click(kGetSysPath);
    select(1);
    EXPECT_EQ(text(kCommonPath), moduleFolder);
    EXPECT_EQ(text(kSystemPath), L"leer");
    DestroyWindow(window);
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
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
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
    if (SUCCEEDED(com)) CoUninitialize();
}
