#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "schemas/SchemaTable.h"
#include "store/RegistryString.h"
#include "ui/CurrentPanel.h"
#include "ui/Dpi.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"

namespace {

const wchar_t kRefusal[] = L"ungültige Pfadangabe !\r\nModul-Pfade wurden nicht gesetzt !";
const wchar_t kMissing[] = L"<fehlt>";
const char kNotForeground[] = "the window did not become the foreground window (foreground lock)";
constexpr ControlId kEditing[] = {kSystemPath, kGetSysPath, kCommonPath, kGetComPath};

// The DPI the process runs at. run-at-dpi.sh sets it together with Wine's LogPixels,
// so a run that did not take the setting fails instead of testing the wrong thing.
UINT processDpi(HWND window) {
    const UINT dpi = windows10Dpi().getDpiForWindow(window);
    if (const char* expected = std::getenv("TRELVANE_EXPECT_DPI")) {
        EXPECT_EQ(dpi, static_cast<UINT>(std::atoi(expected)));
    }
    return dpi;
}

// Only a per-monitor v2 window (its own awareness, not its thread's) has its frame scaled;
// there is none before Windows 10 1703.
bool frameScalesWithDpi(HWND window) {
    const HANDLE perMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    const Windows10Dpi& dpi = windows10Dpi();
    return dpi.complete() &&
           dpi.areDpiAwarenessContextsEqual(dpi.getWindowDpiAwarenessContext(window), perMonitorAwareV2);
}

LOGFONTW logFontOf(HWND control) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    EXPECT_EQ(GetObjectW(handle, sizeof(font), &font), static_cast<int>(sizeof(font)));
    return font;
}

// Holds Shift in this thread's key state, which IsDialogMessage reads for Shift+Tab.
class ShiftHeld {
public:
    ShiftHeld() {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::memcpy(state, saved_, sizeof(state));
        state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
        SetKeyboardState(state);
    }
    ~ShiftHeld() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256];
};

class MainWindowTest : public RegistrySandbox {
protected:
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
    // A keyboard message as the message loop would pass it to IsDialogMessage, and
    // what it posted handled as the loop would; WM_SYSCHAR carries Alt in its context bit.
    bool press(UINT message, WPARAM key) {
        const LPARAM flags = message == WM_SYSCHAR ? 1 | (KF_ALTDOWN << 16) : 1;
        MSG msg{GetFocus(), message, key, flags, static_cast<DWORD>(GetMessageTime()), {}};
        const bool handled = IsDialogMessageW(window, &msg);
        drainMessages();
        return handled;
    }
    std::wstring stored(const std::wstring& name) { return regGetString(HKEY_CURRENT_USER, kIdeKey, name, kMissing); }
    RECT rectOf(ControlId id) const { return rectInParent(item(id)); }

    std::unique_ptr<TestWindow> ui;
    HWND window = nullptr;
};

// ---- Start state ----

struct StartCase {
    const char* label;
    const char* storedSys0;  // nullptr: value missing
    const char* ideSystem;
    const char* ideCommon;
    std::wstring sysBox, comBox, curSys, curCom;
};

void PrintTo(const StartCase& c, std::ostream* os) {
    *os << c.label;
}

class StartStateTest : public MainWindowTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartStateTest, ShowsStandardLockedAndTheActiveValues) {
    const StartCase& c = GetParam();
    if (c.storedSys0) putRaw(L"SysPath0", REG_SZ, c.storedSys0);
    if (c.ideSystem) putRaw(kIdeSystemValue, REG_SZ, c.ideSystem);
    if (c.ideCommon) putRaw(kIdeCommonValue, REG_SZ, c.ideCommon);
    open();

    wchar_t className[64]{};
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, L"TrelvaneForm1");
    EXPECT_EQ(windowText(window), L"Trelvane V1.0");
    EXPECT_FALSE(IsWindowVisible(window));

    HWND combo = item(kSchema);
    const wchar_t* names[] = {L"Standard", L"Schema 1", L"Schema 2", L"Schema 3", L"Schema 4", L"Schema 5"};
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 6);
    for (int i = 0; i < 6; ++i) {
        wchar_t entry[32]{};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
        EXPECT_STREQ(entry, names[i]);
    }
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);

    EXPECT_EQ(text(kSystemPath), c.sysBox);
    EXPECT_EQ(text(kCommonPath), c.comBox);
    EXPECT_EQ(text(kCurSys), c.curSys);
    EXPECT_EQ(text(kCurCom), c.curCom);
    for (ControlId id : kEditing) EXPECT_FALSE(IsWindowEnabled(item(id))) << id;
    EXPECT_TRUE(IsWindowEnabled(item(kSchema)));
    EXPECT_TRUE(IsWindowEnabled(item(kSave)));
}

INSTANTIATE_TEST_SUITE_P(
    Start, StartStateTest,
    ::testing::Values(StartCase{"SeededFromBothIdeValues", nullptr, "C:\\Sys\\Module", "D:\\Gemeinsam",
                                L"C:\\Sys\\Module", L"D:\\Gemeinsam", L"SystemModule: C:\\Sys\\Module",
                                L"Gemeinsame Module: D:\\Gemeinsam"},
                      StartCase{"MissingCommonValueReadsLeer", nullptr, "C:\\Sys", nullptr, L"C:\\Sys", L"",
                                L"SystemModule: C:\\Sys", L"Gemeinsame Module: leer"},
                      StartCase{"BoxesShowTheSchemaLabelsTheIde", "C:\\Alt", "C:\\Sys", "D:\\Com", L"C:\\Alt",
                                L"D:\\Com", L"SystemModule: C:\\Sys", L"Gemeinsame Module: D:\\Com"}),
    [](const auto& info) { return std::string(info.param.label); });

// A plain window keeps the focus itself on activation; the keyboard must reach the
// first tab stop without a click.
TEST_F(MainWindowTest, ShowingTheWindowFocusesTheSchemaList) {
    open();
    ShowWindow(window, SW_SHOWNORMAL);  // as the program's start does
    UpdateWindow(window);
    drainMessages();
    if (GetForegroundWindow() != window) GTEST_SKIP() << kNotForeground;
    EXPECT_EQ(GetFocus(), item(kSchema)) << "focus is on id " << focusedId();
}

// ---- Schemas in memory ----

TEST_F(MainWindowTest, SelectingSwitchesTextsAndLocksOnlyStandard) {
    putRaw(kIdeSystemValue, REG_SZ, "C:\\Sys");
    putRaw(kIdeCommonValue, REG_SZ, "D:\\Com");
    open();

    select(1);
    EXPECT_EQ(text(kSystemPath), L"leer");
    EXPECT_EQ(text(kCommonPath), L"leer");
    for (ControlId id : kEditing) EXPECT_TRUE(IsWindowEnabled(item(id))) << id;

    type(kSystemPath, L"C:\\Eins");
    select(2);
    EXPECT_EQ(text(kSystemPath), L"leer");
    EXPECT_EQ(text(kCommonPath), L"leer");
    select(1);
    EXPECT_EQ(text(kSystemPath), L"C:\\Eins");
    EXPECT_EQ(text(kCommonPath), L"leer");

    select(0);
    EXPECT_EQ(text(kSystemPath), L"C:\\Sys");
    EXPECT_EQ(text(kCommonPath), L"D:\\Com");
    for (ControlId id : kEditing) EXPECT_FALSE(IsWindowEnabled(item(id))) << id;
    EXPECT_TRUE(IsWindowEnabled(item(kSave)));

    close();
    EXPECT_EQ(stored(L"SysPath1"), L"C:\\Eins");
    EXPECT_EQ(stored(L"ComPath1"), L"leer");
    EXPECT_EQ(stored(L"SysPath2"), L"leer");
    EXPECT_EQ(stored(L"SysPath0"), L"C:\\Sys");
}

struct WriteCase {
    const char* label;
    bool typed;  // key by key, else WM_SETTEXT
    ControlId box;
    int schema;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.label;
}

class WriteThroughTest : public MainWindowTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(WriteThroughTest, EditReachesTheSelectedSchemaAndIsStoredAtClose) {
    const WriteCase& c = GetParam();
    const std::wstring entered = L"C:\\Module & Co\\" + std::to_wstring(c.schema);
    open();
    select(c.schema);
    if (c.typed)
        type(c.box, entered);
    else
        SendMessageW(item(c.box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(entered.c_str()));
    ASSERT_EQ(text(c.box), entered);
    for (int i = 1; i < kSchemaCount; ++i) {  // memory only until close
        EXPECT_EQ(stored(L"SysPath" + std::to_wstring(i)), kMissing);
        EXPECT_EQ(stored(L"ComPath" + std::to_wstring(i)), kMissing);
    }

    select(c.schema == 1 ? 2 : 1);  // switching away must not lose or copy it
    close();
    const std::wstring changed = (c.box == kSystemPath ? L"SysPath" : L"ComPath") + std::to_wstring(c.schema);
    for (int i = 1; i < kSchemaCount; ++i)
        for (const wchar_t* prefix : {L"SysPath", L"ComPath"}) {
            const std::wstring name = prefix + std::to_wstring(i);
            EXPECT_EQ(stored(name), name == changed ? entered : L"leer") << name;
        }
}

INSTANTIATE_TEST_SUITE_P(Edits, WriteThroughTest,
                         ::testing::Values(WriteCase{"SetTextSystem1", false, kSystemPath, 1},
                                           WriteCase{"TypedCommon3", true, kCommonPath, 3},
                                           WriteCase{"TypedSystem5", true, kSystemPath, 5},
                                           WriteCase{"SetTextCommon2", false, kCommonPath, 2}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(MainWindowTest, LongStoredPathIsShownWholeAndStoredBackUnchanged) {
    std::string longPath = "C:\\";
    while (longPath.size() < 65536) longPath += "0123456789abcdef"[longPath.size() % 16];
    putRaw(L"SysPath2", REG_SZ, longPath);
    putRaw(L"ComPath2", REG_SZ, longPath);
    const std::wstring expected(longPath.begin(), longPath.end());
    open();
    select(2);
    EXPECT_EQ(GetWindowTextLengthW(item(kSystemPath)), 65536);
    EXPECT_TRUE(text(kSystemPath) == expected);  // no diff print of 64 KiB

    // Still editable: the box's typing limit must not be below what it shows.
    for (HWND box : {item(kSystemPath), item(kCommonPath)}) {
        SendMessageW(box, EM_SETSEL, 65536, 65536);
        SendMessageW(box, WM_CHAR, L'x', 1);
        EXPECT_EQ(GetWindowTextLengthW(box), 65537);
        SendMessageW(box, WM_CHAR, VK_BACK, 1);
    }
    close();
    EXPECT_TRUE(stored(L"SysPath2") == expected);
    EXPECT_TRUE(stored(L"ComPath2") == expected);
}

// ---- Keyboard ----

struct TabCase {
    int schema;
    std::vector<ControlId> forward;  // from Schema, ending on Schema
};

TEST_F(MainWindowTest, TabAndShiftTabFollowCreationOrderAndSkipLockedControls) {
    const TabCase cases[] = {
        {0, {kSave, kSchema}},
        {1, {kSystemPath, kGetSysPath, kCommonPath, kGetComPath, kSave, kSchema}},
        {5, {kSystemPath, kGetSysPath, kCommonPath, kGetComPath, kSave, kSchema}},
    };
    open();
    for (const TabCase& c : cases) {
        select(c.schema);
        showAndFocus(kSchema);
        for (ControlId id : c.forward) {
            EXPECT_TRUE(press(WM_KEYDOWN, VK_TAB));
            EXPECT_EQ(focusedId(), id) << "Tab, schema " << c.schema;
        }
        ShiftHeld shift;
        for (auto id = c.forward.rbegin() + 1; id != c.forward.rend(); ++id) {
            EXPECT_TRUE(press(WM_KEYDOWN, VK_TAB));
            EXPECT_EQ(focusedId(), *id) << "Shift+Tab, schema " << c.schema;
        }
        EXPECT_TRUE(press(WM_KEYDOWN, VK_TAB));
        EXPECT_EQ(focusedId(), kSchema) << "Shift+Tab, schema " << c.schema;
    }
}

TEST_F(MainWindowTest, EnterAndEscDoNothing) {
    open();
    select(1);
    type(kSystemPath, L"C:\\Sys");
    type(kCommonPath, L"D:\\Com");
    for (ControlId focus : {kSystemPath, kCommonPath, kSchema}) {
        showAndFocus(focus);
        EXPECT_TRUE(press(WM_KEYDOWN, VK_RETURN));
        EXPECT_TRUE(press(WM_KEYDOWN, VK_ESCAPE));
    }
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(ui->messages.empty());
    EXPECT_TRUE(ui->dialogTitles.empty());
    EXPECT_EQ(stored(kIdeSystemValue), kMissing);
    EXPECT_EQ(stored(kIdeCommonValue), kMissing);
    EXPECT_EQ(stored(L"SysPath1"), kMissing);
    EXPECT_EQ(text(kSystemPath), L"C:\\Sys");
}

// Alt+ü and Alt+Shift+ü: either case of the access key presses Save.
class AltUmlautTest : public MainWindowTest, public ::testing::WithParamInterface<wchar_t> {};

TEST_P(AltUmlautTest, PressesSave) {
    const wchar_t key = GetParam();
    open();
    select(1);
    type(kSystemPath, L"C:\\Neu\\Sys");
    type(kCommonPath, L"D:\\Neu\\Com");
    showAndFocus(kSystemPath);
    EXPECT_TRUE(press(WM_SYSCHAR, key));
    EXPECT_TRUE(ui->messages.empty());
    EXPECT_EQ(stored(kIdeSystemValue), L"C:\\Neu\\Sys");
    EXPECT_EQ(stored(kIdeCommonValue), L"D:\\Neu\\Com");
    EXPECT_EQ(text(kCurSys), L"SystemModule: C:\\Neu\\Sys");
    EXPECT_EQ(text(kCurCom), L"Gemeinsame Module: D:\\Neu\\Com");

    select(2);  // "leer" in both boxes
    showAndFocus(kSchema);
    EXPECT_TRUE(press(WM_SYSCHAR, key));
    ASSERT_EQ(ui->messages.size(), 1u);
    EXPECT_EQ(ui->messages[0].text, kRefusal);
    EXPECT_EQ(ui->messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(ui->messages[0].icon, MessageIcon::None);
    EXPECT_EQ(stored(kIdeSystemValue), L"C:\\Neu\\Sys");
    EXPECT_EQ(text(kCurSys), L"SystemModule: C:\\Neu\\Sys");
}

INSTANTIATE_TEST_SUITE_P(Keys, AltUmlautTest, ::testing::Values(L'\u00FC', L'\u00DC'),
                         [](const auto& info) { return info.param == L'\u00FC' ? "Lower" : "Upper"; });

// A key the system left unmatched inside a menu loop (the system menu, opened with
// Alt+Space) presses Save only for its own access key, and only once the loop has
// ended: the click is posted, not run inside the menu.
TEST_F(MainWindowTest, MenuCharPressesSaveForItsAccessKeyOnlyAfterTheMenu) {
    const std::pair<wchar_t, bool> keys[] = {{L'\u00DC', true}, {L'\u00FC', true}, {L'X', false}, {L'\u00D6', false}};
    for (const auto& [key, presses] : keys) {
        open();
        select(1);
        type(kSystemPath, L"C:\\Sys");
        type(kCommonPath, L"D:\\Com");
        const LRESULT answer = SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(key, MF_SYSMENU), 0);
        EXPECT_EQ(HIWORD(answer), presses ? MNC_CLOSE : MNC_IGNORE) << int(key);
        EXPECT_EQ(stored(kIdeSystemValue), kMissing) << "applied inside the menu loop";
        drainMessages();
        EXPECT_EQ(stored(kIdeSystemValue), presses ? L"C:\\Sys" : kMissing) << int(key);
        close();
        regSaveString(HKEY_CURRENT_USER, kIdeKey, kIdeSystemValue, L"");  // unset again
    }
}

// As a dialog does: the control the user left has the focus again after the window
// was minimised and restored.
TEST_F(MainWindowTest, FocusReturnsToTheControlLeftAfterMinimiseAndRestore) {
    open();
    select(2);
    showAndFocus(kCommonPath);
    SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    drainMessages();
    ASSERT_TRUE(IsIconic(window));
    SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    SetForegroundWindow(window);
    drainMessages();
    if (GetForegroundWindow() != window) GTEST_SKIP() << kNotForeground;
    EXPECT_EQ(focusedId(), kCommonPath);
}

// ---- Closing ----

struct CloseCase {
    const char* label;
    UINT message;
    WPARAM wParam;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.label;
}

class ClosePathTest : public MainWindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosePathTest, StoresTheSchemas) {
    open();
    select(3);
    type(kSystemPath, L"C:\\Drei");
    SendMessageW(window, GetParam().message, GetParam().wParam, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(stored(L"SysPath3"), L"C:\\Drei");
    EXPECT_EQ(stored(L"ComPath5"), L"leer");
}

INSTANTIATE_TEST_SUITE_P(Close, ClosePathTest,
                         ::testing::Values(CloseCase{"WmClose", WM_CLOSE, 0},
                                           CloseCase{"SystemMenuClose", WM_SYSCOMMAND, SC_CLOSE}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(MainWindowTest, LogoffStoresBeforeTheProcessMayEnd) {
    open();
    select(4);
    type(kCommonPath, L"D:\\Vier");
    EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    EXPECT_EQ(stored(L"ComPath4"), kMissing);

    SendMessageW(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);  // logoff cancelled
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(stored(L"ComPath4"), kMissing);

    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(stored(L"ComPath4"), L"D:\\Vier");
    EXPECT_EQ(stored(L"SysPath1"), L"leer");
}

// ---- Layout and fonts ----

struct PinnedRect {
    ControlId id;
    RECT rect;  // client coordinates
};

// The twips table worked out by hand: both edges scaled and rounded, frame contents
// offset by their frame.
constexpr PinnedRect kAt96[] = {
    {kSchema, {15, 80, 131, 101}},      {kSystemPath, {15, 110, 371, 131}},  {kGetSysPath, {375, 110, 406, 131}},
    {kCommonPath, {15, 135, 371, 156}}, {kGetComPath, {375, 135, 406, 156}}, {kSave, {20, 170, 151, 191}},
    {kFrame1, {5, 65, 416, 201}},       {kFrame2, {5, 5, 416, 66}},          {kCurSys, {15, 20, 406, 36}},
    {kCurCom, {15, 40, 406, 56}},       {kLabel1, {5, 205, 416, 221}},
};
constexpr PinnedRect kAt144[] = {
    {kSchema, {23, 120, 197, 152}},     {kSystemPath, {23, 165, 557, 197}},  {kGetSysPath, {563, 165, 609, 197}},
    {kCommonPath, {23, 203, 557, 234}}, {kGetComPath, {563, 203, 609, 234}}, {kSave, {30, 255, 227, 287}},
    {kFrame1, {8, 98, 624, 302}},       {kFrame2, {8, 8, 624, 99}},          {kCurSys, {23, 30, 609, 54}},
    {kCurCom, {23, 60, 609, 84}},       {kLabel1, {8, 308, 624, 332}},
};

// The client area the form asks for: 6270 × 3375 twips.
SIZE pinnedClient(UINT dpi) {
    return dpi == 144 ? SIZE{627, 338} : SIZE{418, 225};
}

// Asks the DPI functions of Windows 10 directly: skipped on older systems.
class MainWindowLayout : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (!windows10Dpi().complete()) GTEST_SKIP() << kNoWindows10Dpi;
    }

    void expectClient(UINT dpi) {
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, pinnedClient(dpi).cx) << "at " << dpi;
        EXPECT_EQ(client.bottom, pinnedClient(dpi).cy) << "at " << dpi;
    }

    void expectLayout(UINT dpi) {
        ASSERT_TRUE(dpi == 96 || dpi == 144) << "no pinned layout at " << dpi;
        for (const PinnedRect& pinned : dpi == 96 ? kAt96 : kAt144) {
            const RECT want = pinned.rect, got = rectOf(pinned.id);
            EXPECT_NEAR(got.left, want.left, 1) << "id " << pinned.id << " at " << dpi;
            EXPECT_NEAR(got.top, want.top, 1) << "id " << pinned.id << " at " << dpi;
            EXPECT_NEAR(got.right, want.right, 1) << "id " << pinned.id << " at " << dpi;
            EXPECT_NEAR(got.bottom, want.bottom, 1) << "id " << pinned.id << " at " << dpi;
            // The list sets its own closed height from its font: only the fit makes it the table's.
            if (pinned.id == kSchema) {
                EXPECT_EQ(got.bottom - got.top, want.bottom - want.top) << "at " << dpi;
            }
        }
        EXPECT_EQ(rectOf(kFrame2).bottom - rectOf(kFrame1).top, 1) << "frames at " << dpi;
    }

    void expectFonts(UINT dpi) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
        const LONG messageHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi),
                                          static_cast<int>(windows10Dpi().getDpiForSystem()));
        for (const ControlDefinition& control : kForm) {
            const LOGFONTW font = logFontOf(item(control.id));
            if (control.id == kGetSysPath || control.id == kGetComPath) {
                EXPECT_EQ(font.lfHeight, -MulDiv(975, static_cast<int>(dpi), 7200)) << control.id;
                EXPECT_EQ(font.lfWeight, FW_NORMAL) << control.id;
                EXPECT_STREQ(font.lfFaceName, browseButtonFace()) << control.id;
            } else {
                EXPECT_EQ(font.lfHeight, messageHeight) << control.id << " at " << dpi;
                EXPECT_STREQ(font.lfFaceName, metrics.lfMessageFont.lfFaceName) << control.id;
            }
        }
    }

    // As Windows sends it when the window moves to a monitor of another DPI.
    void sendDpiChanged(UINT dpi) {
        RECT frame{0, 0, pinnedClient(dpi).cx, pinnedClient(dpi).cy};
        windows10Dpi().adjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                                                static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)), dpi);
        RECT now{};
        GetWindowRect(window, &now);
        RECT suggested{now.left, now.top, now.left + frame.right - frame.left, now.top + frame.bottom - frame.top};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
};

TEST_F(MainWindowLayout, FollowsTheTwipsTableAtTheProcessDpi) {
    open();
    const UINT dpi = processDpi(window);
    if (dpi != 96 && dpi != 144) GTEST_SKIP() << "layout pinned at 96 and 144 DPI only, not " << dpi;
    if (!defaultTextSize(dpi)) GTEST_SKIP() << kNotDefaultTextSize;

    expectClient(dpi);
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);

    expectLayout(dpi);
    expectFonts(dpi);
}

class MainWindowDpiChange : public MainWindowLayout {};

TEST_F(MainWindowDpiChange, RelaysOutAndRecreatesFontsBothWays) {
    open();
    const UINT start = windows10Dpi().getDpiForWindow(window);
    const UINT other = start == 144 ? 96 : 144;
    if (!defaultTextSize(start) || !defaultTextSize(other)) GTEST_SKIP() << kNotDefaultTextSize;
    const auto fontOf = [this](ControlId id) {
        return SendMessageW(item(id), WM_GETFONT, 0, 0);
    };
    const LRESULT messageFont = fontOf(kSave), browseFont = fontOf(kGetSysPath);

    sendDpiChanged(other);
    expectLayout(other);
    expectFonts(other);
    EXPECT_NE(fontOf(kSave), messageFont);
    EXPECT_NE(fontOf(kGetSysPath), browseFont);

    sendDpiChanged(start);
    expectLayout(start);
    expectFonts(start);
    expectClient(start);
}

// Where the two frames share a pixel row, "Aktuell" is drawn last: a themed frame's
// edge is its last row. Neither frame takes the focus, so the tab order is as created.
TEST_F(MainWindowTest, AktuellLiesAboveModulschema) {
    open();
    std::vector<int> zOrder;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        zOrder.push_back(GetDlgCtrlID(child));
    const auto at = [&](int id) {
        return std::find(zOrder.begin(), zOrder.end(), id) - zOrder.begin();
    };
    EXPECT_LT(at(kFrame2), at(kFrame1));
    EXPECT_LT(at(kSave), at(kFrame2));
}

// Windows asks for the size at a new DPI before it moves the window there; the answer
// is the window for the pinned client area at that DPI, frame included.
// Every active schema named: where the caption does not fit, its longest start that
// fits with "…" after it.
TEST(ActiveCaption, IsShortenedToItsRoomAndEndsInAnEllipsis) {
    const UniqueFont font = createMessageFont(96);
    const std::wstring whole = L"Aktuell \u2013 Standard, Schema 1, Schema 2, Schema 3, Schema 4, Schema 5";
    const int wholeWidth = textWidth(font.get(), whole);
    EXPECT_EQ(fittedCaption(font.get(), whole, wholeWidth), whole);
    for (int room : {wholeWidth - 1, wholeWidth / 2, 40}) {
        const std::wstring shown = fittedCaption(font.get(), whole, room);
        ASSERT_GE(shown.size(), 2u) << room;
        EXPECT_EQ(shown.back(), L'\u2026') << room;
        EXPECT_EQ(whole.compare(0, shown.size() - 1, shown, 0, shown.size() - 1), 0) << "a start of the whole";
        EXPECT_LE(textWidth(font.get(), shown), room);
        EXPECT_GT(textWidth(font.get(), whole.substr(0, shown.size()) + L"\u2026"), room) << "the longest start";
    }
}

TEST_F(MainWindowTest, AnswersTheExactSizeForANewDpi) {
    open();
    if (!frameScalesWithDpi(window)) GTEST_SKIP() << "only per-monitor v2 windows are asked";
    const std::pair<UINT, SIZE> clients[] = {{120, {523, 281}}, {144, {627, 338}}, {192, {836, 450}}};
    for (const auto& [dpi, client] : clients) {
        if (!defaultTextSize(dpi)) GTEST_SKIP() << kNotDefaultTextSize << " at " << dpi;
        RECT frame{0, 0, client.cx, client.cy};
        windows10Dpi().adjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                                                static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)), dpi);
        SIZE answered{1, 1};
        EXPECT_TRUE(SendMessageW(window, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&answered)));
        EXPECT_EQ(answered.cx, frame.right - frame.left) << dpi;
        EXPECT_EQ(answered.cy, frame.bottom - frame.top) << dpi;
    }
}

// The window's own icons at a DPI the class's icons were not made for.
TEST_F(MainWindowDpiChange, TakesIconsSizedForTheNewDpi) {
    open();
    for (UINT dpi : {144u, 96u}) {
        sendDpiChanged(dpi);
        for (auto [kind, metric] : {std::pair{ICON_SMALL, SM_CXSMICON}, std::pair{ICON_BIG, SM_CXICON}}) {
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, kind, 0)), &info));
            BITMAP bitmap{};
            GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            EXPECT_EQ(bitmap.bmWidth, frameScalesWithDpi(window) ? windows10Dpi().getSystemMetricsForDpi(metric, dpi)
                                                                 : GetSystemMetrics(metric))
                << dpi;
        }
    }
}

}  // namespace
