// What users of screen readers and of a larger text size get: the names a screen
// reader announces, read from a second process, and text that is never clipped.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <initializer_list>
#include <sstream>
#include <string>

#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "ui/Dpi.h"

namespace {

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
TEST_F(RegistrySandbox, ScreenReadersHearWhatEachControlIsFor) {
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

namespace {

// Puts the message font back at the end of the run if a test left it changed, whatever
// became of that test's own TearDown.
class MessageFontRestorer : public ::testing::Environment {
public:
    void SetUp() override {
        saved_.cbSize = sizeof(saved_);
        known_ = desktopMayChange() && SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(saved_), &saved_, 0);
    }
    void TearDown() override {
        NONCLIENTMETRICSW now{};
        now.cbSize = sizeof(now);
        if (known_ && SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(now), &now, 0) &&
            !sameFont(now.lfMessageFont, saved_.lfMessageFont))
            SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(saved_), &saved_, 0);
    }

private:
    NONCLIENTMETRICSW saved_{};
    bool known_ = false;
};

::testing::Environment* const messageFontRestorer = ::testing::AddGlobalTestEnvironment(new MessageFontRestorer);

std::wstring faceOf(HFONT font) {
    wchar_t face[LF_FACESIZE]{};
    HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, font);
    GetTextFaceW(screen, LF_FACESIZE, face);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return face;
}

// The system's message font set to one whose line is a given height, as a larger
// text size does, and put back afterwards whatever happened. It is the whole desktop
// session's font, so only where the session is the tests' own.
class TextSizeTest : public RegistrySandbox {
protected:
    void SetUp() override {
        RegistrySandbox::SetUp();
        if (!desktopMayChange())
            GTEST_SKIP()
                << "changes the desktop's text size: runs under Wine, or with TRELVANE_ALLOW_DESKTOP_CHANGES=1";
        saved_.cbSize = sizeof(saved_);
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(saved_), &saved_, 0));
        if (!windows10Dpi().getDpiForSystem) GTEST_SKIP() << kNoWindows10Dpi;
        if (windows10Dpi().getDpiForSystem() != 96) GTEST_SKIP() << "client sizes pinned at 96 DPI";
        if (!defaultTextSize(96)) GTEST_SKIP() << kNotDefaultTextSize;
    }
    void TearDown() override {
        ui.reset();
        if (changed_) SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(saved_), &saved_, 0);
        RegistrySandbox::TearDown();
    }

    // The first of faces that the system has (not another in its place), at the height
    // that gives the line; an open window is told as Windows tells it. line 0: the saved font.
    void setMessageLine(int line,
                        std::initializer_list<const wchar_t*> faces = {L"Tahoma", L"DejaVu Sans", L"Liberation Sans"}) {
        NONCLIENTMETRICSW metrics = saved_;
        LOGFONTW& font = metrics.lfMessageFont;
        const auto find = [&] {
            for (const wchar_t* face : faces)
                for (font.lfHeight = -6; font.lfHeight > -60; --font.lfHeight) {
                    wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
                    const UniqueFont made(CreateFontIndirectW(&font));
                    if (lineHeight(made.get()) == line && faceOf(made.get()) == face) return true;
                }
            return false;
        };
        if (line) {
            ASSERT_TRUE(find()) << "no font here has a line of " << line;
        }
        changed_ = true;
        ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), line ? &metrics : &saved_, 0));
        if (ui) SendMessageW(ui->handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    }

    SIZE client() const {
        RECT rect{};
        GetClientRect(ui->handle(), &rect);
        return {rect.right, rect.bottom};
    }

    // Each control has room for a line of its font (a button without its 3-D edge, the
    // list in its selection field), and the longest fixed texts fit their width.
    void expectEveryTextFits(SIZE leastClient) {
        EXPECT_GE(client().cx, leastClient.cx);
        EXPECT_GE(client().cy, leastClient.cy);
        const int edge = GetSystemMetrics(SM_CYEDGE);
        for (const ControlDefinition& row : kForm) {
            HWND control = ui->item(row.id);
            const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
            RECT room{};
            GetClientRect(control, &room);
            if (row.id == kSave || row.font == FontKind::BrowseButton) InflateRect(&room, -edge, -edge);
            // Windows makes a closed list 6 px higher than its field (Wine answers 2 px more
            // for the field than it gives it, so the field is not asked).
            if (row.id == kSchema) room.bottom -= 6;
            EXPECT_GE(room.bottom - room.top, lineHeight(font)) << "control " << row.id;
            if (row.id != kSave && row.id != kLabel1) continue;
            EXPECT_LE(textWidth(font, row.text), room.right - room.left - (row.id == kSave ? edge : 0))
                << "control " << row.id;
        }
    }

    std::unique_ptr<TestWindow> ui;

private:
    NONCLIENTMETRICSW saved_{};
    bool changed_ = false;
};

}  // namespace

// A larger text size grows the whole form with the text; it never shrinks below the
// size it was drawn at, and returns to exactly that size with the default text.
TEST_F(TextSizeTest, TextIsNeverClippedAndTheWindowFollowsTheSetting) {
    // Windows 10 and 11 at their default text size: Segoe UI 9 pt, or a face as narrow.
    setMessageLine(16, {L"Segoe UI", L"Liberation Sans Narrow"});
    ui = std::make_unique<TestWindow>();
    ASSERT_TRUE(ui->handle());
    expectEveryTextFits({418, 225});
    EXPECT_EQ(client().cx, 418);  // the size the form was drawn at
    EXPECT_EQ(client().cy, 225);

    setMessageLine(24);  // while the window is open
    expectEveryTextFits({627, 338});

    setMessageLine(0);
    EXPECT_EQ(client().cx, 418);
    EXPECT_EQ(client().cy, 225);

    setMessageLine(24);  // and at the start
    ui = std::make_unique<TestWindow>();
    ASSERT_TRUE(ui->handle());
    expectEveryTextFits({627, 338});
}

// Minimised, the window is restored at its normal rectangle: that is what must grow.
TEST_F(TextSizeTest, AWindowMinimisedMeanwhileComesBackAtTheNewSize) {
    setMessageLine(16);
    ui = std::make_unique<TestWindow>();
    ASSERT_TRUE(ui->handle());
    ShowWindow(ui->handle(), SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(ui->handle()));
    setMessageLine(24);
    ShowWindow(ui->handle(), SW_RESTORE);
    drainMessages();
    expectEveryTextFits({627, 338});
    const SIZE layout = clientSize(formVisualsAt(windowDpi(ui->handle())).layout);  // exactly, not merely room
    EXPECT_EQ(client().cx, layout.cx);
    EXPECT_EQ(client().cy, layout.cy);
}
