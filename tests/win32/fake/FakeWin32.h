// The recording, scriptable platform behind Hostglow's own Win32 layer.
//
// Every call that the program makes is recorded as one line of text, in
// order, e.g. `Shell_NotifyIconA(NIM_ADD, wnd=window1 id=100 ...)`. Handles are
// shown by name ("icon#100", "window1", "icmp1"), so that tests can compare
// whole call sequences as tables. Tests script the platform's answers through
// the State fields and hooks below. All of it is safe to use from the probe
// worker's thread.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <ipexport.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fake {

// What one name resolution answers.
struct Resolution {
    DWORD lastError = 0;                   // left by gethostbyname
    bool nullEntry = false;                // no host entry at all
    std::vector<std::uint32_t> addresses;  // in network byte order
};

// What one echo call answers.
struct EchoAnswer {
    DWORD replies = 0;
    DWORD lastError = IP_REQ_TIMED_OUT;
    ULONG status = IP_REQ_TIMED_OUT;
    ULONG roundTripTime = 0;
};

// One request handed to the shell, with the record as it was at the call.
struct TrayRequest {
    DWORD message;
    NOTIFYICONDATAA data;
    bool usedReleasedIcon;
    std::uint32_t thread;  // 0 for the main thread, else the fake thread number
};

// The scriptable answers. Reset() puts the defaults back.
struct Script {
    std::string commandLine = "hostglow.exe";
    bool doubleByteCodePage = false;  // lead bytes of code page 932 when set
    DWORD platformId = VER_PLATFORM_WIN32_NT;
    POINT cursor = {640, 480};
    int wsaStartupResult = 0;
    bool heapAllocFails = false;
    bool createThreadFails = false;
    DWORD createThreadError = ERROR_NOT_ENOUGH_MEMORY;
    std::map<std::string, Resolution> hosts;

    // Modal boxes: called while the box is "open"; the result is the button.
    std::function<int(const std::string& text, const std::string& caption, UINT flags)>
        onMessageBox;
    std::function<int(const MSGBOXPARAMSA& params)> onMessageBoxIndirectA;
    std::function<int(const MSGBOXPARAMSW& params)> onMessageBoxIndirectW;
    // The pop-up menu: returns the chosen command, 0 for none.
    std::function<UINT()> onTrackPopupMenu;
    // GetMessageA found its queue empty. The hook may post messages, which are
    // then fetched; otherwise its result is what GetMessageA returns.
    std::function<BOOL()> onEmptyQueue;
    std::function<EchoAnswer(IPAddr destination, DWORD timeout)> onEcho;
    std::function<void(DWORD milliseconds)> onSleep;
    // Called after every recorded call, with its line.
    std::function<void(const std::string& line)> onCall;
};

Script& State();

// Joins every thread, clears the record and puts the default script back.
void Reset();

// The recorded calls, each as one line.
std::vector<std::string> Calls();
// Only those calls whose function name is one of names. Calls made on a
// thread that the program created start with its name, e.g. "[thread1] ".
std::vector<std::string> CallsOf(const std::vector<std::string>& names);
// Only the calls made on the main thread.
std::vector<std::string> MainThreadCalls();
void ClearCalls();
// Records a line of the test's own, to mark a point in the sequence.
void Mark(const std::string& text);

// The name under which the platform knows a handle.
std::string NameOf(const void* handle);

// Windows and messages.
HWND FindWindowOfClass(const std::string& className);
bool IsWindowAlive(HWND wnd);
LRESULT Send(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
void Post(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Makes the next GetMessageA on an empty queue position return -1.
void PostError();
std::size_t QueuedMessages();

// The notification area.
std::vector<TrayRequest> TrayRequests();
bool TrayIconShown();
HICON ShownIcon();
std::string ShownTip();
int ReleaseCount(const void* handle);

// Threads.
void JoinThreads();
int ThreadsCreated();

// Resources that a probe holds; all zero when nothing is outstanding.
int OpenIcmpHandles();
int WinsockStartups();
int HeapBlocks();

}  // namespace fake
