// What users of screen readers and of a larger text size get: the names a screen
// reader announces, read from a second process, and text that is never clipped.
#define WINVER 0x0A00
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "ui/Dpi.h"
#include "ui/Form.h"
#include "ui/MessageLoop.h"

namespace {

struct ExpectedName {
    ControlId id;
    const wchar_t* name;
};

constexpr ExpectedName kNames[] = {
    {kSchema, L"Modulschema"},
    {kSystemPath, L"System-Module"},
    {kGetSysPath, L"Ordner für System-Module wählen"},
    {kCommonPath, L"Gemeinsame Module"},
    {kGetComPath, L"Ordner für Gemeinsame Module wählen"},
};

std::wstring besideThisProgram(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

// The MSAA names of the windows as another process reads them. This thread keeps
// handling messages meanwhile: the reader's requests arrive as WM_GETOBJECT.
std::vector<std::wstring> namesReadByAnotherProcess(const std::vector<HWND>& windows) {
    std::wstring commandLine = L"\"" + besideThisProgram(L"accessible_name_reader.exe") + L"\"";
    for (HWND window : windows) {
        std::wostringstream handle;
        handle << std::hex << reinterpret_cast<ULONG_PTR>(window);
        commandLine += L" " + handle.str();
    }
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 1 << 16)) return {};
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return {};
    }
    const DWORD deadline = GetTickCount() + 20000;
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0 &&
           GetTickCount() < deadline)
        drainMessages();
    std::string output;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &read, nullptr) && read > 0) output.append(buffer, read);
    CloseHandle(readEnd);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    std::vector<std::wstring> names;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::wstring name(line.size(), L'\0');
        name.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                                            name.data(), static_cast<int>(name.size()))));
        names.push_back(name);
    }
    return names;
}

}  // namespace

// Wine names an edit box from the hidden label before it, as Windows does; it names a
// list by its text and a button by its caption whatever precedes them, and has no
// annotation service. So the boxes are read here from a second process, and what
// Windows reads from the annotation is checked at the seam.
TEST_F(RegistrySandbox, ScreenReadersHearWhatEachControlIsFor) {
    std::vector<std::pair<HWND, std::wstring>> annotated;
    MainWindowSeams seams;
    seams.nameControl = [&](HWND control, const std::wstring& name) { annotated.emplace_back(control, name); };
    TestWindow ui(std::move(seams));
    ASSERT_TRUE(ui.handle());
    // The names are given at the first idle moment after the start.
    for (int turn = 0; turn < 20 && annotated.empty(); ++turn) handleEvents(ui.handle(), 10);

    const std::vector<std::wstring> read = namesReadByAnotherProcess({ui.item(kSystemPath), ui.item(kCommonPath)});
    EXPECT_EQ(read, (std::vector<std::wstring>{L"System-Module", L"Gemeinsame Module"}));

    std::vector<std::pair<HWND, std::wstring>> expected;
    for (const ExpectedName& name : kNames) expected.emplace_back(ui.item(name.id), name.name);
    EXPECT_EQ(annotated, expected);

    // The labels that name the boxes and the list: invisible, just before them.
    for (ControlId id : {kSchema, kSystemPath, kCommonPath}) {
        HWND label = GetWindow(ui.item(id), GW_HWNDPREV);
        wchar_t className[32] = {};
        GetClassNameW(label, className, 32);
        EXPECT_STREQ(className, WC_STATICW) << id;
        EXPECT_FALSE(GetWindowLongW(label, GWL_STYLE) & WS_VISIBLE) << id;
    }
    EXPECT_EQ(ui.text(kGetSysPath), L"...");  // nothing visible changed
}

// The annotation service as the program uses it, with COM as the program starts it:
// where the system lacks the service (Wine answers E_NOTIMPL) the window still comes
// up and the hidden labels still name the boxes.
TEST_F(RegistrySandbox, TheAnnotationServiceNeverStandsInTheWay) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    {
        TestWindow ui;  // the default naming
        ASSERT_TRUE(ui.handle());
        EXPECT_EQ(namesReadByAnotherProcess({ui.item(kSystemPath)}), std::vector<std::wstring>{L"System-Module"});
        ui.close();
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

namespace {

// The system's message font set to one whose line is a given height, as a larger
// text size does, and put back afterwards.
class TextSizeTest : public RegistrySandbox {
protected:
    void SetUp() override {
        RegistrySandbox::SetUp();
        saved_.cbSize = sizeof(saved_);
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(saved_), &saved_, 0));
        if (GetDpiForSystem() != 96) GTEST_SKIP() << "client sizes pinned at 96 DPI";
    }
    void TearDown() override {
        ui.reset();
        SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(saved_), &saved_, 0);
        RegistrySandbox::TearDown();
    }

    // Tahoma where it gives exactly that line, else another face that does.
    void setMessageLine(int line) {
        const wchar_t* faces[] = {L"Tahoma", saved_.lfMessageFont.lfFaceName, L"DejaVu Sans", L"Liberation Sans"};
        for (const wchar_t* face : faces)
            for (int height = -6; height >= -60; --height) {
                LOGFONTW font = saved_.lfMessageFont;
                font.lfHeight = height;
                wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
                UniqueFont candidate(CreateFontIndirectW(&font));
                if (lineHeight(candidate.get()) != line) continue;
                NONCLIENTMETRICSW metrics = saved_;
                metrics.lfMessageFont = font;
                ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
                if (ui) SendMessageW(ui->handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
                return;
            }
        FAIL() << "no font here has a line of " << line << " px";
    }

    void restoreMessageFont() {
        ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(saved_), &saved_, 0));
        SendMessageW(ui->handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    }

    SIZE client() const {
        RECT rect{};
        GetClientRect(ui->handle(), &rect);
        return {rect.right, rect.bottom};
    }

    void expectClientAtLeast(SIZE least) {
        EXPECT_GE(client().cx, least.cx);
        EXPECT_GE(client().cy, least.cy);
    }

    // Each control's room for a line of its own font: the text area of a box, a
    // label or a frame, a button without its 3-D edge, a list's selection field.
    void expectEveryLineFits() {
        const int edge = GetSystemMetrics(SM_CYEDGE);
        for (const ControlDefinition& row : kForm) {
            HWND control = ui->item(row.id);
            const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
            const int line = lineHeight(font);
            RECT client{};
            GetClientRect(control, &client);
            int room = client.bottom;
            if (row.id == kSchema)
                room = static_cast<int>(SendMessageW(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
            else if (row.className == std::wstring(WC_BUTTONW) && !(row.style & BS_GROUPBOX))
                room -= 2 * edge;
            EXPECT_GE(room, line) << "control " << row.id << ": a line of " << line << " px in " << room;
        }
        // The longest fixed texts are not cut off at the side either.
        for (ControlId id : {kSave, kLabel1}) {
            HWND control = ui->item(id);
            std::wstring text = ui->text(id);
            if (auto ampersand = text.find(L'&'); ampersand != std::wstring::npos) text.erase(ampersand, 1);
            HDC dc = GetDC(control);
            const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
            SIZE extent{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            SelectObject(dc, old);
            ReleaseDC(control, dc);
            RECT client{};
            GetClientRect(control, &client);
            EXPECT_LE(extent.cx, client.right - (id == kSave ? 3 * edge : 0)) << "control " << id;
        }
    }

    std::unique_ptr<TestWindow> ui;

private:
    NONCLIENTMETRICSW saved_{};
};

}  // namespace

// A larger text size grows the whole form with the text; it never shrinks below the
// size it was drawn at, and returns to exactly that size with the default text.
TEST_F(TextSizeTest, TextIsNeverClippedAndTheWindowFollowsTheSetting) {
    setMessageLine(16);  // as Windows 10 and 11 at their default text size
    ui = std::make_unique<TestWindow>();
    ASSERT_TRUE(ui->handle());
    expectClientAtLeast({418, 225});
    expectEveryLineFits();

    setMessageLine(24);  // while the window is open
    expectClientAtLeast({627, 338});
    expectEveryLineFits();

    restoreMessageFont();
    EXPECT_EQ(client().cx, 418);
    EXPECT_EQ(client().cy, 225);

    setMessageLine(24);  // and at the start
    ui = std::make_unique<TestWindow>();
    ASSERT_TRUE(ui->handle());
    expectClientAtLeast({627, 338});
    expectEveryLineFits();
}
