#include "probe/ThreadPing.h"

#include "app/Entry.h"
#include "app/Settings.h"
#include "probe/PingHost.h"
#include "tray/TrayIcon.h"

#include <windows.h>

TSortThread::TSortThread() : TThread(false) {
    freeOnTerminate_ = true;
}

void TSortThread::Execute() {
    DoWork();
}

void TThreadPing::DoWork() {
    // Stop is looked at first, so the first probe follows the start at once;
    // a cycle that has begun runs to its end, sleep included.
    while (!Stop) {
        SetTrayState(PingHost());
        Sleep(PlatformMilliseconds(Delay));
    }
}
