#include "tray/MainWnd.h"
#include "tray/TrayIcon.h"

#include "Fixture.h"

namespace {

class MainWndTest : public HostglowTest {
public:
    void SetUp() override {
        HostglowTest::SetUp();
        ShowLamp();
        fake::ClearCalls();
    }

    static std::string AboutBox() {
        return "MessageBoxIndirectW(size=" + std::to_string(sizeof(MSGBOXPARAMSW)) +
               " owner=null instance=module style=0x80 help=0 callback=null language=0"
               " caption=L\"About\" icon=L\"MAINICON\")";
    }

    static Lines ShowsAbout() {
        return {"GetVersionExA(size=148)", AboutBox(), "MessageBoxIndirectW closed"};
    }

    static Lines Destroys() {
        return {"DestroyWindow(window1)",
                "Shell_NotifyIconA(NIM_DELETE, size=" + std::to_string(NOTIFYICONDATAA_V1_SIZE) +
                    " wnd=window1 id=100 flags=7 msg=2024 icon=icon#100 tip=\"\")",
                "DeleteObject(icon#100)",
                "DeleteObject(icon#110)",
                "PostQuitMessage(0)",
                "DefWindowProcA(window1, WM_NCDESTROY, 0x0, 0x0)"};
    }
};

TEST_F(MainWndTest, MenuHoldsAboutASeparatorAndExit) {
    fake::Reset();
    CreateTrayMenu();
    EXPECT_EQ(
        fake::Calls(),
        (Lines{"CreatePopupMenu() = menu1", "AppendMenuA(menu1, 0x0, 200, \"About...\")",
               "AppendMenuA(menu1, 0x800, 0, null)", "AppendMenuA(menu1, 0x0, 210, \"Exit\")"}));
    EXPECT_EQ(fake::NameOf(TrayMenu), "menu1");
}

TEST_F(MainWndTest, WindowIsOfClassWndClass1AndItsProcedureIsWndProc) {
    EXPECT_EQ(fake::FindWindowOfClass("WndClass1"), MainWnd);
    // Messages sent through the platform reach WndProc: a right click opens the menu.
    fake::Send(MainWnd, WM_TRAYNOTIFY, TrayIconID, WM_RBUTTONDOWN);
    EXPECT_EQ(fake::CallsOf({"TrackPopupMenu"}).size(), 1u);
}

struct DispatchCase {
    const char* what;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    Lines calls;
    LRESULT result;
    bool destroyed = false;
};

void PrintTo(const DispatchCase& c, std::ostream* os) {
    *os << c.what;
}

class DispatchTest : public MainWndTest, public ::testing::WithParamInterface<DispatchCase> {};

TEST_P(DispatchTest, HandlesTheMessage) {
    const DispatchCase& c = GetParam();
    EXPECT_EQ(WndProc(MainWnd, c.msg, c.wParam, c.lParam), c.result) << c.what;
    EXPECT_EQ(fake::Calls(), c.calls) << c.what;
    EXPECT_EQ(Stop.load(), c.destroyed) << c.what;
    EXPECT_EQ(fake::TrayIconShown(), !c.destroyed) << c.what;
}

Lines Join(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Lines OpensMenu = {"SetForegroundWindow(window1)", "GetCursorPos()",
                         "TrackPopupMenu(menu1, 0x0, 640, 480, 0, window1, null)"};

INSTANTIATE_TEST_SUITE_P(
    Messages, DispatchTest,
    ::testing::Values(
        DispatchCase{"right press opens the menu at the cursor", WM_TRAYNOTIFY, 100, WM_RBUTTONDOWN,
                     OpensMenu, 0},
        DispatchCase{"left double click opens About", WM_TRAYNOTIFY, 100, WM_LBUTTONDBLCLK,
                     MainWndTest::ShowsAbout(), 0},
        DispatchCase{"mouse move", WM_TRAYNOTIFY, 100, WM_MOUSEMOVE, {}, 0},
        DispatchCase{"left press", WM_TRAYNOTIFY, 100, WM_LBUTTONDOWN, {}, 0},
        DispatchCase{"left release", WM_TRAYNOTIFY, 100, WM_LBUTTONUP, {}, 0},
        DispatchCase{"right release", WM_TRAYNOTIFY, 100, WM_RBUTTONUP, {}, 0},
        DispatchCase{"right double click", WM_TRAYNOTIFY, 100, WM_RBUTTONDBLCLK, {}, 0},
        DispatchCase{
            "the whole lParam counts", WM_TRAYNOTIFY, 100, 0x10000 + WM_RBUTTONDOWN, {}, 0},
        DispatchCase{"wParam is not examined", WM_TRAYNOTIFY, 7, WM_RBUTTONDOWN, OpensMenu, 0},
        DispatchCase{"About...", WM_COMMAND, IDM_ABOUT, 0, MainWndTest::ShowsAbout(), 0},
        DispatchCase{"About... whatever the high word and lParam", WM_COMMAND,
                     MAKEWPARAM(IDM_ABOUT, 1), 0x1234, MainWndTest::ShowsAbout(), 0},
        DispatchCase{"Exit destroys the window", WM_COMMAND, IDM_EXIT, 0, MainWndTest::Destroys(),
                     0, true},
        DispatchCase{"Exit whatever the high word", WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0xFFFF), 5,
                     MainWndTest::Destroys(), 0, true},
        DispatchCase{"unknown command", WM_COMMAND, 201, 0, {}, 0},
        DispatchCase{
            "destruction removes the lamp, sets Stop, posts quit", WM_DESTROY, 0, 0,
            Join({"Shell_NotifyIconA(NIM_DELETE, size=" + std::to_string(NOTIFYICONDATAA_V1_SIZE) +
                  " wnd=window1 id=100 flags=7 msg=2024 icon=icon#100 tip=\"\")"},
                 {"DeleteObject(icon#100)", "DeleteObject(icon#110)", "PostQuitMessage(0)"}),
            0, true},
        DispatchCase{"any other message goes to the default",
                     WM_USER + 5,
                     7,
                     9,
                     {"DefWindowProcA(window1, 0x405, 0x7, 0x9)"},
                     0xDEF00405},
        DispatchCase{"the whole message number counts",
                     0x10000 + WM_DESTROY,
                     1,
                     2,
                     {"DefWindowProcA(window1, 0x10002, 0x1, 0x2)"},
                     0xDEF10002},
        DispatchCase{"a close request is destroyed by the default", WM_CLOSE, 0, 0,
                     Join({"DefWindowProcA(window1, WM_CLOSE, 0x0, 0x0)"}, MainWndTest::Destroys()),
                     0xDEF00010, true}));

TEST_F(MainWndTest, DestructionRemovesTheLampBeforeSettingStopBeforePostingQuit) {
    Lines seen;
    fake::State().onCall = [&seen](const std::string& line) {
        seen.push_back(line.substr(0, line.find('(')) + (Stop ? " after Stop" : " before Stop"));
    };
    DestroyWindow(MainWnd);
    EXPECT_EQ(seen, (Lines{"DestroyWindow before Stop", "Shell_NotifyIconA before Stop",
                           "DeleteObject before Stop", "DeleteObject before Stop",
                           "PostQuitMessage after Stop", "DefWindowProcA after Stop"}));
}

TEST_F(MainWndTest, CreationMessagesGoToTheDefaultUnchanged) {
    fake::Reset();
    CreateMainWnd();
    EXPECT_EQ(fake::CallsOf({"DefWindowProcA"}),
              (Lines{"DefWindowProcA(window1, WM_NCCREATE, 0x0, 0xC0FFEE)",
                     "DefWindowProcA(window1, WM_CREATE, 0x0, 0xC0FFEE)"}));
}

TEST_F(MainWndTest, ExitChosenFromTheMenuReachesWndProcAsACommand) {
    fake::State().onTrackPopupMenu = [] { return IDM_EXIT; };
    fake::Send(MainWnd, WM_TRAYNOTIFY, TrayIconID, WM_RBUTTONDOWN);
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    DispatchMessageA(&msg);
    EXPECT_TRUE(Stop);
    EXPECT_FALSE(fake::IsWindowAlive(MainWnd));
    EXPECT_FALSE(fake::TrayIconShown());
}

TEST_F(MainWndTest, AboutWhileAnAboutBoxIsOpenOpensASecondBox) {
    int depth = 0;
    int deepest = 0;
    fake::State().onMessageBoxIndirectW = [&](const MSGBOXPARAMSW&) {
        deepest = std::max(deepest, ++depth);
        if (depth == 1) fake::Send(MainWnd, WM_TRAYNOTIFY, TrayIconID, WM_LBUTTONDBLCLK);
        if (depth == 2) fake::Send(MainWnd, WM_COMMAND, IDM_ABOUT, 0);
        --depth;
        return IDOK;
    };
    WndProc(MainWnd, WM_COMMAND, IDM_ABOUT, 0);
    EXPECT_EQ(deepest, 3);
    EXPECT_EQ(fake::CallsOf({"MessageBoxIndirectW"}).size(), 3u);
}

TEST_F(MainWndTest, ExitWhileTheAboutBoxIsOpenEndsAsAtAnyOtherTime) {
    fake::State().onMessageBoxIndirectW = [](const MSGBOXPARAMSW&) {
        fake::Send(MainWnd, WM_COMMAND, IDM_EXIT, 0);
        return IDOK;
    };
    WndProc(MainWnd, WM_TRAYNOTIFY, TrayIconID, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Stop);
    EXPECT_FALSE(fake::TrayIconShown());
    EXPECT_EQ(fake::CallsOf({"PostQuitMessage"}), (Lines{"PostQuitMessage(0)"}));
}

}  // namespace
