#include "tray/MainWnd.h"

#include "app/Entry.h"
#include "runtime/Application.h"
#include "tray/About.h"
#include "tray/TrayIcon.h"

HMENU TrayMenu = nullptr;
HWND MainWnd = nullptr;

namespace {

const char WindowClassName[] = "WndClass1";
const DWORD HiddenWindowStyle = 8;  // no WS_VISIBLE: the window is never shown

static_assert(WM_TRAYNOTIFY == 2024, "the lamp's callback message");

void OnDestroy() {
    RemoveTrayIcon();
    Stop = true;
    PostQuitMessage(0);
}

void OnCommand(HWND hWnd, WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDM_ABOUT:
            ShowAbout();
            break;
        case IDM_EXIT:
            DestroyWindow(hWnd);  // WM_DESTROY is handled before this returns
            break;
        default:
            break;
    }
}

void OpenTrayMenu(HWND hWnd) {
    // The foreground switch lets the menu close when the user clicks elsewhere.
    SetForegroundWindow(hWnd);
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    TrackPopupMenu(TrayMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0,
                   hWnd, nullptr);
}

void OnTrayNotify(HWND hWnd, LPARAM lParam) {
    switch (lParam) {
        case WM_LBUTTONDBLCLK:
            ShowAbout();
            break;
        case WM_RBUTTONDOWN:
            OpenTrayMenu(hWnd);
            break;
        default:
            break;
    }
}

}  // namespace

void CreateTrayMenu() {
    TrayMenu = CreatePopupMenu();
    AppendMenuA(TrayMenu, MF_STRING, IDM_ABOUT, "About...");
    AppendMenuA(TrayMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(TrayMenu, MF_STRING, IDM_EXIT, "Exit");
}

void CreateMainWnd() {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    static_assert(sizeof(void*) != 4 || sizeof wc == 48, "WNDCLASSEXA is 48 bytes on 32-bit");
    wc.style = CS_VREDRAW | CS_HREDRAW;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = HInstance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = WindowClassName;
    RegisterClassExA(&wc);
    MainWnd = CreateWindowExA(0, WindowClassName, "About Hostglow...", HiddenWindowStyle, 100, 100,
                              0, 0, nullptr, nullptr, HInstance, nullptr);
}

LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_COMMAND:
            OnCommand(hWnd, wParam);
            return 0;
        case WM_TRAYNOTIFY:
            OnTrayNotify(hWnd, lParam);
            return 0;
        default:
            return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
}
