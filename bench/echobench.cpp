// echobench: the platform's floor and the probe's own cost, for the benchmark.
//
//   echobench HOST bare COUNT    COUNT echo calls on one held ICMP handle
//   echobench HOST probe COUNT   COUNT calls of the program's own PingHost
//
// Prints the count, the elapsed milliseconds and how many were answered.
// HOST is argument 1, so PingHost resolves it exactly as the program does.
#include "app/Settings.h"
#include "probe/PingHost.h"

#include <windows.h>
#include <winsock.h>
#include <ipexport.h>
#include <icmpapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Bare(const std::string& host, int count) {
    WSADATA winsock;
    WSAStartup(MAKEWORD(1, 1), &winsock);
    const hostent* entry = gethostbyname(host.c_str());
    if (entry == nullptr || entry->h_addr_list[0] == nullptr) return -1;
    IPAddr destination;
    std::memcpy(&destination, entry->h_addr_list[0], sizeof destination);
    HANDLE icmp = IcmpCreateFile();
    char request[32] = {};
    char reply[sizeof(ICMP_ECHO_REPLY) + 32 + 8];
    int answered = 0;
    for (int i = 0; i < count; ++i)
        if (IcmpSendEcho(icmp, destination, request, sizeof request, nullptr, reply, sizeof reply,
                         1000) > 0)
            ++answered;
    IcmpCloseHandle(icmp);
    WSACleanup();
    return answered;
}

int Probes(int count) {
    int answered = 0;
    for (int i = 0; i < count; ++i)
        if (PingHost()) ++answered;
    return answered;
}

}  // namespace

int main() {
    const std::string host = ArgText(1);
    const std::string mode = ArgText(2);
    const int count = std::atoi(ArgText(3).c_str());
    if (host.empty() || (mode != "bare" && mode != "probe") || count <= 0) {
        std::fprintf(stderr, "usage: echobench HOST bare|probe COUNT\n");
        return 2;
    }
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const int answered = mode == "bare" ? Bare(host, count) : Probes(count);
    QueryPerformanceCounter(&end);
    const double ms = (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
    std::printf("count %d\nms %.3f\nanswered %d\n", count, ms, answered);
    return 0;
}
