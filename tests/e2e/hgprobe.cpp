// hgprobe: the end-to-end tests' own helper, run in the same Wine session as
// hostglow.exe. It finds the program's windows and talks to them as another
// program on the desktop would.
//
//   hgprobe close               sends WM_CLOSE to the hidden window
//   hgprobe quit                posts WM_QUIT to the hidden window's thread
//   hgprobe notify LPARAM       sends a tray notification with that mouse message
//   hgprobe command ID          posts WM_COMMAND ID to the hidden window
//   hgprobe alive               exit code 0 while the hidden window exists
//   hgprobe box CAPTION MS      waits up to MS for a message box with CAPTION
//                               and prints its texts, then its buttons
//   hgprobe press CAPTION       presses the OK button of that box
//   hgprobe boxes CAPTION       prints how many boxes with CAPTION are open
//   hgprobe stats               prints the program's handle count, private
//                               bytes and processor time
//   hgprobe keep-icon           keeps a plain blue icon of its own in the tray
//                               until it is ended (see KeepIcon)
//
// Exit code 0 on success, 1 when the window was not found, 2 on bad usage.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const UINT WM_TRAYNOTIFY = WM_USER + 1000;

HWND HiddenWindow() {
    return FindWindowA("WndClass1", nullptr);
}

struct BoxSearch {
    const char* caption;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectBox(HWND wnd, LPARAM param) {
    BoxSearch* search = reinterpret_cast<BoxSearch*>(param);
    char className[64] = "";
    char title[256] = "";
    GetClassNameA(wnd, className, sizeof className);
    GetWindowTextA(wnd, title, sizeof title);
    if (std::strcmp(className, "#32770") == 0 && std::strcmp(title, search->caption) == 0 &&
        IsWindowVisible(wnd))
        search->found.push_back(wnd);
    return TRUE;
}

std::vector<HWND> Boxes(const char* caption) {
    BoxSearch search = {caption, {}};
    EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct Texts {
    std::vector<std::string> statics;
    std::vector<std::string> buttons;
    std::vector<HWND> icons;
};

BOOL CALLBACK CollectText(HWND wnd, LPARAM param) {
    Texts* texts = reinterpret_cast<Texts*>(param);
    char className[64] = "";
    GetClassNameA(wnd, className, sizeof className);
    // Read the text as UTF-16 so that the copyright sign arrives whole.
    wchar_t wide[1024] = L"";
    GetWindowTextW(wnd, wide, 1024);
    char utf8[4096] = "";
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
    if (_stricmp(className, "Button") == 0) {
        texts->buttons.push_back(utf8);
    } else if (_stricmp(className, "Static") == 0) {
        if ((GetWindowLongA(wnd, GWL_STYLE) & SS_ICON) == SS_ICON && IsWindowVisible(wnd) &&
            SendMessageA(wnd, STM_GETICON, 0, 0) != 0)
            texts->icons.push_back(wnd);
        else if (utf8[0] != '\0')
            texts->statics.push_back(utf8);
    }
    return TRUE;
}

// One text a line: backslashes, CR and LF written as \\, \r and \n.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

int WaitBox(const char* caption, int milliseconds) {
    for (int waited = 0; waited <= milliseconds; waited += 100) {
        const std::vector<HWND> boxes = Boxes(caption);
        if (!boxes.empty()) {
            Texts texts;
            EnumChildWindows(boxes.front(), CollectText, reinterpret_cast<LPARAM>(&texts));
            for (const std::string& text : texts.statics)
                std::printf("text: %s\n", Escaped(text).c_str());
            for (const std::string& text : texts.buttons) std::printf("button: %s\n", text.c_str());
            std::printf("icons: %u\n", static_cast<unsigned>(texts.icons.size()));
            return 0;
        }
        Sleep(100);
    }
    std::fprintf(stderr, "hgprobe: no box \"%s\" within %d ms\n", caption, milliseconds);
    return 1;
}

int PressOk(const char* caption) {
    const std::vector<HWND> boxes = Boxes(caption);
    if (boxes.empty()) return 1;
    PostMessageA(boxes.front(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(boxes.front(), IDOK)));
    return 0;
}

// Another program's icon, so that the tray never becomes empty. Without a
// window manager, Wine's tray waits 2 s for the X server each time it hides
// its emptied window, which would show as a 2 s delay inside the program's
// own removal of its lamp.
int KeepIcon() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "HgprobeKeepIcon";
    RegisterClassA(&wc);
    HWND wnd = CreateWindowA(wc.lpszClassName, "hgprobe", 0, 0, 0, 0, 0, nullptr, nullptr,
                             wc.hInstance, nullptr);
    BYTE andMask[32 * 32 / 8] = {};
    BYTE colour[32 * 32 * 4];
    for (int i = 0; i < 32 * 32; ++i) {  // blue, in BGRA order
        colour[4 * i] = 255;
        colour[4 * i + 1] = 0;
        colour[4 * i + 2] = 0;
        colour[4 * i + 3] = 255;
    }
    HICON icon = CreateIcon(wc.hInstance, 32, 32, 1, 32, andMask, colour);
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = wnd;
    data.uID = 1;
    data.uFlags = NIF_ICON;
    data.hIcon = icon;
    Shell_NotifyIconA(NIM_ADD, &data);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

// The number of handles that process pid holds, from the system's handle
// table (Wine answers 0 to GetProcessHandleCount for another process).
long SystemHandleCount(DWORD pid) {
    struct Entry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    struct Table {
        ULONG count;
        Entry entries[1];
    };
    typedef LONG(WINAPI * Query)(int, PVOID, ULONG, PULONG);
    const Query query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) return -1;
    const int SystemHandleInformation = 16;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(SystemHandleInformation, buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) break;
        if (buffer.size() > (64u << 20)) return -1;
        buffer.resize(buffer.size() * 2);
    }
    const Table* table = reinterpret_cast<const Table*>(buffer.data());
    long count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        if (table->entries[i].ownerPid == pid) ++count;
    return count;
}

int Stats(HWND wnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (process == nullptr) return 1;
    DWORD handles = 0;
    const BOOL haveHandles = GetProcessHandleCount(process, &handles);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    const BOOL haveMemory = GetProcessMemoryInfo(
        process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    FILETIME created, exited, kernel, user;
    const BOOL haveTimes = GetProcessTimes(process, &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    std::printf("pid %lu\n", static_cast<unsigned long>(pid));
    if (haveHandles) std::printf("handles %lu\n", static_cast<unsigned long>(handles));
    std::printf("system_handles %ld\n", SystemHandleCount(pid));
    if (haveMemory) {
        std::printf("private_bytes %lu\n", static_cast<unsigned long>(memory.PrivateUsage));
        std::printf("working_set %lu\n", static_cast<unsigned long>(memory.WorkingSetSize));
    }
    if (haveTimes) std::printf("cpu_ms %.3f\n", (ticks(kernel) + ticks(user)) / 10000.0);
    CloseHandle(process);
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: hgprobe close|quit|alive|notify LPARAM|command ID|"
                 "box CAPTION MS|press CAPTION|boxes CAPTION\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string verb = argv[1];
    if (verb == "box" && argc == 4) return WaitBox(argv[2], std::atoi(argv[3]));
    if (verb == "press" && argc == 3) return PressOk(argv[2]);
    if (verb == "keep-icon") return KeepIcon();
    if (verb == "boxes" && argc == 3) {
        std::printf("%u\n", static_cast<unsigned>(Boxes(argv[2]).size()));
        return 0;
    }
    const HWND wnd = HiddenWindow();
    if (wnd == nullptr) return 1;
    if (verb == "alive") return 0;
    if (verb == "stats") return Stats(wnd);
    if (verb == "close") return PostMessageA(wnd, WM_CLOSE, 0, 0) ? 0 : 1;
    if (verb == "quit")
        return PostThreadMessageA(GetWindowThreadProcessId(wnd, nullptr), WM_QUIT, 0, 0) ? 0 : 1;
    if (verb == "notify" && argc == 3)
        return PostMessageA(wnd, WM_TRAYNOTIFY, 100, std::strtol(argv[2], nullptr, 0)) ? 0 : 1;
    if (verb == "command" && argc == 3)
        return PostMessageA(wnd, WM_COMMAND, std::strtoul(argv[2], nullptr, 0), 0) ? 0 : 1;
    return Usage();
}
