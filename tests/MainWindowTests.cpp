// The whole window: its start, keyboard, closing and session end, failures inside it,
// and the whole program against what another program or a damaged profile could leave
// in the registry.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "CodePage.h"
#include "ImportHook.h"
#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "schemas/SchemaTable.h"
#include "store/AnsiText.h"
#include "store/RegistryString.h"
#include "ui/MainWindow.h"
#include "ui/WindowIds.h"

namespace {

const wchar_t kRefusal[] = L"ungültige Pfadangabe !\r\nModul-Pfade wurden nicht gesetzt !";
const char kNotForeground[] = "the window did not become the foreground window (foreground lock)";

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
    EXPECT_EQ(text(kFrame1) + L"|" + text(kSave) + L"|" + text(kGetComPath), L"Modulschema|Schema &\u00FCbernehmen|...");
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
            press(WM_KEYDOWN, VK_TAB);
            EXPECT_EQ(focusedId(), id) << "Tab, schema " << c.schema;
        }
        ShiftHeld shift;
        for (auto id = c.forward.rbegin() + 1; id != c.forward.rend(); ++id) {
            press(WM_KEYDOWN, VK_TAB);
            EXPECT_EQ(focusedId(), *id) << "Shift+Tab, schema " << c.schema;
        }
        press(WM_KEYDOWN, VK_TAB);
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
        press(WM_KEYDOWN, VK_RETURN);
        press(WM_KEYDOWN, VK_ESCAPE);
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
    press(WM_SYSCHAR, key);
    EXPECT_TRUE(ui->messages.empty());
    EXPECT_EQ(stored(kIdeSystemValue), L"C:\\Neu\\Sys");
    EXPECT_EQ(stored(kIdeCommonValue), L"D:\\Neu\\Com");
    EXPECT_EQ(text(kCurSys), L"SystemModule: C:\\Neu\\Sys");
    EXPECT_EQ(text(kCurCom), L"Gemeinsame Module: D:\\Neu\\Com");

    select(2);  // "leer" in both boxes
    showAndFocus(kSchema);
    press(WM_SYSCHAR, key);
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
    EXPECT_EQ(handleEvents(window, nullptr, kRegistryChanged, 0), 0) << "the program goes on";
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

// The watch's timer runs only while a menu or a move does; KillTimer fails for no timer.
TEST_F(MainWindowTest, TheModalLoopTimerEndsWithTheLoop) {
    open();
    SendMessageW(window, WM_ENTERMENULOOP, FALSE, 0);
    EXPECT_TRUE(KillTimer(window, kModalLoopTimer)) << "not started";
    SendMessageW(window, WM_EXITMENULOOP, FALSE, 0);
    for (UINT message : {WM_ENTERMENULOOP, WM_EXITMENULOOP, WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE})
        SendMessageW(window, message, FALSE, 0);
    EXPECT_FALSE(KillTimer(window, kModalLoopTimer)) << "still runs after the loops";
}

}  // namespace

// ---- Failures inside the window ----
// A control that cannot be made, or something thrown by a handler, must leave no half
// window, no crash and nothing written.

namespace {

ImportHook* createWindowHook = nullptr;
ControlId failingControl{};

HWND WINAPI failingCreate(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width,
                          int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    if (parent && menu == reinterpret_cast<HMENU>(static_cast<INT_PTR>(failingControl))) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return createWindowHook->original<decltype(&CreateWindowExW)>()(exStyle, className, text, style, x, y, width,
                                                                    height, parent, menu, instance, param);
}

// As a 1 MiB path might end on a machine short of memory.
LONG WINAPI throwingQuery(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD) {
    throw std::bad_alloc();
}

class SafeBoundaryTest : public RegistrySandbox {
protected:
    void SetUp() override {
        RegistrySandbox::SetUp();
        putRaw(L"SysPath1", REG_SZ, "C:\\Eins");  // something a failed start must not touch
    }

    void expectNoWindowAndNothingWritten() {
        EXPECT_EQ(FindWindowW(kWindowClass, nullptr), nullptr);
        EXPECT_EQ(valueNames(), std::vector<std::wstring>{L"SysPath1"});
        EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"SysPath1", L""), L"C:\\Eins");
    }

    static std::vector<std::wstring> valueNames() {
        std::vector<std::wstring> names;
        UniqueRegKey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kIdeKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
        wchar_t name[256];
        for (DWORD i = 0, length = 256;
             RegEnumValueW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
             ++i, length = 256)
            names.emplace_back(name, length);
        return names;
    }
};

}  // namespace

TEST_F(SafeBoundaryTest, AControlThatCannotBeMadeFailsTheWholeWindow) {
    for (const ControlDefinition& row : kForm) {
        ImportHook hook("user32.dll", "CreateWindowExW", reinterpret_cast<void*>(&failingCreate));
        ASSERT_TRUE(hook.installed());
        createWindowHook = &hook;
        failingControl = row.id;
        {
            TestWindow window;
            EXPECT_EQ(window.handle(), nullptr) << "control " << row.id;
        }
        createWindowHook = nullptr;
        expectNoWindowAndNothingWritten();
    }
}

TEST_F(SafeBoundaryTest, SomethingThrownWhileLoadingLeavesNoWindow) {
    {
        ImportHook hook("advapi32.dll", "RegQueryValueExA", reinterpret_cast<void*>(&throwingQuery));
        ASSERT_TRUE(hook.installed());
        TestWindow window;
        EXPECT_EQ(window.handle(), nullptr);
    }
    expectNoWindowAndNothingWritten();
}

TEST_F(SafeBoundaryTest, SomethingThrownByAHandlerEndsOnlyThatHandler) {
    TestWindow window;
    ASSERT_TRUE(window.handle());
    window.select(2);
    window.setText(kSystemPath, L"C:\\Zwei");
    window.throwFromMessage = true;  // the refusal of "leer" below throws
    window.click(kSave);
    EXPECT_TRUE(IsWindow(window.handle()));
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, kIdeSystemValue, L"<fehlt>"), L"<fehlt>");

    window.throwFromMessage = false;
    window.close();  // still stores as usual
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"SysPath2", L"<fehlt>"), L"C:\\Zwei");
}

// ---- Registry contents that another program or a damaged profile could leave ----
// The whole program (start, use, close), with the registry checked byte for byte.

namespace {

std::string utf16(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// What a value holds after the program wrote text to it: the ANSI count with no
// terminator, which the registry then completes with one.
std::string writtenBytes(const std::wstring& text) {
    return text.empty() ? std::string() : utf16(text) + std::string(2, '\0');
}

std::vector<std::wstring> allValueNames() {
    std::vector<std::wstring> names = {kIdeSystemValue, kIdeCommonValue};
    for (int i = 0; i < kSchemaCount; ++i) {
        names.push_back(L"SysPath" + std::to_wstring(i));
        names.push_back(L"ComPath" + std::to_wstring(i));
    }
    return names;
}

struct Content {
    const char* label;
    DWORD type;
    std::string bytes;                  // raw data
    bool unicodeCall;                   // written through RegSetValueExW (bytes are UTF-16) or the ANSI call
    std::optional<std::wstring> shown;  // the text the program reads; nothing for the default
};

const std::wstring kLong64 = L"C:\\" + std::wstring(64 * 1024, L'x');
const std::wstring kLong1M = L"C:\\" + std::wstring(1024 * 1024, L'y');

class HostileContentTest : public RegistrySandbox, public ::testing::WithParamInterface<Content> {
protected:
    void putEverywhere(const Content& c) {
        for (const auto& name : allValueNames()) {
            if (c.unicodeCall)
                putRawWide(name, c.type, c.bytes);
            else
                putRaw(name, c.type, c.bytes);
        }
    }
};

}  // namespace

TEST_P(HostileContentTest, ShowsWhatTheRulesSayAndStoresBackWithoutLoss) {
    const Content& c = GetParam();
    putEverywhere(c);
    std::map<std::wstring, std::string> before;
    for (const auto& name : allValueNames()) before[name] = getRaw(name)->bytes;

    const std::wstring schemaText = c.shown.value_or(L"leer");
    // "Standard" is seeded from the IDE's value (default "") only where it reads as unset.
    const bool seeded = schemaText == L"leer";
    const std::wstring standardText = seeded ? c.shown.value_or(L"") : schemaText;
    {
        TestWindow window;
        ASSERT_TRUE(window.handle());
        EXPECT_EQ(window.text(kCurSys), L"SystemModule: " + c.shown.value_or(L"leer"));
        EXPECT_EQ(window.text(kCurCom), L"Gemeinsame Module: " + c.shown.value_or(L"leer"));
        EXPECT_EQ(window.text(kSystemPath), standardText);
        EXPECT_EQ(window.text(kCommonPath), standardText);
        for (int i = 1; i < kSchemaCount; ++i) {
            window.select(i);
            EXPECT_EQ(window.text(kSystemPath), schemaText) << "schema " << i;
            EXPECT_EQ(window.text(kCommonPath), schemaText) << "schema " << i;
        }
        window.select(0);
        window.close();
        EXPECT_FALSE(IsWindow(window.handle()));
        EXPECT_TRUE(window.messages.empty());
    }

    const bool storable = toAnsiExact(schemaText).has_value();
    for (const auto& name : allValueNames()) {
        const std::string after = getRaw(name)->bytes;
        const bool standard = name == L"SysPath0" || name == L"ComPath0";
        const bool schema = (name.rfind(L"SysPath", 0) == 0 || name.rfind(L"ComPath", 0) == 0) && !standard;
        if (schema && storable)
            EXPECT_EQ(after, writtenBytes(schemaText)) << testing::PrintToString(name);
        else if (standard && seeded && toAnsiExact(standardText))
            EXPECT_EQ(after, writtenBytes(standardText)) << testing::PrintToString(name);
        else
            EXPECT_EQ(after, before[name]) << testing::PrintToString(name);  // untouched
    }
}

INSTANTIATE_TEST_SUITE_P(
    RegistryContents, HostileContentTest,
    ::testing::Values(Content{"Dword", REG_DWORD, std::string("\x2A\0\0\0", 4), false, {}},
                      Content{"ExpandSz", REG_EXPAND_SZ, std::string("C:\\x\0", 5), false, {}},
                      Content{"Binary", REG_BINARY, "C:\\x", false, {}},
                      Content{"MultiSz", REG_MULTI_SZ, std::string("C:\\x\0D:\\y\0\0", 11), false, {}},
                      Content{"ZeroBytes", REG_SZ, "", false, {}},
                      Content{"LoneNul", REG_SZ, std::string(1, '\0'), false, L""},
                      Content{"NoTerminator", REG_SZ, utf16(L"C:\\Modul"), true, L"C:\\Modul"},
                      Content{"OddByteCount", REG_SZ, utf16(L"C:\\Modul") + "x", true, L"C:\\Modul"},
                      Content{"Text64KiB", REG_SZ, std::string(kLong64.begin(), kLong64.end()), false, kLong64},
                      Content{"Text1MiB", REG_SZ, std::string(kLong1M.begin(), kLong1M.end()), false, kLong1M},
                      Content{"OutsideCodePage", REG_SZ, utf16(L"C:\\" + foreignText()) + std::string(2, '\0'), true,
                              L"C:\\" + foreignText()}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(MainWindowTest, RefusedWritesLeaveEverythingAsItWasAndAreShownTruthfully) {
    putRaw(kIdeSystemValue, REG_SZ, "C:\\alt\\System");
    putRaw(kIdeCommonValue, REG_SZ, "C:\\alt\\Gemeinsam");
    putRaw(L"SysPath2", REG_SZ, "C:\\Schema2");
    setIdeKeyWritable(false);
    {
        TestWindow window;
        ASSERT_TRUE(window.handle());
        window.select(2);
        EXPECT_EQ(window.text(kSystemPath), L"C:\\Schema2");
        window.setText(kCommonPath, L"D:\\neu");
        window.click(kSave);
        // Nothing to report: the labels show what the registry really holds.
        EXPECT_TRUE(window.messages.empty());
        EXPECT_EQ(window.text(kCurSys), L"SystemModule: C:\\alt\\System");
        EXPECT_EQ(window.text(kCurCom), L"Gemeinsame Module: C:\\alt\\Gemeinsam");
        window.close();
        EXPECT_FALSE(IsWindow(window.handle()));
    }
    setIdeKeyWritable(true);
    EXPECT_EQ(getRaw(L"SysPath2")->bytes, writtenBytes(L"C:\\Schema2"));
    EXPECT_FALSE(getRaw(L"ComPath2"));
    EXPECT_FALSE(getRaw(L"SysPath0"));  // the seeding could not store either
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, kIdeSystemValue, L""), L"C:\\alt\\System");
}

namespace {

std::vector<std::pair<HKEY, std::string>> keysOpened;
std::set<std::string> callsMade;
ImportHook* openHook = nullptr;
ImportHook* createHook = nullptr;
ImportHook* watchHook = nullptr;

LONG WINAPI recordingOpen(HKEY hive, LPCSTR subkey, PHKEY key) {
    keysOpened.emplace_back(hive, subkey ? subkey : "");
    callsMade.insert("RegOpenKeyA");
    return openHook->original<decltype(&RegOpenKeyA)>()(hive, subkey, key);
}

LONG WINAPI recordingCreate(HKEY hive, LPCSTR subkey, PHKEY key) {
    keysOpened.emplace_back(hive, subkey ? subkey : "");
    callsMade.insert("RegCreateKeyA");
    return createHook->original<decltype(&RegCreateKeyA)>()(hive, subkey, key);
}

// The watch on the IDE's key, which opens it for notification only.
LONG WINAPI recordingWatch(HKEY hive, LPCSTR subkey, DWORD options, REGSAM access, PHKEY key) {
    keysOpened.emplace_back(hive, subkey ? subkey : "");
    callsMade.insert("RegOpenKeyExA");
    EXPECT_EQ(access, static_cast<REGSAM>(KEY_NOTIFY));
    return watchHook->original<decltype(&RegOpenKeyExA)>()(hive, subkey, options, access, key);
}

}  // namespace

TEST_F(MainWindowTest, EveryRegistryAccessIsTheOneKeyBelowTheCurrentUser) {
    ImportHook open("advapi32.dll", "RegOpenKeyA", reinterpret_cast<void*>(&recordingOpen));
    ImportHook create("advapi32.dll", "RegCreateKeyA", reinterpret_cast<void*>(&recordingCreate));
    ImportHook watch("advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(&recordingWatch));
    ASSERT_TRUE(open.installed() && create.installed() && watch.installed());
    openHook = &open;
    createHook = &create;
    watchHook = &watch;
    keysOpened.clear();
    callsMade.clear();
    {
        TestWindow window;
        finishStart();
        window.select(3);
        window.setText(kSystemPath, L"C:\\Sys");
        window.setText(kCommonPath, L"C:\\Com");
        window.click(kSave);
        window.close();
    }
    openHook = createHook = watchHook = nullptr;
    // Reads, writes and the watch were each made, and so held to the rule below.
    EXPECT_EQ(callsMade, (std::set<std::string>{"RegCreateKeyA", "RegOpenKeyA", "RegOpenKeyExA"}));
    const std::string ideKey = "Software\\Conrad Electronic\\C-Control IDE\\1.0\\Projects";
    for (const auto& [hive, subkey] : keysOpened) {
        EXPECT_EQ(hive, HKEY_CURRENT_USER);
        EXPECT_EQ(subkey, ideKey);
    }
}
