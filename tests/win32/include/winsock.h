// Windows Sockets 1.1 calls of Hostglow's own Win32 layer (see windows.h).
#pragma once

#include <windows.h>

typedef struct WSAData {
    WORD wVersion;
    WORD wHighVersion;
    char szDescription[257];
    char szSystemStatus[129];
    unsigned short iMaxSockets;
    unsigned short iMaxUdpDg;
    char* lpVendorInfo;
} WSADATA, *LPWSADATA;

struct hostent {
    char* h_name;
    char** h_aliases;
    short h_addrtype;
    short h_length;
    char** h_addr_list;
};

extern "C" {
int WINAPI WSAStartup(WORD version, LPWSADATA data);
int WINAPI WSACleanup(void);
struct hostent* WINAPI gethostbyname(const char* name);
}
