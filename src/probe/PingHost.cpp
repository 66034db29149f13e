#include "probe/PingHost.h"

#include "app/Settings.h"

#include <windows.h>
#include <winsock.h>
#include <ipexport.h>
#include <icmpapi.h>

#include <cstring>

namespace {

const WORD RequestSize = 32;
const DWORD ReplySize = sizeof(ICMP_ECHO_REPLY) + RequestSize;
static_assert(sizeof(void*) != 4 || ReplySize == 60, "one reply record and the echoed data");

// What one probe holds, released on every path: the ICMP handle first, then
// Windows Sockets (only if it started), then the reply buffer.
struct ProbeResources {
    HANDLE icmp = IcmpCreateFile();
    void* reply = HeapAlloc(GetProcessHeap(), 0, ReplySize);
    bool winsockStarted = false;

    ProbeResources() = default;
    ProbeResources(const ProbeResources&) = delete;
    ProbeResources& operator=(const ProbeResources&) = delete;
    ~ProbeResources() {
        IcmpCloseHandle(icmp);
        if (winsockStarted) WSACleanup();
        if (reply != nullptr) HeapFree(GetProcessHeap(), 0, reply);
    }
};

// The first address of argument 1, false when it does not resolve.
bool Resolve(IPAddr& destination) {
    const std::string host = ArgText(1);
    SetLastError(ERROR_SUCCESS);  // only the resolution may leave an error
    const hostent* entry = gethostbyname(host.c_str());
    if (GetLastError() != ERROR_SUCCESS) return false;
    if (entry == nullptr || entry->h_addr_list == nullptr || entry->h_addr_list[0] == nullptr)
        return false;
    std::memcpy(&destination, entry->h_addr_list[0], sizeof destination);
    return true;
}

// One echo exchange: answered only by an echo reply that came back in time.
bool Echo(HANDLE icmp, IPAddr destination, void* reply) {
    char request[RequestSize];
    std::memset(request, 'H', sizeof request);
    SetLastError(ERROR_SUCCESS);  // only the echo call may leave an error
    const DWORD replies = IcmpSendEcho(icmp, destination, request, RequestSize, nullptr, reply,
                                       ReplySize, PlatformMilliseconds(TimeOut));
    if (GetLastError() != ERROR_SUCCESS || replies == 0) return false;
    ICMP_ECHO_REPLY record;
    std::memcpy(&record, reply, sizeof record);
    return record.Status == IP_SUCCESS && static_cast<std::int32_t>(record.RoundTripTime) >= 0;
}

}  // namespace

std::uint32_t PlatformMilliseconds(std::int32_t milliseconds) {
    return milliseconds < 0 ? 1000u : static_cast<std::uint32_t>(milliseconds);
}

bool PingHost() {
    ProbeResources probe;
    WSADATA winsock;
    probe.winsockStarted = WSAStartup(MAKEWORD(1, 1), &winsock) == 0;
    if (!probe.winsockStarted || probe.reply == nullptr) return false;
    IPAddr destination = 0;
    if (!Resolve(destination)) return false;
    return Echo(probe.icmp, destination, probe.reply);
}
