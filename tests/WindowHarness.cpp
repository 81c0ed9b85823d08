#include "WindowHarness.h"

#include <commctrl.h>

#include <cstdlib>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "ui/Dpi.h"

ScratchFolders::ScratchFolders() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"trelvane-folders-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root_.c_str(), nullptr);
}

ScratchFolders::~ScratchFolders() {
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
        if (!DeleteFileW(it->c_str())) RemoveDirectoryW(it->c_str());
    }
    RemoveDirectoryW(root_.c_str());
}

std::wstring ScratchFolders::folder(const std::wstring& name) {
    const std::wstring path = root_ + L"\\" + name;
    if (CreateDirectoryW(path.c_str(), nullptr)) created_.push_back(path);
    return path;
}

void ScratchFolders::file(const std::wstring& path) {
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        created_.push_back(path);
    }
}

DWORD runAnotherProgram(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return GetLastError();
    const DWORD start = GetTickCount();
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0 &&
           GetTickCount() - start < 20000)
        drainMessages();
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

void drainMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message != WM_QUIT) DispatchMessageW(&message);
}

void finishStart() {
    Sleep(50);
    drainMessages();
}

bool desktopMayChange() {
    const bool underWine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    const char* allowed = std::getenv("TRELVANE_ALLOW_DESKTOP_CHANGES");
    return underWine || (allowed && std::string(allowed) == "1");
}

namespace {

constexpr char kMarkerText[] = "Trelvane tests";

bool holdsMarkerText(const wchar_t* path) {
    char text[sizeof(kMarkerText)] = {};
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD read = 0;
    const bool same = ReadFile(file, text, sizeof(text), &read, nullptr) && read == sizeof(kMarkerText) - 1 &&
                      std::string_view(text, read) == kMarkerText;
    CloseHandle(file);
    return same;
}

bool createWithMarkerText(const wchar_t* path) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, kMarkerText, sizeof(kMarkerText) - 1, &written, nullptr);
    CloseHandle(file);
    return true;
}

}  // namespace

DriveRootMarker::DriveRootMarker() {
    if (desktopMayChange()) ours_ = createWithMarkerText(kPath) || holdsMarkerText(kPath);
}

DriveRootMarker::~DriveRootMarker() {
    if (ours_) DeleteFileW(kPath);
}

const Windows10Dpi& windows10Dpi() {
    static const Windows10Dpi functions;
    return functions;
}

bool defaultTextSize(UINT dpi) {
    const UniqueFont font = createMessageFont(dpi);
    return lineHeight(font.get()) <= twipsToPixels(240, dpi);
}

TestWindow::TestWindow(MainWindowSeams seams, MessageBoxKind box) {
    static const bool registered = [] {
        // As the program's start does, so the manifest's Common Controls 6 are used.
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
        return MainWindow::registerClass(GetModuleHandleW(nullptr));
    }();
    if (!registered) return;
    if (box == MessageBoxKind::Recorder)
        seams.showMessage = [this](const Message& message) {
            if (throwFromMessage) throw std::runtime_error("message box failed");
            messages.push_back(message);
            if (whileMessageShown) whileMessageShown();
            return answer;
        };
    seams.folderDialog = [this](HWND owner, const std::wstring& title) {
        dialogOwners.push_back(owner);
        dialogTitles.push_back(title);
        return chosenFolder;
    };
    window_ = MainWindow::create(GetModuleHandleW(nullptr), std::move(seams));
}

TestWindow::~TestWindow() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    drainMessages();
}

std::wstring TestWindow::text(ControlId id) const {
    return windowText(item(id));
}

void TestWindow::select(int index) {
    SendMessageW(item(kSchema), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(kSchema, CBN_SELCHANGE), reinterpret_cast<LPARAM>(item(kSchema)));
}

void TestWindow::click(ControlId id) {
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item(id)));
}

void TestWindow::setText(ControlId id, const std::wstring& text) {
    SetWindowTextW(item(id), text.c_str());
}

void TestWindow::close() {
    SendMessageW(window_, WM_CLOSE, 0, 0);
    drainMessages();
}

POINT centreOf(HWND control) {
    const RECT rect = rectInParent(control);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

HWND toolTipOf(HWND window) {
    for (HWND tip = nullptr; (tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr));)
        if (GetWindow(tip, GW_OWNER) == window) return tip;
    return nullptr;
}

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
