// The frame "Modulschema": the boxes show the selected schema and write through to it,
// and what another copy stored is kept.
#include <windows.h>

#include <ostream>
#include <string>

#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "schemas/SchemaTable.h"
#include "store/RegistryString.h"
#include "ui/WindowIds.h"

namespace {

class SchemaPanelTest : public MainWindowTest {};

// ---- Schemas in memory ----

TEST_F(SchemaPanelTest, SelectingSwitchesTextsAndLocksOnlyStandard) {
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

TEST_F(SchemaPanelTest, LongStoredPathIsShownWholeAndStoredBackUnchanged) {
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

}  // namespace

// ---- Two copies ----

TEST_F(SchemaPanelTest, TwoCopiesEachKeepTheOthersChange) {
    {
        TestWindow first, second;
        ASSERT_TRUE(first.handle() && second.handle());
        first.select(1);
        first.setText(kSystemPath, L"C:\\Erste");
        second.select(2);
        second.setText(kSystemPath, L"C:\\Zweite");
        first.close();
        EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"SysPath1", L""), L"C:\\Erste");
        second.close();
        EXPECT_FALSE(IsWindow(first.handle()) || IsWindow(second.handle()));
    }
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"SysPath1", L""), L"C:\\Erste");
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"SysPath2", L""), L"C:\\Zweite");
}

// A text taken from another copy is not changed here: that copy's next change to it must
// outlast this copy's close.
TEST_F(SchemaPanelTest, TwoCopiesKeepTheOthersNextChangeToATakenText) {
    {
        TestWindow first, second;
        ASSERT_TRUE(first.handle() && second.handle());
        first.select(2);
        second.select(2);
        second.setText(kSystemPath, L"C:\\Erste");
        SendMessageW(second.handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);  // stores, still open
        SendMessageW(first.handle(), kRegistryChanged, 0, 0);                   // as the program's loop does
        ASSERT_EQ(first.text(kSystemPath), L"C:\\Erste");
        second.setText(kSystemPath, L"C:\\Zweite");
        second.close();
        first.close();
    }
    EXPECT_EQ(regGetString(HKEY_CURRENT_USER, kIdeKey, L"SysPath2", L""), L"C:\\Zweite");
}
