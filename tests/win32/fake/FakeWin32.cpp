#include "FakeWin32.h"

#include <winsock.h>
#include <icmpapi.h>

#include <pthread.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <thread>

namespace fake {
namespace {

struct Window {
    std::string className;
    WNDPROC proc = nullptr;
    bool alive = true;
};

struct Queued {
    MSG msg;
    BOOL result;
};

struct FakeThread {
    std::uint32_t number = 0;
    std::mutex mutex;
    std::condition_variable resumed;
    bool released = false;
    std::thread thread;
};

struct Platform {
    std::mutex mutex;
    Script script;
    std::vector<std::string> calls;
    std::map<const void*, std::string> names;
    std::uintptr_t nextHandle = 0x10000;
    std::map<std::string, int> counters;
    std::map<std::string, WNDCLASSEXA> classes;
    std::map<HWND, Window> windows;
    std::deque<Queued> queue;
    std::vector<TrayRequest> trayRequests;
    std::map<std::pair<HWND, UINT>, std::pair<HICON, std::string>> tray;
    std::map<const void*, int> released;
    std::map<std::string, HICON> icons;
    std::vector<std::unique_ptr<FakeThread>> threads;
    std::map<HANDLE, FakeThread*> threadOf;
    int openIcmp = 0;
    int winsock = 0;
    int heapBlocks = 0;
};

Platform& P() {
    static Platform* platform = new Platform;  // lives past every static destructor
    return *platform;
}

thread_local DWORD LastError = 0;
thread_local std::uint32_t ThreadNumber = 0;

// Calls made on a fake thread are marked with its name, e.g. "[thread1] ".
void Record(const std::string& line) {
    const std::string prefix =
        ThreadNumber == 0 ? std::string() : "[thread" + std::to_string(ThreadNumber) + "] ";
    std::function<void(const std::string&)> hook;
    {
        std::lock_guard<std::mutex> lock(P().mutex);
        P().calls.push_back(prefix + line);
        hook = P().script.onCall;
    }
    if (hook) hook(prefix + line);
}

std::string FunctionName(const std::string& call) {
    std::string::size_type start = 0;
    if (call.rfind("[thread", 0) == 0) start = call.find("] ") + 2;
    return call.substr(start, call.find('(', start) - start);
}

// A new handle value known as name; the caller holds the platform's lock.
void* NamedHandle(const std::string& name) {
    void* handle = reinterpret_cast<void*>(P().nextHandle);
    P().nextHandle += 0x10;
    P().names[handle] = name;
    return handle;
}

// A new handle value with a readable name such as "menu1".
void* NewHandle(const std::string& kind) {
    std::lock_guard<std::mutex> lock(P().mutex);
    return NamedHandle(kind + std::to_string(++P().counters[kind]));
}

std::string Quote(const char* text) {
    return text == nullptr ? "null" : "\"" + std::string(text) + "\"";
}

std::string Hex(std::uintptr_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lX", static_cast<unsigned long>(value));
    return text;
}

std::string ResourceName(LPCSTR name) {
    const auto value = reinterpret_cast<std::uintptr_t>(name);
    if (value < 0x10000) return "#" + std::to_string(value) + " (int)";
    return name;
}

std::string MessageName(UINT msg) {
    static const std::map<UINT, std::string> known = {
        {WM_CREATE, "WM_CREATE"},     {WM_DESTROY, "WM_DESTROY"},
        {WM_CLOSE, "WM_CLOSE"},       {WM_QUIT, "WM_QUIT"},
        {WM_NCCREATE, "WM_NCCREATE"}, {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_COMMAND, "WM_COMMAND"},   {WM_USER + 1000, "WM_TRAYNOTIFY"}};
    const auto found = known.find(msg);
    return found != known.end() ? found->second : Hex(msg);
}

std::string MsgText(const MSG* msg) {
    return NameOf(msg->hwnd) + ", " + MessageName(msg->message) + ", " + Hex(msg->wParam) + ", " +
           Hex(static_cast<std::uintptr_t>(msg->lParam));
}

std::string Address(IPAddr address) {
    const auto* b = reinterpret_cast<const unsigned char*>(&address);
    return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
           std::to_string(b[3]);
}

std::string TrayText(DWORD message, const NOTIFYICONDATAA* data) {
    static const char* const requests[] = {"NIM_ADD", "NIM_MODIFY", "NIM_DELETE"};
    const std::string request = message < 3 ? requests[message] : Hex(message);
    char tip[sizeof data->szTip + 1] = {};
    std::memcpy(tip, data->szTip, 64);
    return "Shell_NotifyIconA(" + request + ", size=" + std::to_string(data->cbSize) +
           " wnd=" + NameOf(data->hWnd) + " id=" + std::to_string(data->uID) +
           " flags=" + std::to_string(data->uFlags) +
           " msg=" + std::to_string(data->uCallbackMessage) + " icon=" + NameOf(data->hIcon) +
           " tip=\"" + tip + "\")";
}

WNDPROC ProcOf(HWND wnd) {
    std::lock_guard<std::mutex> lock(P().mutex);
    const auto found = P().windows.find(wnd);
    return found != P().windows.end() && found->second.alive ? found->second.proc : nullptr;
}

bool IsLeadByte(unsigned char c) {
    return State().doubleByteCodePage && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC));
}

std::string SystemMessage(DWORD code) {
    if (code == ERROR_NOT_ENOUGH_MEMORY)
        return "Not enough memory resources are available to process this command.\r\n";
    return "Error " + std::to_string(code) + ".\r\n";
}

}  // namespace

Script& State() {
    return P().script;
}

void Reset() {
    JoinThreads();
    std::lock_guard<std::mutex> lock(P().mutex);
    Platform& p = P();
    p.script = Script();
    p.calls.clear();
    p.names.clear();
    p.counters.clear();
    p.classes.clear();
    p.windows.clear();
    p.queue.clear();
    p.trayRequests.clear();
    p.tray.clear();
    p.released.clear();
    p.icons.clear();
    p.threadOf.clear();
    p.threads.clear();
    p.openIcmp = p.winsock = p.heapBlocks = 0;
    LastError = 0;
}

std::vector<std::string> Calls() {
    std::lock_guard<std::mutex> lock(P().mutex);
    return P().calls;
}

std::vector<std::string> CallsOf(const std::vector<std::string>& names) {
    std::vector<std::string> selected;
    for (const std::string& call : Calls()) {
        const std::string name = FunctionName(call);
        for (const std::string& wanted : names)
            if (name == wanted) selected.push_back(call);
    }
    return selected;
}

std::vector<std::string> MainThreadCalls() {
    std::vector<std::string> selected;
    for (const std::string& call : Calls())
        if (call.rfind("[thread", 0) != 0) selected.push_back(call);
    return selected;
}

void ClearCalls() {
    std::lock_guard<std::mutex> lock(P().mutex);
    P().calls.clear();
}

void Mark(const std::string& text) {
    Record(text);
}

std::string NameOf(const void* handle) {
    if (handle == nullptr) return "null";
    std::lock_guard<std::mutex> lock(P().mutex);
    const auto found = P().names.find(handle);
    return found != P().names.end() ? found->second : Hex(reinterpret_cast<std::uintptr_t>(handle));
}

HWND FindWindowOfClass(const std::string& className) {
    std::lock_guard<std::mutex> lock(P().mutex);
    for (const auto& [wnd, window] : P().windows)
        if (window.className == className && window.alive) return wnd;
    return nullptr;
}

bool IsWindowAlive(HWND wnd) {
    return ProcOf(wnd) != nullptr;
}

LRESULT Send(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc = ProcOf(wnd);
    return proc != nullptr ? proc(wnd, msg, wParam, lParam) : 0;
}

void Post(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::lock_guard<std::mutex> lock(P().mutex);
    P().queue.push_back({MSG{wnd, msg, wParam, lParam, 0, {0, 0}}, TRUE});
}

void PostError() {
    std::lock_guard<std::mutex> lock(P().mutex);
    P().queue.push_back({MSG{}, -1});
}

std::size_t QueuedMessages() {
    std::lock_guard<std::mutex> lock(P().mutex);
    return P().queue.size();
}

std::vector<TrayRequest> TrayRequests() {
    std::lock_guard<std::mutex> lock(P().mutex);
    return P().trayRequests;
}

bool TrayIconShown() {
    std::lock_guard<std::mutex> lock(P().mutex);
    return !P().tray.empty();
}

HICON ShownIcon() {
    std::lock_guard<std::mutex> lock(P().mutex);
    return P().tray.empty() ? nullptr : P().tray.begin()->second.first;
}

std::string ShownTip() {
    std::lock_guard<std::mutex> lock(P().mutex);
    return P().tray.empty() ? std::string() : P().tray.begin()->second.second;
}

int ReleaseCount(const void* handle) {
    std::lock_guard<std::mutex> lock(P().mutex);
    const auto found = P().released.find(handle);
    return found != P().released.end() ? found->second : 0;
}

void JoinThreads() {
    for (;;) {
        std::vector<FakeThread*> pending;
        {
            std::lock_guard<std::mutex> lock(P().mutex);
            for (auto& thread : P().threads)
                if (thread->thread.joinable()) pending.push_back(thread.get());
        }
        if (pending.empty()) return;
        for (FakeThread* thread : pending) {
            {
                // A thread that was never released is released to run out.
                std::lock_guard<std::mutex> lock(thread->mutex);
                thread->released = true;
            }
            thread->resumed.notify_all();
            thread->thread.join();
        }
    }
}

int ThreadsCreated() {
    std::lock_guard<std::mutex> lock(P().mutex);
    return static_cast<int>(P().threads.size());
}

int OpenIcmpHandles() {
    std::lock_guard<std::mutex> lock(P().mutex);
    return P().openIcmp;
}

int WinsockStartups() {
    std::lock_guard<std::mutex> lock(P().mutex);
    return P().winsock;
}

int HeapBlocks() {
    std::lock_guard<std::mutex> lock(P().mutex);
    return P().heapBlocks;
}

}  // namespace fake

using namespace fake;

// ---- user32 ---------------------------------------------------------------

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    const std::string resource = ResourceName(name);
    Record("LoadIconA(" + NameOf(instance) + ", " + resource + ")");
    // Like the platform's shared icons: the same name gives the same handle.
    const std::string shown = instance == nullptr ? "IDI_APPLICATION" : "icon" + std::string(name);
    std::lock_guard<std::mutex> lock(P().mutex);
    HICON& icon = P().icons[shown];
    if (icon == nullptr) icon = static_cast<HICON>(NamedHandle(shown));
    return icon;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    Record("LoadCursorA(" + NameOf(instance) + ", " + ResourceName(name) + ")");
    std::lock_guard<std::mutex> lock(P().mutex);
    return static_cast<HCURSOR>(NamedHandle("IDC_ARROW"));
}

HMENU WINAPI CreatePopupMenu(void) {
    HMENU menu = static_cast<HMENU>(NewHandle("menu"));
    Record("CreatePopupMenu() = " + NameOf(menu));
    return menu;
}

BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
    Record("AppendMenuA(" + NameOf(menu) + ", " + Hex(flags) + ", " + std::to_string(id) + ", " +
           Quote(text) + ")");
    return TRUE;
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
    Record("RegisterClassExA(size=" + std::to_string(wc->cbSize) +
           " style=" + std::to_string(wc->style) + " clsExtra=" + std::to_string(wc->cbClsExtra) +
           " wndExtra=" + std::to_string(wc->cbWndExtra) + " instance=" + NameOf(wc->hInstance) +
           " icon=" + NameOf(wc->hIcon) + " cursor=" + NameOf(wc->hCursor) +
           " background=" + std::to_string(reinterpret_cast<std::uintptr_t>(wc->hbrBackground)) +
           " menu=" + Quote(wc->lpszMenuName) + " class=" + Quote(wc->lpszClassName) +
           " iconSm=" + NameOf(wc->hIconSm) + ")");
    std::lock_guard<std::mutex> lock(P().mutex);
    P().classes[wc->lpszClassName] = *wc;
    return 1;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    Record("CreateWindowExA(" + std::to_string(exStyle) + ", " + Quote(className) + ", " +
           Quote(windowName) + ", " + std::to_string(style) + ", " + std::to_string(x) + ", " +
           std::to_string(y) + ", " + std::to_string(width) + ", " + std::to_string(height) + ", " +
           NameOf(parent) + ", " + NameOf(menu) + ", " + NameOf(instance) + ", " + NameOf(param) +
           ")");
    WNDPROC proc;
    {
        std::lock_guard<std::mutex> lock(P().mutex);
        const auto found = P().classes.find(className);
        if (found == P().classes.end()) return nullptr;
        proc = found->second.lpfnWndProc;
    }
    HWND wnd = static_cast<HWND>(NewHandle("window"));
    {
        std::lock_guard<std::mutex> lock(P().mutex);
        P().windows[wnd] = Window{className, proc, true};
    }
    // The creation messages arrive inside the call, before it returns the handle.
    const LPARAM create = 0xC0FFEE;
    proc(wnd, WM_NCCREATE, 0, create);
    proc(wnd, WM_CREATE, 0, create);
    return wnd;
}

LRESULT WINAPI DefWindowProcA(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Record("DefWindowProcA(" + NameOf(wnd) + ", " + MessageName(msg) + ", " + Hex(wParam) + ", " +
           Hex(static_cast<std::uintptr_t>(lParam)) + ")");
    if (msg == WM_CLOSE) DestroyWindow(wnd);
    return static_cast<LRESULT>(0xDEF00000u + msg);  // a value to recognise
}

BOOL WINAPI DestroyWindow(HWND wnd) {
    Record("DestroyWindow(" + NameOf(wnd) + ")");
    WNDPROC proc = ProcOf(wnd);
    if (proc == nullptr) return FALSE;
    proc(wnd, WM_DESTROY, 0, 0);
    proc(wnd, WM_NCDESTROY, 0, 0);
    std::lock_guard<std::mutex> lock(P().mutex);
    P().windows[wnd].alive = false;
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    Record("PostQuitMessage(" + std::to_string(exitCode) + ")");
    std::lock_guard<std::mutex> lock(P().mutex);
    P().queue.push_back({MSG{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0, 0, {0, 0}}, TRUE});
}

BOOL WINAPI SetForegroundWindow(HWND wnd) {
    Record("SetForegroundWindow(" + NameOf(wnd) + ")");
    return TRUE;
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
    Record("GetCursorPos()");
    *point = State().cursor;
    return TRUE;
}

BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND wnd,
                           const RECT* rect) {
    Record("TrackPopupMenu(" + NameOf(menu) + ", " + Hex(flags) + ", " + std::to_string(x) + ", " +
           std::to_string(y) + ", " + std::to_string(reserved) + ", " + NameOf(wnd) + ", " +
           (rect == nullptr ? "null" : "rect") + ")");
    const auto hook = State().onTrackPopupMenu;
    const UINT chosen = hook ? hook() : 0;
    if (chosen != 0) Post(wnd, WM_COMMAND, chosen, 0);
    return TRUE;
}

namespace {

bool PopMessage(Queued& next) {
    std::lock_guard<std::mutex> lock(P().mutex);
    if (P().queue.empty()) return false;
    next = P().queue.front();
    P().queue.pop_front();
    return true;
}

}  // namespace

BOOL WINAPI GetMessageA(LPMSG msg, HWND wnd, UINT first, UINT last) {
    Record("GetMessageA(" + NameOf(wnd) + ", " + std::to_string(first) + ", " +
           std::to_string(last) + ")");
    Queued next;
    if (!PopMessage(next)) {
        // The hook may post messages, which are then fetched as usual.
        Record("GetMessageA: queue empty");
        const auto hook = State().onEmptyQueue;
        const BOOL result = hook ? hook() : 0;
        if (!PopMessage(next)) return result;
    }
    *msg = next.msg;
    if (next.result == -1) return -1;
    return msg->message == WM_QUIT ? 0 : TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    Record("TranslateMessage(" + MsgText(msg) + ")");
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    Record("DispatchMessageA(" + MsgText(msg) + ")");
    return Send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    Record("MessageBoxA(" + NameOf(owner) + ", " + Quote(text) + ", " + Quote(caption) + ", " +
           Hex(type) + ")");
    const auto hook = State().onMessageBox;
    const int result = hook ? hook(text, caption, type) : IDOK;
    Record("MessageBoxA closed");
    return result;
}

namespace {

template <class Params>
std::string BoxFields(const Params* p) {
    return "size=" + std::to_string(p->cbSize) + " owner=" + NameOf(p->hwndOwner) +
           " instance=" + NameOf(p->hInstance) + " style=" + Hex(p->dwStyle) +
           " help=" + std::to_string(p->dwContextHelpId) +
           " callback=" + (p->lpfnMsgBoxCallback == nullptr ? "null" : "set") +
           " language=" + std::to_string(p->dwLanguageId);
}

std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; *text != 0; ++text) narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
    return narrow;
}

}  // namespace

int WINAPI MessageBoxIndirectA(const MSGBOXPARAMSA* p) {
    Record("MessageBoxIndirectA(" + BoxFields(p) + " caption=" + Quote(p->lpszCaption) +
           " icon=" + Quote(p->lpszIcon) + ")");
    const auto hook = State().onMessageBoxIndirectA;
    const int result = hook ? hook(*p) : IDOK;
    Record("MessageBoxIndirectA closed");
    return result;
}

int WINAPI MessageBoxIndirectW(const MSGBOXPARAMSW* p) {
    Record("MessageBoxIndirectW(" + BoxFields(p) + " caption=L" +
           Quote(Narrow(p->lpszCaption).c_str()) + " icon=L" + Quote(Narrow(p->lpszIcon).c_str()) +
           ")");
    const auto hook = State().onMessageBoxIndirectW;
    const int result = hook ? hook(*p) : IDOK;
    Record("MessageBoxIndirectW closed");
    return result;
}

LPSTR WINAPI CharNextA(LPCSTR text) {
    if (*text == '\0') return const_cast<LPSTR>(text);
    if (IsLeadByte(static_cast<unsigned char>(*text)) && text[1] != '\0')
        return const_cast<LPSTR>(text + 2);
    return const_cast<LPSTR>(text + 1);
}

// ---- gdi32 ----------------------------------------------------------------

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    Record("DeleteObject(" + NameOf(object) + ")");
    std::lock_guard<std::mutex> lock(P().mutex);
    ++P().released[object];
    return TRUE;
}

// ---- shell32 --------------------------------------------------------------

BOOL WINAPI Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA* data) {
    Record(TrayText(message, data));
    std::lock_guard<std::mutex> lock(P().mutex);
    Platform& p = P();
    const bool released = p.released.count(data->hIcon) != 0;
    p.trayRequests.push_back({message, *data, released, ThreadNumber});
    const auto key = std::make_pair(data->hWnd, data->uID);
    const bool present = p.tray.count(key) != 0;
    char tip[65] = {};
    std::memcpy(tip, data->szTip, 64);
    switch (message) {
        case NIM_ADD:
            if (present) return FALSE;
            p.tray[key] = {data->hIcon, tip};
            return TRUE;
        case NIM_MODIFY:
            if (!present) return FALSE;  // a modify never brings a removed icon back
            p.tray[key] = {data->hIcon, tip};
            return TRUE;
        case NIM_DELETE:
            return p.tray.erase(key) != 0;
        default:
            return FALSE;
    }
}

// ---- kernel32 -------------------------------------------------------------

LPSTR WINAPI GetCommandLineA(void) {
    return const_cast<LPSTR>(State().commandLine.c_str());
}

DWORD WINAPI GetLastError(void) {
    Record("GetLastError() = " + std::to_string(LastError));
    return LastError;
}

void WINAPI SetLastError(DWORD error) {
    Record("SetLastError(" + std::to_string(error) + ")");
    LastError = error;
}

void WINAPI Sleep(DWORD milliseconds) {
    Record("Sleep(" + std::to_string(milliseconds) + ")");
    const auto hook = State().onSleep;
    if (hook) hook(milliseconds);
}

BOOL WINAPI GetVersionExA(OSVERSIONINFOA* info) {
    Record("GetVersionExA(size=" + std::to_string(info->dwOSVersionInfoSize) + ")");
    info->dwMajorVersion = 5;
    info->dwPlatformId = State().platformId;
    return TRUE;
}

void WINAPI ExitProcess(UINT exitCode) {
    std::_Exit(static_cast<int>(exitCode));
}

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                           LPVOID parameter, DWORD flags, LPDWORD threadId) {
    Record("CreateThread(stack=" + std::to_string(stackSize) + ", flags=" + Hex(flags) + ")");
    if (State().createThreadFails) {
        LastError = State().createThreadError;
        return nullptr;
    }
    auto owned = std::make_unique<FakeThread>();
    FakeThread* thread = owned.get();
    HANDLE handle = NewHandle("thread");
    {
        std::lock_guard<std::mutex> lock(P().mutex);
        thread->number = static_cast<std::uint32_t>(P().threads.size() + 1);
        thread->released = (flags & CREATE_SUSPENDED) == 0;
        P().threadOf[handle] = thread;
        P().threads.push_back(std::move(owned));
    }
    if (threadId != nullptr) *threadId = thread->number;
    thread->thread = std::thread([thread, start, parameter] {
        {
            std::unique_lock<std::mutex> lock(thread->mutex);
            thread->resumed.wait(lock, [thread] { return thread->released; });
        }
        ThreadNumber = thread->number;
        start(parameter);
    });
    return handle;
}

DWORD WINAPI ResumeThread(HANDLE handle) {
    Record("ResumeThread(" + NameOf(handle) + ")");
    FakeThread* thread = nullptr;
    {
        std::lock_guard<std::mutex> lock(P().mutex);
        const auto found = P().threadOf.find(handle);
        if (found == P().threadOf.end()) return static_cast<DWORD>(-1);
        thread = found->second;
    }
    {
        std::lock_guard<std::mutex> lock(thread->mutex);
        thread->released = true;
    }
    thread->resumed.notify_all();
    return 1;
}

BOOL WINAPI CloseHandle(HANDLE object) {
    Record("CloseHandle(" + NameOf(object) + ")");
    return TRUE;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    Record("GetModuleHandleA(" + Quote(name) + ")");
    HMODULE module = reinterpret_cast<HMODULE>(0x00400000);
    std::lock_guard<std::mutex> lock(P().mutex);
    P().names[module] = "module";
    return module;
}

// Every address lies in a module of 64 KiB that starts at its 64 KiB boundary.
BOOL WINAPI GetModuleHandleExA(DWORD flags, LPCSTR name, HMODULE* module) {
    if ((flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) == 0) return FALSE;
    *module = reinterpret_cast<HMODULE>(reinterpret_cast<std::uintptr_t>(name) & ~0xFFFFul);
    return TRUE;
}

DWORD WINAPI GetModuleFileNameA(HMODULE, LPSTR fileName, DWORD size) {
    const char path[] = "C:\\Program Files\\Hostglow\\hostglow.exe";
    std::snprintf(fileName, size, "%s", path);
    return static_cast<DWORD>(std::strlen(fileName));
}

DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPSTR buffer, DWORD size,
                            void*) {
    const std::string text = SystemMessage(messageId);
    if ((flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) != 0) {
        char* copy = static_cast<char*>(std::malloc(text.size() + 1));
        std::memcpy(copy, text.c_str(), text.size() + 1);
        *reinterpret_cast<char**>(buffer) = copy;
        return static_cast<DWORD>(text.size());
    }
    std::snprintf(buffer, size, "%s", text.c_str());
    return static_cast<DWORD>(std::strlen(buffer));
}

HLOCAL WINAPI LocalFree(HLOCAL memory) {
    std::free(memory);
    return nullptr;
}

HANDLE WINAPI GetProcessHeap(void) {
    static char heap;
    return &heap;
}

LPVOID WINAPI HeapAlloc(HANDLE, DWORD, SIZE_T bytes) {
    if (State().heapAllocFails) {
        Record("HeapAlloc(" + std::to_string(bytes) + ") = null");
        return nullptr;
    }
    void* block = std::malloc(bytes);
    {
        std::lock_guard<std::mutex> lock(P().mutex);
        ++P().heapBlocks;
    }
    Record("HeapAlloc(" + std::to_string(bytes) + ")");
    return block;
}

BOOL WINAPI HeapFree(HANDLE, DWORD, LPVOID memory) {
    Record("HeapFree()");
    std::free(memory);
    std::lock_guard<std::mutex> lock(P().mutex);
    --P().heapBlocks;
    return TRUE;
}

void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION section) {
    static_assert(sizeof section->storage >= sizeof(pthread_mutex_t), "room for the lock");
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(reinterpret_cast<pthread_mutex_t*>(section->storage), &attributes);
    pthread_mutexattr_destroy(&attributes);
}

void WINAPI EnterCriticalSection(LPCRITICAL_SECTION section) {
    pthread_mutex_lock(reinterpret_cast<pthread_mutex_t*>(section->storage));
}

void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section) {
    pthread_mutex_unlock(reinterpret_cast<pthread_mutex_t*>(section->storage));
}

// ---- Windows Sockets and the ICMP library ---------------------------------

int WINAPI WSAStartup(WORD version, LPWSADATA data) {
    Record("WSAStartup(" + Hex(version) + ")");
    std::memset(data, 0, sizeof *data);
    const int result = State().wsaStartupResult;
    if (result == 0) {
        std::lock_guard<std::mutex> lock(P().mutex);
        ++P().winsock;
    }
    return result;
}

int WINAPI WSACleanup(void) {
    Record("WSACleanup()");
    std::lock_guard<std::mutex> lock(P().mutex);
    --P().winsock;
    return 0;
}

struct hostent* WINAPI gethostbyname(const char* name) {
    Record("gethostbyname(" + Quote(name) + ")");
    // Like Windows Sockets, one entry per thread, overwritten by the next call.
    thread_local hostent entry;
    thread_local std::vector<std::uint32_t> addresses;
    thread_local std::vector<char*> list;
    Resolution answer;
    {
        std::lock_guard<std::mutex> lock(P().mutex);
        const auto found = P().script.hosts.find(name);
        if (found != P().script.hosts.end())
            answer = found->second;
        else
            answer = Resolution{11001, true, {}};  // WSAHOST_NOT_FOUND
    }
    if (answer.lastError != 0) LastError = answer.lastError;
    if (answer.nullEntry) return nullptr;
    addresses = answer.addresses;
    list.clear();
    for (std::uint32_t& address : addresses) list.push_back(reinterpret_cast<char*>(&address));
    list.push_back(nullptr);
    entry = hostent{const_cast<char*>("host"), nullptr, 2, 4, list.data()};
    return &entry;
}

HANDLE WINAPI IcmpCreateFile(void) {
    HANDLE handle = NewHandle("icmp");
    Record("IcmpCreateFile() = " + NameOf(handle));
    std::lock_guard<std::mutex> lock(P().mutex);
    ++P().openIcmp;
    return handle;
}

BOOL WINAPI IcmpCloseHandle(HANDLE handle) {
    Record("IcmpCloseHandle(" + NameOf(handle) + ")");
    std::lock_guard<std::mutex> lock(P().mutex);
    --P().openIcmp;
    return TRUE;
}

DWORD WINAPI IcmpSendEcho(HANDLE handle, IPAddr destination, LPVOID requestData, WORD requestSize,
                          PIP_OPTION_INFORMATION options, LPVOID replyBuffer, DWORD replySize,
                          DWORD timeout) {
    Record("IcmpSendEcho(" + NameOf(handle) + ", " + Address(destination) + ", " +
           (requestData == nullptr ? "null" : "data") + ", " + std::to_string(requestSize) + ", " +
           (options == nullptr ? "null" : "options") + ", reply=" + std::to_string(replySize) +
           ", " + std::to_string(timeout) + ")");
    const auto hook = State().onEcho;
    const EchoAnswer answer = hook ? hook(destination, timeout) : EchoAnswer();
    if (replySize >= sizeof(ICMP_ECHO_REPLY)) {
        ICMP_ECHO_REPLY reply = {};
        reply.Address = destination;
        reply.Status = answer.status;
        reply.RoundTripTime = answer.roundTripTime;
        std::memcpy(replyBuffer, &reply, sizeof reply);
    }
    LastError = answer.lastError;
    return answer.replies;
}
