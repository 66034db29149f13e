#include "app/Entry.h"

#include "app/CheckIP.h"
#include "app/Settings.h"
#include "probe/ThreadPing.h"
#include "tray/MainWnd.h"
#include "tray/TrayIcon.h"

#include <windows.h>

std::atomic<bool> Stop{false};

namespace {

MSG Message;

// Shows the start-up error and removes the lamp once the user has seen it.
void ErrorExit(const char* text) {
    MessageBoxA(nullptr, text, "Error", MB_OK | MB_APPLMODAL);
    RemoveTrayIcon();
    PostQuitMessage(0);
}

// Runs until the hidden window is destroyed or the quit message arrives. A
// result of -1 (an error) ends the loop as well instead of spinning on it.
void RunMessageLoop() {
    while (!Stop) {
        if (GetMessageA(&Message, nullptr, 0, 0) <= 0) break;
        TranslateMessage(&Message);
        DispatchMessageA(&Message);
    }
}

}  // namespace

void HostglowMain() {
    LoadStateIcons();
    CreateTrayMenu();
    CreateMainWnd();
    AddTrayIcon();
    if (ArgCount() == 0) {
        ErrorExit("No Actual Paramets In Param String!");
        return;
    }
    if (!CheckIP(ArgText(1))) {
        ErrorExit("Error IP Adress!");
        return;
    }
    ReadSettings();
    SetTip(TipText);
    TThread::Create<TThreadPing>();  // frees itself; nothing keeps or waits for it
    RunMessageLoop();
}
