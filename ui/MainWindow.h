#pragma once

#include <windows.h>

#include <string>

#include "schemas/MessageBox.h"
#include "schemas/SchemaTable.h"
#include "ui/FolderPicker.h"
#include "ui/Dpi.h"

inline constexpr wchar_t kWindowClass[] = L"TrelvaneForm1";
inline constexpr wchar_t kApplicationTitle[] = L"Trelvane";

// What the window asks of the user and the shell; tests replace these.
struct MainWindowSeams {
    ShowMessage showMessage;    // default: MessageBoxW
    FolderDialog folderDialog;  // default: the shell's folder dialog
};

// The program's only window, Form1: the schema list, the two path boxes with their
// "..." buttons, the apply button and the IDE's active folders.
class MainWindow {
public:
    static bool registerClass(HINSTANCE instance);

    // Creates the window hidden, with the start sequence already run. The window
    // owns the object and deletes it when it is destroyed.
    static HWND create(HINSTANCE instance, MainWindowSeams seams = {});

private:
    explicit MainWindow(MainWindowSeams seams);

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void onCreate();
    void onCommand(int id, int code);
    void onDpiChanged(UINT dpi, const RECT& suggested);
    void onDestroy();

    void createControls();
    void applyDpi(UINT dpi);
    void onSchemaSelected();
    void onPathChanged(HWND box, SchemaPaths& paths);
    void onBrowse(HWND box, const std::wstring& title);
    void onSave();
    void showActive();
    void rememberFocus();

    MainWindowSeams seams_;
    HWND window_ = nullptr;
    HWND schema_ = nullptr;
    HWND systemPath_ = nullptr;
    HWND getSysPath_ = nullptr;
    HWND commonPath_ = nullptr;
    HWND getComPath_ = nullptr;
    HWND save_ = nullptr;
    HWND curSys_ = nullptr;
    HWND curCom_ = nullptr;
    HWND focusedControl_ = nullptr;  // starts on Schema, the first in tab order
    SchemaTable table_;
    UniqueFont messageFont_;
    UniqueFont browseButtonFont_;
};
