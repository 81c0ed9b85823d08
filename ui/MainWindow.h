#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "schemas/MessageBox.h"
#include "schemas/SchemaTable.h"
#include "ui/Accessibility.h"
#include "ui/CurrentPanel.h"
#include "ui/FolderMarks.h"
#include "ui/FolderPicker.h"
#include "ui/Form.h"
#include "ui/IdeKeyWatch.h"
#include "ui/Layout.h"
#include "ui/SchemaPanel.h"
#include "ui/ToolTips.h"
#include "ui/WindowIds.h"

inline constexpr wchar_t kApplicationTitle[] = L"Trelvane";

// Gives a control the name screen readers announce.
using NameControl = std::function<void(HWND control, const std::wstring& name)>;

// What the window asks of the user and the system; tests replace these.
struct MainWindowSeams {
    ShowMessage showMessage;    // default: MessageBoxW
    FolderDialog folderDialog;  // default: the shell's folder dialog
    NameControl nameControl;    // default: the system's annotation service
};

// The program's only window, Form1: the frame "Aktuell" (CurrentPanel) above the frame
// "Modulschema" (SchemaPanel). The window makes the form, keeps its look and its focus,
// watches the IDE's key, hands each frame and feature the messages it serves, and stores
// the schemas when the session ends.
class MainWindow {
public:
    static bool registerClass(HINSTANCE instance);

    // Creates the window hidden, with the start sequence already run. The window
    // owns the object and deletes it when it is destroyed. Null when any part of the
    // window could not be made; then nothing has been loaded or stored.
    static HWND create(HINSTANCE instance, MainWindowSeams seams = {});

    // Signalled, until handled, when the IDE's key has changed: the program's loop waits
    // for it besides messages and then sends kRegistryChanged.
    static HANDLE ideKeyEvent(HWND window);

private:
    explicit MainWindow(MainWindowSeams seams);

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool onCreate();
    void afterFirstFrame();
    void onCommand(int id, int code);
    void onTimer(UINT_PTR timer);
    void onIdeKeyChanged();
    void onDpiChanged(UINT dpi, const RECT& suggested);
    void onSettingChange(WPARAM what);
    LRESULT onMenuChar(wchar_t key, WPARAM wParam, LPARAM lParam);
    void onDestroy();

    bool createControls(const FormVisuals& visuals);
    void nameControls();
    AccessibleNames& accessibleNames() {
        if (!accessibleNames_) accessibleNames_.emplace();
        return *accessibleNames_;
    }
    // Everything that depends on the DPI or the system's metrics, for creation and every
    // change alike.
    void refreshVisuals() { applyVisuals(formVisualsAt(dpi_)); }
    void applyVisuals(FormVisuals visuals);
    void rememberFocus();

    MainWindowSeams seams_;
    HWND window_ = nullptr;
    FormControls controls_{};
    HWND focusedControl_ = nullptr;  // starts on Schema, the first in tab order
    SchemaTable table_;
    IdeKeyWatch watch_{window_};
    std::optional<AccessibleNames> accessibleNames_;  // for the default nameControl and the marks
    FolderMarks marks_{
        [this](HWND control, const std::wstring& reason) { accessibleNames().describe(control, reason); },
        systemFileSystem()};
    CurrentPanel current_{controls_, table_, marks_};
    SchemaPanel schemas_{controls_, table_, marks_, seams_.showMessage, seams_.folderDialog};
    bool started_ = false;  // the start sequence has run: only then is there anything to store
    bool named_ = false;    // the controls have their names for screen readers
    ToolTips toolTips_{[this](HWND control) {
        return marks_.reasonFor(control);
    }};
    // The window's DPI as Windows last told it: GetDpiForWindow is missing before
    // Windows 10 1607, and the system DPI is not the window's after a move.
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    FormVisuals visuals_{};
    RECT listWindow_{};  // Schema's window rectangle as last set, with its open list
    WindowIcons icons_;
};
