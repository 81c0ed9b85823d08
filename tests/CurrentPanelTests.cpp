// The frame "Aktuell" as another program changes the IDE's key: the labels, the caption
// and what another copy stored follow, in the program's loop and in modal loops alike; a
// caption longer than the frame is shortened.
#include <windows.h>

#include <memory>
#include <string>

#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "schemas/SchemaTable.h"
#include "store/RegistryString.h"
#include "ui/CurrentPanel.h"
#include "ui/Dpi.h"
#include "ui/MessageLoop.h"

namespace {

const std::wstring kMissing = L"<fehlt>";

std::wstring stored(const std::wstring& name) {
    return regGetString(HKEY_CURRENT_USER, kIdeKey, name, kMissing);
}

}  // namespace

namespace {

// The window with the program's message loop, and another program that changes the
// IDE's key: Windows' own reg.exe, in a second process.
class LiveLabelTest : public RegistrySandbox {
protected:
    void SetUp() override {
        RegistrySandbox::SetUp();
        putRaw(kIdeSystemValue, REG_SZ, "C:\\Alt\\Sys");
        putRaw(kIdeCommonValue, REG_SZ, "C:\\Alt\\Com");
        ui = std::make_unique<TestWindow>();
        ASSERT_TRUE(ui->handle());
        finishStart();  // the watch is armed after the first frame
    }
    void TearDown() override {
        ui.reset();
        RegistrySandbox::TearDown();
    }

    void reg(const std::wstring& arguments) {
        EXPECT_EQ(runAnotherProgram(L"reg.exe " + arguments), 0u) << testing::PrintToString(arguments);
    }
    std::wstring key() const { return L"\"HKCU\\" + scratchPath_ + L"\\" + kIdeKey + L"\""; }

    // The program's loop, which also waits for the watch; a menu's loop, which handles
    // messages and nothing else and tells the window it runs; or a loop that handles only
    // messages inside the window's own message box, which the window knows of.
    enum class Loop { Program, Menu, MessagesOnly };

    // Runs the loop until both labels read so or a few seconds have passed.
    bool labelsBecome(const std::wstring& system, const std::wstring& common, Loop loop) {
        if (loop == Loop::Menu) SendMessageW(ui->handle(), WM_ENTERMENULOOP, FALSE, 0);
        bool became = false;
        for (const DWORD start = GetTickCount(); !became && GetTickCount() - start < 5000;) {
            if (loop == Loop::Program) {
                handleEvents(ui->handle(), MainWindow::ideKeyEvent(ui->handle()), kRegistryChanged, 50);
            } else {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
                drainMessages();
            }
            became =
                ui->text(kCurSys) == L"SystemModule: " + system && ui->text(kCurCom) == L"Gemeinsame Module: " + common;
        }
        if (loop == Loop::Menu) SendMessageW(ui->handle(), WM_EXITMENULOOP, FALSE, 0);
        if (!became)
            ADD_FAILURE() << "labels: " << testing::PrintToString(ui->text(kCurSys)) << ", "
                          << testing::PrintToString(ui->text(kCurCom));
        return became;
    }

    std::unique_ptr<TestWindow> ui;
};

class ActiveCaption : public RegistrySandbox {};

}  // namespace

TEST_F(LiveLabelTest, FollowTheIdeValuesAsAnotherProgramChangesThem) {
    ASSERT_TRUE(labelsBecome(L"C:\\Alt\\Sys", L"C:\\Alt\\Com", Loop::Program));

    reg(L"add " + key() + L" /v SystemModulesPath /d C:\\Neu\\Sys /f");
    EXPECT_TRUE(labelsBecome(L"C:\\Neu\\Sys", L"C:\\Alt\\Com", Loop::Program));

    reg(L"delete " + key() + L" /v UserCommonModulesPath /f");
    EXPECT_TRUE(labelsBecome(L"C:\\Neu\\Sys", L"leer", Loop::Menu));

    for (int i = 1; i <= 5; ++i) putWide(kIdeCommonValue, L"C:\\Schnell\\" + std::to_wstring(i));
    EXPECT_TRUE(labelsBecome(L"C:\\Neu\\Sys", L"C:\\Schnell\\5", Loop::Program));

    // Only the labels follow: the boxes still show "Standard" as loaded, and nothing
    // was written besides what the other programs wrote.
    EXPECT_EQ(ui->text(kSystemPath), L"C:\\Alt\\Sys");
    EXPECT_EQ(ui->text(kCommonPath), L"C:\\Alt\\Com");
    EXPECT_EQ(stored(L"SysPath0"), L"C:\\Alt\\Sys");
    EXPECT_EQ(stored(L"ComPath0"), L"C:\\Alt\\Com");
    for (int i = 1; i < kSchemaCount; ++i) EXPECT_EQ(stored(L"SysPath" + std::to_wstring(i)), kMissing);
    EXPECT_EQ(stored(kIdeSystemValue), L"C:\\Neu\\Sys");
    EXPECT_EQ(stored(kIdeCommonValue), L"C:\\Schnell\\5");
}

TEST_F(LiveLabelTest, ShowLeerWhileTheKeyIsGoneAndFollowItWhenItIsBack) {
    reg(L"delete " + key() + L" /f");
    EXPECT_TRUE(labelsBecome(L"leer", L"leer", Loop::Menu));

    reg(L"add " + key() + L" /v SystemModulesPath /d C:\\Wieder /f");
    EXPECT_TRUE(labelsBecome(L"C:\\Wieder", L"leer", Loop::Program));
    reg(L"add " + key() + L" /v UserCommonModulesPath /d D:\\Wieder /f");
    EXPECT_TRUE(labelsBecome(L"C:\\Wieder", L"D:\\Wieder", Loop::Menu));
}

TEST_F(LiveLabelTest, FollowWhileTheWindowsMessageBoxIsOpen) {
    ui->whileMessageShown = [&] {
        reg(L"add " + key() + L" /v SystemModulesPath /d C:\\Modal /f");
        EXPECT_TRUE(labelsBecome(L"C:\\Modal", L"C:\\Alt\\Com", Loop::MessagesOnly));
    };
    ui->select(1);
    ui->click(kSave);  // "leer" is refused with a message
    EXPECT_EQ(ui->messages.size(), 1u);
}

// Another copy stores schema 2 and another program makes it active while the window
// shows it: the boxes take it, and the frame names every schema whose pair is active,
// also as the user types one.
TEST_F(LiveLabelTest, TakeWhatAnotherCopyStoredAndNameTheActiveSchemas) {
    EXPECT_EQ(ui->text(kFrame2), L"Aktuell \u2013 Standard");
    ui->select(2);
    for (const wchar_t* value : {L"SysPath2 /d C:\\Neu\\Sys", L"ComPath2 /d c:\\neu\\com\\",
                                 L"SystemModulesPath /d C:\\Neu\\Sys", L"UserCommonModulesPath /d C:\\Neu\\Com"})
        reg(L"add " + key() + L" /v " + value + L" /f");
    EXPECT_TRUE(
        labelsBecome(L"C:\\Neu\\Sys", L"C:\\Neu\\Com", Loop::Menu));  // one change handler sets boxes and caption too
    EXPECT_EQ(ui->text(kSystemPath) + L"|" + ui->text(kCommonPath) + L"|" + ui->text(kFrame2),
              L"C:\\Neu\\Sys|c:\\neu\\com\\|Aktuell \u2013 Schema 2");

    ui->select(1);
    ui->setText(kSystemPath, L"c:\\NEU\\sys\\");
    ui->setText(kCommonPath, L"C:\\Neu\\Com");
    EXPECT_EQ(ui->text(kFrame2), L"Aktuell \u2013 Schema 1, Schema 2");
}

// In a font larger than the frame was laid out for, the caption ends inside the frame,
// whose edge a group box draws at least a character from the caption's ends.
TEST_F(ActiveCaption, ALongCaptionEndsInsideTheFrame) {
    putWide(kIdeSystemValue, L"C:\\Sys");
    putWide(kIdeCommonValue, L"C:\\Com");
    putWide(L"SysPath1", L"C:\\Sys");
    const UniqueFont large = createMessageFont(288);
    TestWindow ui;
    HWND frame = ui.item(kFrame2);
    SendMessageW(frame, WM_SETFONT, reinterpret_cast<WPARAM>(large.get()), FALSE);
    ui.select(1);
    ui.setText(kCommonPath, L"C:\\Com");  // the caption names Standard and Schema 1
    const std::wstring caption = ui.text(kFrame2);
    ASSERT_EQ(caption.back(), L'\u2026') << "shortened";
    EXPECT_LE(textWidth(large.get(), caption) + 2 * textWidth(large.get(), L"x"),
              rectInParent(frame).right - rectInParent(frame).left);
}

// Every active schema named: where the caption does not fit, its longest start that
// fits with "…" after it.
TEST_F(ActiveCaption, IsShortenedToItsRoomAndEndsInAnEllipsis) {
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
