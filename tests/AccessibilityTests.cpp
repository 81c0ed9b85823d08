// What users of screen readers get: the names a screen reader announces, read from a
// second process.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "RegistrySandbox.h"
#include "WindowHarness.h"

namespace {

class AccessibilityTest : public RegistrySandbox {};

std::wstring besideThisProgram(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring path(self);
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

// The MSAA names of the windows as another process reads them, one per line.
std::wstring namesReadByAnotherProcess(std::initializer_list<HWND> windows) {
    const std::wstring out = besideThisProgram(L"accessible-names.txt");
    std::wostringstream commandLine;
    commandLine << L"\"" << besideThisProgram(L"accessible_name_reader.exe") << L"\" \"" << out << L"\"" << std::hex;
    for (HWND window : windows) commandLine << L" " << reinterpret_cast<ULONG_PTR>(window);
    EXPECT_EQ(runAnotherProgram(commandLine.str()), 0u);
    std::wstring names(4096, L'\0');
    size_t read = 0;
    if (FILE* file = _wfopen(out.c_str(), L"rb")) {
        read = std::fread(names.data(), sizeof(wchar_t), names.size(), file);
        std::fclose(file);
    }
    names.resize(read);
    DeleteFileW(out.c_str());
    return names;
}

}  // namespace

// Wine names an edit box from the hidden label before it, as Windows does, but names
// a list by its text and a button by its caption whatever precedes them, and has no
// annotation service. So the boxes are read from a second process, and what Windows
// reads from the annotation is checked at the seam.
TEST_F(AccessibilityTest, ScreenReadersHearWhatEachControlIsFor) {
    std::vector<std::pair<HWND, std::wstring>> annotated;
    MainWindowSeams seams;
    seams.nameControl = [&](HWND control, const std::wstring& name) {
        annotated.emplace_back(control, name);
    };
    TestWindow ui(std::move(seams));
    ASSERT_TRUE(ui.handle());
    finishStart();

    EXPECT_EQ(namesReadByAnotherProcess({ui.item(kSystemPath), ui.item(kCommonPath)}),
              L"System-Module\nGemeinsame Module\n");
    EXPECT_EQ(annotated, (std::vector<std::pair<HWND, std::wstring>>{
                             {ui.item(kSchema), L"Modulschema"},
                             {ui.item(kSystemPath), L"System-Module"},
                             {ui.item(kGetSysPath), L"Ordner für System-Module wählen"},
                             {ui.item(kCommonPath), L"Gemeinsame Module"},
                             {ui.item(kGetComPath), L"Ordner für Gemeinsame Module wählen"}}));
    for (ControlId id : {kSchema, kSystemPath, kCommonPath}) {  // labelled by invisible text just before
        HWND label = GetWindow(ui.item(id), GW_HWNDPREV);
        wchar_t className[16] = {};
        GetClassNameW(label, className, 16);
        EXPECT_STREQ(className, WC_STATICW) << id;
        EXPECT_FALSE(IsWindowVisible(label)) << id;
    }
    EXPECT_EQ(ui.text(kGetSysPath), L"...");  // nothing visible changed
}
