#include "probe/ThreadPing.h"
#include "tray/MainWnd.h"
#include "tray/TrayIcon.h"

#include "Fixture.h"

#include <atomic>
#include <chrono>
#include <new>
#include <thread>

namespace {

const std::uint32_t Loopback = 0x0100007F;

fake::EchoAnswer Reply(bool answered) {
    fake::EchoAnswer answer;
    if (answered) {
        answer.replies = 1;
        answer.lastError = 0;
        answer.status = IP_SUCCESS;
        answer.roundTripTime = 1;
    }
    return answer;
}

class ThreadPingTest : public HostglowTest {
protected:
    void SetUp() override {
        HostglowTest::SetUp();
        CommandLine("hostglow.exe 127.0.0.1");
        fake::State().hosts["127.0.0.1"] = fake::Resolution{0, false, {Loopback}};
        ShowLamp();
        fake::ClearCalls();
    }

    // Answers the probes in turn by answers, and sets Stop in the sleep of
    // the last cycle.
    static void Script(const std::vector<bool>& answers) {
        auto cycle = std::make_shared<std::size_t>(0);
        fake::State().onEcho = [answers, cycle](IPAddr, DWORD) {
            return Reply(answers.at(*cycle));
        };
        fake::State().onSleep = [answers, cycle](DWORD) {
            if (++*cycle == answers.size()) Stop = true;
        };
    }

    static void RunWorker() {
        TThread::Create<TThreadPing>();
        fake::JoinThreads();
    }
};

TEST_F(ThreadPingTest, ProbesAtOnceAndSetsTheLampEveryCycleByTheLatestAnswer) {
    Script({true, true, false, true});
    RunWorker();
    const std::string modify =
        "[thread1] Shell_NotifyIconA(NIM_MODIFY, size=" + std::to_string(NOTIFYICONDATAA_V1_SIZE) +
        " wnd=window1 id=100 flags=7 msg=2024 icon=";
    const std::string echo = "[thread1] IcmpSendEcho(icmp1, 127.0.0.1, data, 32, null, reply=" +
                             std::to_string(sizeof(ICMP_ECHO_REPLY) + 32) + ", 1000)";
    auto echoN = [&](int n) {
        std::string line = echo;
        line.replace(line.find("icmp1"), 5, "icmp" + std::to_string(n));
        return line;
    };
    EXPECT_EQ(fake::CallsOf({"IcmpSendEcho", "Shell_NotifyIconA", "Sleep", "CloseHandle"}),
              (Lines{echoN(1), modify + "icon#110 tip=\"\")", "[thread1] Sleep(1000)",  //
                     echoN(2), modify + "icon#110 tip=\"\")", "[thread1] Sleep(1000)",  //
                     echoN(3), modify + "icon#100 tip=\"\")", "[thread1] Sleep(1000)",  //
                     echoN(4), modify + "icon#110 tip=\"\")", "[thread1] Sleep(1000)",
                     "[thread1] CloseHandle(thread1)"}));
    const Lines calls = fake::Calls();
    EXPECT_EQ(calls.at(calls.size() - 1), "[thread1] CloseHandle(thread1)");
    EXPECT_EQ(fake::ShownIcon(), IconUp);
}

TEST_F(ThreadPingTest, StopSetDuringAProbeEndsTheLoopOnlyAfterTheCycle) {
    fake::State().onEcho = [](IPAddr, DWORD) {
        Stop = true;
        return Reply(true);
    };
    RunWorker();
    EXPECT_EQ(fake::CallsOf({"IcmpSendEcho"}).size(), 1u);
    EXPECT_EQ(fake::CallsOf({"Shell_NotifyIconA"}).size(), 1u);
    EXPECT_EQ(fake::CallsOf({"Sleep"}), (Lines{"[thread1] Sleep(1000)"}));
}

TEST_F(ThreadPingTest, SleepsDelayWithNegativeDelaysReplacedByTheDefault) {
    const std::pair<std::int32_t, std::string> cases[] = {
        {0, "[thread1] Sleep(0)"}, {250, "[thread1] Sleep(250)"}, {-5, "[thread1] Sleep(1000)"}};
    for (const auto& [delay, sleep] : cases) {
        fake::ClearCalls();
        Stop = false;
        Delay = delay;
        Script({false});
        RunWorker();
        EXPECT_EQ(fake::CallsOf({"Sleep"}), Lines{sleep}) << "Delay " << delay;
        fake::Reset();  // a fresh platform numbers the next worker thread1 again
        fake::State().hosts["127.0.0.1"] = fake::Resolution{0, false, {Loopback}};
        AddTrayIcon();
    }
}

TEST_F(ThreadPingTest, AnErrorEscapingTheLoopEndsTheWorkerQuietlyAndKeepsTheLamp) {
    auto cycle = std::make_shared<int>(0);
    fake::State().onEcho = [cycle](IPAddr, DWORD) {
        if (++*cycle == 2) throw std::bad_alloc();
        return Reply(true);
    };
    RunWorker();  // returns only because the worker ended by itself
    EXPECT_EQ(fake::ShownIcon(), IconUp);
    EXPECT_EQ(fake::CallsOf({"Shell_NotifyIconA"}).size(), 1u);
    EXPECT_EQ(fake::CallsOf({"MessageBoxA"}), Lines{});
    EXPECT_EQ(fake::OpenIcmpHandles(), 0);
    EXPECT_EQ(fake::WinsockStartups(), 0);
    EXPECT_EQ(fake::HeapBlocks(), 0);
    EXPECT_FALSE(Stop);
    EXPECT_TRUE(fake::IsWindowAlive(MainWnd)) << "the window and Exit go on working";
}

// The worker's cycles race the window's destruction: no request may follow
// the removal, and none may use a released icon. Run under ThreadSanitizer
// this also shows that the lamp and Stop are shared soundly.
TEST_F(ThreadPingTest, LateStateRequestsNeverFollowTheRemovalUnderAnyInterleaving) {
    for (int round = 0; round < 300; ++round) {
        fake::Reset();
        Stop = false;
        fake::State().hosts["127.0.0.1"] = fake::Resolution{0, false, {Loopback}};
        fake::State().onEcho = [](IPAddr, DWORD) { return Reply(true); };
        Delay = 0;
        ShowLamp();
        TThread::Create<TThreadPing>();
        std::this_thread::sleep_for(std::chrono::microseconds(round % 50 * 10));
        DestroyWindow(MainWnd);
        fake::JoinThreads();

        const auto requests = fake::TrayRequests();
        ASSERT_FALSE(requests.empty());
        ASSERT_EQ(requests.back().message, static_cast<DWORD>(NIM_DELETE)) << "round " << round;
        for (const auto& request : requests)
            ASSERT_FALSE(request.usedReleasedIcon) << "round " << round;
        ASSERT_FALSE(fake::TrayIconShown()) << "round " << round;
    }
}

}  // namespace
