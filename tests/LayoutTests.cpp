// The form laid out at a DPI and a text size: the twips table in pixels, the fonts, the
// window's size and icons as the DPI changes, and text that is never clipped.
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "RegistrySandbox.h"
#include "WindowHarness.h"
#include "ui/Dpi.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"

namespace {

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
                const std::wstring face = font.lfFaceName;  // or its scalable successor where installed
                EXPECT_TRUE(face == L"MS Sans Serif" || face == L"Microsoft Sans Serif") << control.id;
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

// Windows asks for the size at a new DPI before it moves the window there; the answer
// is the window for the pinned client area at that DPI, frame included.
TEST_F(MainWindowDpiChange, AnswersTheExactSizeForANewDpi) {
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

// ---- Text size ----

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
            EXPECT_LE(textWidth(font, ui->text(row.id)), room.right - room.left - (row.id == kSave ? edge : 0))
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
