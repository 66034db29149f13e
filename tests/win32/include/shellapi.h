// Notification-area calls of Hostglow's own Win32 layer (see windows.h).
#pragma once

#include <windows.h>

#define NIM_ADD 0x00000000
#define NIM_MODIFY 0x00000001
#define NIM_DELETE 0x00000002
#define NIF_MESSAGE 0x00000001
#define NIF_ICON 0x00000002
#define NIF_TIP 0x00000004

// The record as the platform knows it today; its first form ends after the
// first 64 bytes of the tooltip, which is all that Hostglow hands over.
typedef struct _NOTIFYICONDATAA {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[128];
    DWORD dwState;
    DWORD dwStateMask;
    CHAR szInfo[256];
    UINT uTimeout;
    CHAR szInfoTitle[64];
    DWORD dwInfoFlags;
} NOTIFYICONDATAA;

#define NOTIFYICONDATAA_V1_SIZE (offsetof(NOTIFYICONDATAA, szTip) + 64)

extern "C" BOOL WINAPI Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA* data);
