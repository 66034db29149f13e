#include "probe/PingHost.h"

#include "Fixture.h"

#include <ipexport.h>

namespace {

const std::uint32_t Loopback = 0x0100007F;  // 127.0.0.1 in network byte order
const std::string Reply = std::to_string(sizeof(ICMP_ECHO_REPLY) + 32);

fake::EchoAnswer Answer(DWORD replies, DWORD lastError, ULONG status, ULONG roundTripTime) {
    fake::EchoAnswer answer;
    answer.replies = replies;
    answer.lastError = lastError;
    answer.status = status;
    answer.roundTripTime = roundTripTime;
    return answer;
}

const Lines Acquire = {"IcmpCreateFile() = icmp1", "HeapAlloc(" + Reply + ")", "WSAStartup(0x101)"};
const Lines Resolve = {"SetLastError(0)", "gethostbyname(\"gateway\")"};
const Lines Send = {"SetLastError(0)",
                    "IcmpSendEcho(icmp1, 127.0.0.1, data, 32, null, reply=" + Reply + ", 1000)"};
const Lines Release = {"IcmpCloseHandle(icmp1)", "WSACleanup()", "HeapFree()"};

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct ProbeCase {
    const char* what;
    int wsaStartup;
    fake::Resolution resolution;
    fake::EchoAnswer echo;
    bool reachable;
    Lines calls;
};

void PrintTo(const ProbeCase& c, std::ostream* os) {
    *os << c.what;
}

class PingHostTest : public HostglowTest, public ::testing::WithParamInterface<ProbeCase> {
protected:
    void SetUp() override {
        HostglowTest::SetUp();
        CommandLine("hostglow.exe gateway 1000");
    }
};

TEST_P(PingHostTest, VerdictCallsAndReleaseOrder) {
    const ProbeCase& c = GetParam();
    fake::State().wsaStartupResult = c.wsaStartup;
    fake::State().hosts["gateway"] = c.resolution;
    const fake::EchoAnswer echo = c.echo;
    fake::State().onEcho = [echo](IPAddr, DWORD) { return echo; };

    EXPECT_EQ(PingHost(), c.reachable) << c.what;
    EXPECT_EQ(fake::Calls(), c.calls) << c.what;
    EXPECT_EQ(fake::OpenIcmpHandles(), 0) << c.what;
    EXPECT_EQ(fake::WinsockStartups(), 0) << c.what;
    EXPECT_EQ(fake::HeapBlocks(), 0) << c.what;
}

const fake::Resolution Resolves{0, false, {Loopback}};
const fake::EchoAnswer Answered = Answer(1, 0, IP_SUCCESS, 3);

INSTANTIATE_TEST_SUITE_P(
    Paths, PingHostTest,
    ::testing::Values(
        ProbeCase{
            "answered", 0, Resolves, Answered, true,
            Join(
                {Acquire, Resolve, {"GetLastError() = 0"}, Send, {"GetLastError() = 0"}, Release})},
        ProbeCase{"Windows Sockets refused", 10091, Resolves, Answered, false,
                  Join({Acquire, {"IcmpCloseHandle(icmp1)", "HeapFree()"}})},
        ProbeCase{"resolution leaves an error", 0, fake::Resolution{11001, true, {}}, Answered,
                  false, Join({Acquire, Resolve, {"GetLastError() = 11001"}, Release})},
        ProbeCase{"no host entry", 0, fake::Resolution{0, true, {}}, Answered, false,
                  Join({Acquire, Resolve, {"GetLastError() = 0"}, Release})},
        ProbeCase{"no address in the entry", 0, fake::Resolution{0, false, {}}, Answered, false,
                  Join({Acquire, Resolve, {"GetLastError() = 0"}, Release})},
        ProbeCase{"no reply in time", 0, Resolves, Answer(0, IP_REQ_TIMED_OUT, IP_REQ_TIMED_OUT, 0),
                  false,
                  Join({Acquire,
                        Resolve,
                        {"GetLastError() = 0"},
                        Send,
                        {"GetLastError() = 11010"},
                        Release})},
        ProbeCase{
            "negative round trip", 0, Resolves, Answer(1, 0, IP_SUCCESS, 0x80000000u), false,
            Join(
                {Acquire, Resolve, {"GetLastError() = 0"}, Send, {"GetLastError() = 0"}, Release})},
        ProbeCase{
            "largest round trip", 0, Resolves, Answer(1, 0, IP_SUCCESS, 0x7FFFFFFFu), true,
            Join(
                {Acquire, Resolve, {"GetLastError() = 0"}, Send, {"GetLastError() = 0"}, Release})},
        ProbeCase{
            "destination unreachable is no answer", 0, Resolves,
            Answer(1, 0, IP_DEST_HOST_UNREACHABLE, 0), false,
            Join(
                {Acquire, Resolve, {"GetLastError() = 0"}, Send, {"GetLastError() = 0"}, Release})},
        ProbeCase{"no reply counted, no error", 0, Resolves, Answer(0, 0, IP_SUCCESS, 0), false,
                  Join({Acquire,
                        Resolve,
                        {"GetLastError() = 0"},
                        Send,
                        {"GetLastError() = 0"},
                        Release})}));

class PingHostDetailTest : public HostglowTest {
protected:
    void SetUp() override {
        HostglowTest::SetUp();
        CommandLine("hostglow.exe gateway");
        fake::State().hosts["gateway"] = Resolves;
    }
};

TEST_F(PingHostDetailTest, StaleErrorFromBeforeTheProbeDoesNotDecideIt) {
    fake::State().onEcho = [](IPAddr, DWORD) { return Answered; };
    SetLastError(5);
    EXPECT_TRUE(PingHost());
}

TEST_F(PingHostDetailTest, NoReplyBufferMeansNoRequestAndNothingLeftOver) {
    fake::State().heapAllocFails = true;
    EXPECT_FALSE(PingHost());
    EXPECT_EQ(fake::Calls(),
              (Lines{"IcmpCreateFile() = icmp1", "HeapAlloc(" + Reply + ") = null",
                     "WSAStartup(0x101)", "IcmpCloseHandle(icmp1)", "WSACleanup()"}));
}

TEST_F(PingHostDetailTest, DottedAddressGoesThroughTheSameResolution) {
    CommandLine("hostglow.exe 127.0.0.1");
    fake::State().hosts["127.0.0.1"] = Resolves;
    fake::State().onEcho = [](IPAddr, DWORD) { return Answered; };
    EXPECT_TRUE(PingHost());
    EXPECT_EQ(fake::CallsOf({"gethostbyname"}), (Lines{"gethostbyname(\"127.0.0.1\")"}));
}

TEST_F(PingHostDetailTest, TheFirstAddressIsProbedAndAChangedAddressIsFollowed) {
    std::vector<IPAddr> probed;
    fake::State().onEcho = [&probed](IPAddr destination, DWORD) {
        probed.push_back(destination);
        return Answered;
    };
    fake::State().hosts["gateway"] = fake::Resolution{0, false, {0x0100007F, 0x0200007F}};
    PingHost();
    fake::State().hosts["gateway"] = fake::Resolution{0, false, {0x0300007F}};
    PingHost();
    EXPECT_EQ(probed, (std::vector<IPAddr>{0x0100007F, 0x0300007F}));
}

TEST_F(PingHostDetailTest, TimeoutIsHandedOverNegativeOnesReplacedByTheDefault) {
    const std::pair<std::int32_t, DWORD> cases[] = {
        {1000, 1000}, {250, 250}, {0, 0}, {-1, 1000}, {INT32_MIN, 1000}, {INT32_MAX, 0x7FFFFFFF}};
    for (const auto& [timeOut, handedOver] : cases) {
        TimeOut = timeOut;
        DWORD seen = 12345;
        fake::State().onEcho = [&seen](IPAddr, DWORD timeout) {
            seen = timeout;
            return Answered;
        };
        PingHost();
        EXPECT_EQ(seen, handedOver) << "TimeOut " << timeOut;
    }
}

TEST_F(PingHostDetailTest, ManyProbesOnEveryPathLeaveNothingOutstanding) {
    int n = 0;
    fake::State().onEcho = [&n](IPAddr, DWORD) {
        return ++n % 2 == 0 ? Answered : Answer(0, IP_REQ_TIMED_OUT, IP_REQ_TIMED_OUT, 0);
    };
    for (int i = 0; i < 3000; ++i) {
        fake::State().wsaStartupResult = i % 7 == 0 ? 10091 : 0;
        fake::State().heapAllocFails = i % 11 == 0;
        CommandLine(i % 5 == 0 ? "hostglow.exe nowhere" : "hostglow.exe gateway");
        PingHost();
        if (i % 100 == 0) fake::ClearCalls();
    }
    EXPECT_EQ(fake::OpenIcmpHandles(), 0);
    EXPECT_EQ(fake::WinsockStartups(), 0);
    EXPECT_EQ(fake::HeapBlocks(), 0);
}

}  // namespace
