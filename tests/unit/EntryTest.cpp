#include "Fixture.h"

#include "tray/MainWnd.h"
#include "tray/TrayIcon.h"

#include <chrono>
#include <regex>
#include <thread>

namespace {

const std::string Tray = " wnd=window1 id=100 flags=7 msg=2024 ";

std::string TrayRequest(const std::string& request, const std::string& icon,
                        const std::string& tip) {
    return "Shell_NotifyIconA(" + request + ", size=" + std::to_string(NOTIFYICONDATAA_V1_SIZE) +
           Tray + "icon=" + icon + " tip=\"" + tip + "\")";
}

// The start-up steps that run before the command line is looked at.
Lines StartUp() {
    return {
        "GetModuleHandleA(null)",
        "LoadIconA(module, #100)",
        "LoadIconA(module, #110)",
        "CreatePopupMenu() = menu1",
        "AppendMenuA(menu1, 0x0, 200, \"About...\")",
        "AppendMenuA(menu1, 0x800, 0, null)",
        "AppendMenuA(menu1, 0x0, 210, \"Exit\")",
        "LoadIconA(null, #32512 (int))",
        "LoadCursorA(null, #32512 (int))",
        "RegisterClassExA(size=" + std::to_string(sizeof(WNDCLASSEXA)) +
            " style=3 clsExtra=0 wndExtra=0 instance=module icon=IDI_APPLICATION"
            " cursor=IDC_ARROW background=16 menu=null class=\"WndClass1\" iconSm=null)",
        "CreateWindowExA(0, \"WndClass1\", \"About Hostglow...\", 8, 100, 100, 0, 0, null, null,"
        " module, null)",
        "DefWindowProcA(window1, WM_NCCREATE, 0x0, 0xC0FFEE)",
        "DefWindowProcA(window1, WM_CREATE, 0x0, 0xC0FFEE)",
        TrayRequest("NIM_ADD", "icon#100", ""),
    };
}

Lines Then(Lines lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

// Holds the worker in its first sleep until the test ends.
void HoldWorkerInSleep() {
    fake::State().onSleep = [](DWORD) {
        while (!Stop) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
}

struct ErrorExitCase {
    std::string commandLine;
    std::string text;
};

void PrintTo(const ErrorExitCase& c, std::ostream* os) {
    *os << Printable(c.commandLine);
}

class ErrorExitTest : public HostglowTest, public ::testing::WithParamInterface<ErrorExitCase> {};

TEST_P(ErrorExitTest, ShowsTheBoxThenRemovesTheLampAndEndsWithZero) {
    CommandLine(GetParam().commandLine);
    bool lampShownWhileBoxOpen = false;
    fake::State().onMessageBox = [&](const std::string&, const std::string&, UINT) {
        lampShownWhileBoxOpen =
            fake::TrayIconShown() && fake::ShownIcon() == IconDown && fake::ShownTip().empty();
        return IDOK;
    };

    EXPECT_EQ(RunProgram(HostglowMain), 0);

    EXPECT_EQ(fake::MainThreadCalls(),
              Then(StartUp(),
                   {"MessageBoxA(null, \"" + GetParam().text + "\", \"Error\", 0x0)",
                    "MessageBoxA closed", TrayRequest("NIM_DELETE", "icon#100", ""),
                    "DeleteObject(icon#100)", "DeleteObject(icon#110)", "PostQuitMessage(0)"}));
    EXPECT_TRUE(lampShownWhileBoxOpen);
    EXPECT_FALSE(fake::TrayIconShown());
    EXPECT_FALSE(Stop);
    EXPECT_EQ(fake::ThreadsCreated(), 0);
    EXPECT_EQ(TipText, "");
    EXPECT_EQ(TimeOut, 1000);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, ErrorExitTest,
    ::testing::Values(ErrorExitCase{"hostglow.exe", "No Actual Paramets In Param String!"},
                      ErrorExitCase{"hostglow.exe   \"\"", "No Actual Paramets In Param String!"},
                      ErrorExitCase{"hostglow.exe 0.1.2.3 500", "Error IP Adress!"},
                      ErrorExitCase{"hostglow.exe 1.2.3.4.5", "Error IP Adress!"}));

class EntryTest : public HostglowTest {};

TEST_F(EntryTest, AcceptedArgumentsSetTheTipStartTheWorkerAndRunTheLoop) {
    CommandLine("hostglow.exe 127.0.0.1 500");
    HoldWorkerInSleep();
    fake::State().onEmptyQueue = [] { return FALSE; };  // as if the quit message came

    EXPECT_EQ(RunProgram(HostglowMain), 0);

    EXPECT_EQ(fake::MainThreadCalls(),
              Then(StartUp(), {TrayRequest("NIM_MODIFY", "icon#100",
                                           "IP: 127.0.0.1 TimeOut=500 ms Delay=1000 ms"),
                               "CreateThread(stack=0, flags=0x4)", "ResumeThread(thread1)",
                               "GetMessageA(null, 0, 0)", "GetMessageA: queue empty"}));
    EXPECT_EQ(TimeOut, 500);
    EXPECT_EQ(fake::ThreadsCreated(), 1);
}

TEST_F(EntryTest, LoopDispatchesEachMessageAndEndsOnStopBeforeFetchingTheQuitMessage) {
    CommandLine("hostglow.exe localhost");
    HoldWorkerInSleep();
    // The window exists only once the program runs: the messages are posted
    // when the loop first finds its queue empty.
    fake::State().onEmptyQueue = [] {
        fake::Post(MainWnd, WM_USER + 5, 1, 2);
        fake::Post(MainWnd, WM_COMMAND, IDM_EXIT, 0);
        return FALSE;
    };

    EXPECT_EQ(RunProgram(HostglowMain), 0);

    const Lines loop = fake::CallsOf({"GetMessageA", "TranslateMessage", "DispatchMessageA",
                                      "DestroyWindow", "PostQuitMessage"});
    EXPECT_EQ(loop, (Lines{"GetMessageA(null, 0, 0)", "TranslateMessage(window1, 0x405, 0x1, 0x2)",
                           "DispatchMessageA(window1, 0x405, 0x1, 0x2)", "GetMessageA(null, 0, 0)",
                           "TranslateMessage(window1, WM_COMMAND, 0xD2, 0x0)",
                           "DispatchMessageA(window1, WM_COMMAND, 0xD2, 0x0)",
                           "DestroyWindow(window1)", "PostQuitMessage(0)"}));
    EXPECT_TRUE(Stop);
    EXPECT_EQ(fake::QueuedMessages(), 1u) << "the quit message is never fetched";
    EXPECT_FALSE(fake::TrayIconShown());
}

TEST_F(EntryTest, QuitMessageFromOutsideEndsTheLoopAndLeavesTheLamp) {
    CommandLine("hostglow.exe 127.0.0.1");
    HoldWorkerInSleep();
    fake::Post(nullptr, WM_QUIT, 0, 0);

    EXPECT_EQ(RunProgram(HostglowMain), 0);

    EXPECT_EQ(fake::CallsOf({"GetMessageA", "DispatchMessageA"}),
              (Lines{"GetMessageA(null, 0, 0)"}));
    EXPECT_FALSE(Stop);
    EXPECT_TRUE(fake::TrayIconShown()) << "only the window's destruction removes the lamp";
}

TEST_F(EntryTest, AnErrorResultOfGetMessageEndsTheLoop) {
    CommandLine("hostglow.exe 127.0.0.1");
    HoldWorkerInSleep();
    fake::PostError();
    fake::Post(nullptr, WM_USER, 0, 0);

    EXPECT_EQ(RunProgram(HostglowMain), 0);

    EXPECT_EQ(fake::CallsOf({"GetMessageA", "DispatchMessageA"}),
              (Lines{"GetMessageA(null, 0, 0)"}));
    EXPECT_EQ(fake::QueuedMessages(), 1u);
}

TEST_F(EntryTest, ExitChosenWhileTheErrorBoxIsOpenRemovesTheLampOnce) {
    CommandLine("hostglow.exe");
    fake::State().onMessageBox = [](const std::string&, const std::string&, UINT) {
        fake::State().onTrackPopupMenu = [] { return IDM_EXIT; };
        fake::Send(MainWnd, WM_TRAYNOTIFY, TrayIconID, WM_RBUTTONDOWN);
        // The box's own loop dispatches the command that the menu posted.
        MSG msg;
        while (fake::QueuedMessages() > 0 && GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
        return IDOK;
    };

    EXPECT_EQ(RunProgram(HostglowMain), 0);

    EXPECT_EQ(
        fake::CallsOf({"Shell_NotifyIconA", "DeleteObject"}),
        (Lines{TrayRequest("NIM_ADD", "icon#100", ""), TrayRequest("NIM_DELETE", "icon#100", ""),
               "DeleteObject(icon#100)", "DeleteObject(icon#110)"}));
    EXPECT_EQ(fake::ReleaseCount(IconDown), 1);
    EXPECT_EQ(fake::ReleaseCount(IconUp), 1);
    EXPECT_FALSE(fake::IsWindowAlive(MainWnd));
    EXPECT_EQ(fake::ThreadsCreated(), 0);
}

TEST_F(EntryTest, RefusedWorkerThreadEndsWithTheApplicationErrorBoxAndExitCodeOne) {
    CommandLine("hostglow.exe 127.0.0.1");
    fake::State().createThreadFails = true;
    fake::State().createThreadError = ERROR_NOT_ENOUGH_MEMORY;
    std::string text;
    std::string caption;
    UINT flags = 0;
    fake::State().onMessageBox = [&](const std::string& t, const std::string& c, UINT f) {
        text = t;
        caption = c;
        flags = f;
        return IDOK;
    };

    EXPECT_EQ(RunProgram(HostglowMain), 1);

    EXPECT_EQ(caption, "Application Error");
    EXPECT_EQ(flags, 0x2010u);
    EXPECT_TRUE(std::regex_match(
        text, std::regex("Exception EThread in module hostglow\\.exe at [0-9A-F]{8}\\.\n"
                         "Thread creation error: Not enough memory resources are available to "
                         "process this command\\.")))
        << text;
    EXPECT_TRUE(fake::TrayIconShown()) << "no clean-up of the program's own on this path";
    EXPECT_FALSE(Stop);
    EXPECT_EQ(fake::CallsOf({"GetMessageA"}), Lines{});
}

}  // namespace
