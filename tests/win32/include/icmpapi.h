// ICMP library calls of Hostglow's own Win32 layer (see windows.h).
#pragma once

#include <ipexport.h>

extern "C" {
HANDLE WINAPI IcmpCreateFile(void);
BOOL WINAPI IcmpCloseHandle(HANDLE handle);
DWORD WINAPI IcmpSendEcho(HANDLE handle, IPAddr destination, LPVOID requestData, WORD requestSize,
                          PIP_OPTION_INFORMATION options, LPVOID replyBuffer, DWORD replySize,
                          DWORD timeout);
}
