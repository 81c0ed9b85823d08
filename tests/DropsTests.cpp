// Folders dropped from the file manager onto the window, and the boxes completing folder
// names as the user types.
#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "CodePage.h"
#include "ImportHook.h"
#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "schemas/FolderText.h"
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

void PrintTo(const DropCase& c, std::ostream* os) {
    *os << c.label;
}

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

    PostMessageW(ui.handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(centreOf(ui.item(c.target)), items)), 0);
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

class DropsTest : public RegistrySandbox {};

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
TEST_F(DropsTest, LetsExactlyTheMessagesOfADropThroughAndCompletesFolders) {
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
