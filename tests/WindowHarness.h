#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "RegistrySandbox.h"
#include "schemas/SchemaTable.h"
#include "store/RegistryString.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"
#include "ui/MessageLoop.h"
#include "ui/SystemFunctions.h"
#include "ui/WindowInfo.h"

// What the window under test shows its messages with.
enum class MessageBoxKind { Recorder, System };

// The main window under test, created as the program creates it, with the folder dialog
// and, unless told otherwise, the message box replaced by recorders that answer as told.
class TestWindow {
public:
    // seams: what the test replaces besides the message box and the folder dialog.
    explicit TestWindow(MainWindowSeams seams = {}, MessageBoxKind box = MessageBoxKind::Recorder);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return window_; }
    HWND item(ControlId id) const { return GetDlgItem(window_, id); }
    std::wstring text(ControlId id) const;

    // As a user's pick: the list changes, then notifies its parent.
    void select(int index);
    void click(ControlId id);
    void setText(ControlId id, const std::wstring& text);
    // Closes as the close box does; the schemas are stored on the way.
    void close();

    std::vector<Message> messages;
    MessageAnswer answer = MessageAnswer::Ok;
    bool throwFromMessage = false;  // the message box fails as a seam may
    std::function<void()> whileMessageShown;
    std::vector<std::wstring> dialogTitles;
    std::vector<HWND> dialogOwners;
    std::wstring chosenFolder;

private:
    HWND window_ = nullptr;
};

// A scratch folder tree in the temp folder, removed afterwards.
class ScratchFolders {
public:
    ScratchFolders();
    ~ScratchFolders();
    ScratchFolders(const ScratchFolders&) = delete;
    ScratchFolders& operator=(const ScratchFolders&) = delete;

    std::wstring folder(const std::wstring& name);
    void file(const std::wstring& path);
    const std::wstring& root() const { return root_; }

private:
    std::wstring root_;
    std::vector<std::wstring> created_;
};

// Runs another program (its command line) to its end, handling this thread's messages
// meanwhile, as that program may send some to the window; its exit code.
DWORD runAnotherProgram(std::wstring commandLine);

// Destroying a window posts WM_QUIT; tests have no message loop to end.
void drainMessages();

// Lets a new window do what follows its first frame: the work of a timer of no delay,
// which Windows makes due within a few milliseconds.
void finishStart();

// Whether tests may change what the whole machine shares (the desktop session's message
// font, the drive root): under Wine, whose session and drive are the tests' own, or where
// TRELVANE_ALLOW_DESKTOP_CHANGES=1 says so.
bool desktopMayChange();

// C:\modules.txt for the drive-root cases, made only where desktopMayChange() and removed
// again; one that a killed run left is known by its text and removed too. A file that was
// there before is used but kept.
class DriveRootMarker {
public:
    DriveRootMarker();
    ~DriveRootMarker();
    DriveRootMarker(const DriveRootMarker&) = delete;
    DriveRootMarker& operator=(const DriveRootMarker&) = delete;

    static constexpr wchar_t kPath[] = L"C:\\modules.txt";
    bool exists() const { return GetFileAttributesW(kPath) != INVALID_FILE_ATTRIBUTES; }

private:
    bool ours_ = false;
};

inline constexpr char kNoDriveRoot[] =
    "creates C:\\modules.txt: runs under Wine, or with TRELVANE_ALLOW_DESKTOP_CHANGES=1, where the root is writable";

// The DPI functions of Windows 10 1607 that the tests ask: the program's, and a window's
// awareness, which only the tests ask; null where missing.
struct Windows10Dpi : SystemFunctions {
    DpiAwarenessContext(WINAPI* getWindowDpiAwarenessContext)(HWND) = FunctionIn(user32,
                                                                                 "GetWindowDpiAwarenessContext");

    bool complete() const {
        return getDpiForWindow && getDpiForSystem && adjustWindowRectExForDpi && getSystemMetricsForDpi &&
               getWindowDpiAwarenessContext && areDpiAwarenessContextsEqual;
    }
};
const Windows10Dpi& windows10Dpi();

inline constexpr char kNoWindows10Dpi[] = "the DPI functions of Windows 10 1607 are missing";

// The message font at dpi fits the form's line, as at the default text size.
bool defaultTextSize(UINT dpi);

inline constexpr char kNotDefaultTextSize[] = "the message font is larger than the default text size gives";

// The main window in a test of its own, opened when the test says and closed at its end.
class MainWindowTest : public RegistrySandbox {
protected:
    static constexpr wchar_t kMissing[] = L"<fehlt>";
    static constexpr ControlId kEditing[] = {kSystemPath, kGetSysPath, kCommonPath, kGetComPath};

    void TearDown() override {
        close();  // stores at WM_DESTROY, which must still reach the sandbox
        RegistrySandbox::TearDown();
    }

    void open() {
        ui = std::make_unique<TestWindow>();
        window = ui->handle();
        ASSERT_NE(window, nullptr);
    }
    void showAndFocus(ControlId id) {
        ShowWindow(window, SW_SHOWNORMAL);
        SetForegroundWindow(window);
        SetFocus(item(id));
        ASSERT_EQ(GetFocus(), item(id));
    }
    void close() {
        ui.reset();
        window = nullptr;
    }

    HWND item(ControlId id) const { return GetDlgItem(window, id); }
    std::wstring text(ControlId id) const { return windowText(item(id)); }
    int focusedId() const { return GetDlgCtrlID(GetFocus()); }
    void select(int index) { ui->select(index); }
    // Replaces the box's text key by key.
    void type(ControlId id, const std::wstring& typed) {
        HWND box = item(id);
        SendMessageW(box, EM_SETSEL, 0, -1);
        for (wchar_t c : typed) SendMessageW(box, WM_CHAR, c, 1);
    }
    // A key posted to the focused control, as Windows delivers it, and taken by the program's
    // own loop with all that follows. WM_SYSCHAR is Alt+key as TranslateMessage makes it (the
    // key behind a character depends on the keyboard layout), Alt in the context bit.
    void press(UINT message, WPARAM key) {
        const UINT scanCode = message == WM_KEYDOWN ? MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC) : 0;
        const UINT context = message == WM_SYSCHAR ? KF_ALTDOWN : 0;
        PostMessageW(GetFocus(), message, key, static_cast<LPARAM>(1 | ((scanCode | context) << 16)));
        EXPECT_FALSE(handleEvents(window, MainWindow::ideKeyEvent(window), kRegistryChanged, 0)) << "the loop ended";
    }
    std::wstring stored(const std::wstring& name) { return regGetString(HKEY_CURRENT_USER, kIdeKey, name, kMissing); }
    RECT rectOf(ControlId id) const { return rectInParent(item(id)); }

    std::unique_ptr<TestWindow> ui;
    HWND window = nullptr;
};

// The middle of a control, in its parent's client area.
POINT centreOf(HWND control);

// The window's tooltip, once made; and what it shows for a tool right now (it asks the
// window each time).
HWND toolTipOf(HWND window);
std::wstring tipOf(HWND toolTip, HWND window, UINT_PTR toolId);
