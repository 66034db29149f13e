#include "tray/TrayIcon.h"

#include "runtime/Application.h"
#include "tray/MainWnd.h"

#include <cstring>

NOTIFYICONDATAA TrayData;
HICON IconDown = nullptr;
HICON IconUp = nullptr;

namespace {

// The probe worker changes the lamp while the main thread may remove it: this
// lock makes each request and the removal whole, and TrayRemoved keeps a late
// request from bringing the lamp back or touching a released icon. Both are
// trivially destructible, so the end of the process never tears them down
// under the worker.
struct TrayLock {
    TrayLock() { InitializeCriticalSection(&section); }
    CRITICAL_SECTION section;
};
TrayLock Lock;
bool TrayRemoved = false;

class Guard {
public:
    Guard() { EnterCriticalSection(&Lock.section); }
    ~Guard() { LeaveCriticalSection(&Lock.section); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
};

static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88,
              "the first form of the tray record is 88 bytes on 32-bit Windows");

// The length of the longest start of text that fits the tooltip field with
// its NUL, without cutting a double-byte character in half.
std::size_t FittingLength(const std::string& text) {
    const char* start = text.c_str();
    const char* p = start;
    while (*p != '\0') {
        const char* next = CharNextA(p);
        if (static_cast<std::size_t>(next - start) > TipFieldSize - 1) break;
        p = next;
    }
    return static_cast<std::size_t>(p - start);
}

}  // namespace

void LoadStateIcons() {
    IconDown = LoadIconA(HInstance, "#100");
    IconUp = LoadIconA(HInstance, "#110");
}

void AddTrayIcon() {
    Guard guard;
    std::memset(&TrayData, 0, sizeof TrayData);
    TrayData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    TrayData.hWnd = MainWnd;
    TrayData.uID = TrayIconID;
    TrayData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    TrayData.uCallbackMessage = WM_TRAYNOTIFY;
    TrayData.hIcon = IconDown;
    TrayRemoved = false;
    Shell_NotifyIconA(NIM_ADD, &TrayData);
}

void SetTip(const std::string& text) {
    Guard guard;
    if (TrayRemoved) return;
    const std::size_t length = FittingLength(text);
    std::memcpy(TrayData.szTip, text.data(), length);
    TrayData.szTip[length] = '\0';
    Shell_NotifyIconA(NIM_MODIFY, &TrayData);
}

void SetTrayState(bool reachable) {
    Guard guard;
    if (TrayRemoved) return;
    TrayData.hIcon = reachable ? IconUp : IconDown;
    Shell_NotifyIconA(NIM_MODIFY, &TrayData);
}

void RemoveTrayIcon() {
    Guard guard;
    if (TrayRemoved) return;
    TrayRemoved = true;
    Shell_NotifyIconA(NIM_DELETE, &TrayData);
    DeleteObject(IconDown);
    DeleteObject(IconUp);
}
