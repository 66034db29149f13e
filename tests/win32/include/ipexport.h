// ICMP records of Hostglow's own Win32 layer (see windows.h).
#pragma once

#include <windows.h>

typedef ULONG IPAddr;

#define IP_SUCCESS 0
#define IP_DEST_HOST_UNREACHABLE 11003
#define IP_REQ_TIMED_OUT 11010

typedef struct ip_option_information {
    UCHAR Ttl;
    UCHAR Tos;
    UCHAR Flags;
    UCHAR OptionsSize;
    UCHAR* OptionsData;
} IP_OPTION_INFORMATION, *PIP_OPTION_INFORMATION;

typedef struct icmp_echo_reply {
    IPAddr Address;
    ULONG Status;
    ULONG RoundTripTime;
    USHORT DataSize;
    USHORT Reserved;
    PVOID Data;
    struct ip_option_information Options;
} ICMP_ECHO_REPLY, *PICMP_ECHO_REPLY;
