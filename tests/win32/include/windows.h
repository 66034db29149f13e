// Hostglow's own Win32 layer for the host build.
//
// Declares only the types, constants and calls that Hostglow uses, written from
// what the program needs of each of them. The calls are implemented by the
// recording, scriptable platform in tests/win32/fake, so that unit tests can run
// the real program code on Linux and look at every call it makes.
#pragma once

#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK
#define APIENTRY

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef std::uint32_t DWORD;
typedef unsigned int UINT;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef unsigned short USHORT;
typedef unsigned char UCHAR;
typedef int INT;
typedef char CHAR;
typedef wchar_t WCHAR;
typedef void VOID;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* PVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef wchar_t* LPWSTR;
typedef const wchar_t* LPCWSTR;
typedef DWORD* LPDWORD;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef std::uintptr_t UINT_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef std::uintptr_t SIZE_T;
typedef std::uintptr_t DWORD_PTR;
typedef WORD ATOM;

// Handles are distinct opaque pointer types, as on the platform.
#define HOSTGLOW_DECLARE_HANDLE(name) \
    struct name##__ {                 \
        int unused;                   \
    };                                \
    typedef struct name##__* name
HOSTGLOW_DECLARE_HANDLE(HWND);
HOSTGLOW_DECLARE_HANDLE(HICON);
HOSTGLOW_DECLARE_HANDLE(HMENU);
HOSTGLOW_DECLARE_HANDLE(HINSTANCE);
HOSTGLOW_DECLARE_HANDLE(HBRUSH);
#undef HOSTGLOW_DECLARE_HANDLE
typedef void* HANDLE;
typedef void* HGDIOBJ;
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef void* HLOCAL;

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define INFINITE 0xFFFFFFFFu

#define MAKEWORD(lo, hi) ((WORD)(((BYTE)(lo)) | (((WORD)((BYTE)(hi))) << 8)))
#define LOWORD(x) ((WORD)(((DWORD_PTR)(x)) & 0xFFFF))
#define HIWORD(x) ((WORD)((((DWORD_PTR)(x)) >> 16) & 0xFFFF))
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEWPARAM(lo, hi) ((WPARAM)(DWORD)(((WORD)(lo)) | (((DWORD)(WORD)(hi)) << 16)))

// Window messages.
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_COMMAND 0x0111
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_USER 0x0400

// Menus.
#define MF_STRING 0x0000
#define MF_SEPARATOR 0x0800
#define TPM_LEFTALIGN 0x0000
#define TPM_TOPALIGN 0x0000
#define TPM_LEFTBUTTON 0x0000

// Message boxes.
#define MB_OK 0x0000
#define MB_APPLMODAL 0x0000
#define MB_ICONERROR 0x0010
#define MB_USERICON 0x0080
#define MB_TASKMODAL 0x2000
#define IDOK 1

// Window classes and system resources.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define COLOR_BTNFACE 15
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define WS_OVERLAPPED 0x00000000
#define WS_VISIBLE 0x10000000

// Versions, threads, modules and errors.
#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2
#define CREATE_SUSPENDED 0x00000004
#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT 0x00000002
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS 0x00000004
#define ERROR_SUCCESS 0
#define ERROR_NOT_ENOUGH_MEMORY 8

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef DWORD(WINAPI* LPTHREAD_START_ROUTINE)(LPVOID);
typedef void(CALLBACK* MSGBOXCALLBACK)(void*);

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *LPPOINT;

typedef struct tagRECT {
    LONG left, top, right, bottom;
} RECT;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;

typedef struct tagWNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
} WNDCLASSEXA;

typedef struct tagMSGBOXPARAMSA {
    UINT cbSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpszText;
    LPCSTR lpszCaption;
    DWORD dwStyle;
    LPCSTR lpszIcon;
    DWORD_PTR dwContextHelpId;
    MSGBOXCALLBACK lpfnMsgBoxCallback;
    DWORD dwLanguageId;
} MSGBOXPARAMSA;

typedef struct tagMSGBOXPARAMSW {
    UINT cbSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCWSTR lpszText;
    LPCWSTR lpszCaption;
    DWORD dwStyle;
    LPCWSTR lpszIcon;
    DWORD_PTR dwContextHelpId;
    MSGBOXCALLBACK lpfnMsgBoxCallback;
    DWORD dwLanguageId;
} MSGBOXPARAMSW;

typedef struct _OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
} OSVERSIONINFOA;

// The layer's critical section is a real lock, so that the thread sanitizer
// sees the program's own locking as it is.
typedef struct _CRITICAL_SECTION {
    alignas(std::max_align_t) unsigned char storage[64];
} CRITICAL_SECTION, *LPCRITICAL_SECTION;

typedef struct _SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

extern "C" {
// user32
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);
HMENU WINAPI CreatePopupMenu(void);
BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc);
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param);
LRESULT WINAPI DefWindowProcA(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL WINAPI DestroyWindow(HWND wnd);
void WINAPI PostQuitMessage(int exitCode);
BOOL WINAPI SetForegroundWindow(HWND wnd);
BOOL WINAPI GetCursorPos(LPPOINT point);
BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND wnd,
                           const RECT* rect);
BOOL WINAPI GetMessageA(LPMSG msg, HWND wnd, UINT first, UINT last);
BOOL WINAPI TranslateMessage(const MSG* msg);
LRESULT WINAPI DispatchMessageA(const MSG* msg);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
int WINAPI MessageBoxIndirectA(const MSGBOXPARAMSA* params);
int WINAPI MessageBoxIndirectW(const MSGBOXPARAMSW* params);
LPSTR WINAPI CharNextA(LPCSTR text);

// gdi32
BOOL WINAPI DeleteObject(HGDIOBJ object);

// kernel32
LPSTR WINAPI GetCommandLineA(void);
DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD error);
void WINAPI Sleep(DWORD milliseconds);
BOOL WINAPI GetVersionExA(OSVERSIONINFOA* info);
void WINAPI ExitProcess(UINT exitCode);
HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize,
                           LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                           LPDWORD threadId);
DWORD WINAPI ResumeThread(HANDLE thread);
BOOL WINAPI CloseHandle(HANDLE object);
HMODULE WINAPI GetModuleHandleA(LPCSTR name);
BOOL WINAPI GetModuleHandleExA(DWORD flags, LPCSTR name, HMODULE* module);
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                            LPSTR buffer, DWORD size, void* arguments);
HLOCAL WINAPI LocalFree(HLOCAL memory);
HANDLE WINAPI GetProcessHeap(void);
LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
BOOL WINAPI HeapFree(HANDLE heap, DWORD flags, LPVOID memory);
void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION section);
void WINAPI EnterCriticalSection(LPCRITICAL_SECTION section);
void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section);
}
