#include "runtime/Application.h"

#include "runtime/Exceptions.h"

#include <cstdio>
#include <new>

HINSTANCE HInstance = nullptr;

namespace {

const UINT ApplicationErrorFlags = MB_OK | MB_ICONERROR | MB_TASKMODAL;

// The file name, without its folder, of the module holding address, and the
// address as an offset from that module's start.
void LocateAddress(const void* address, std::string& moduleName, unsigned long& offset) {
    HMODULE module = nullptr;
    if (address == nullptr || !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                                      GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                                  static_cast<LPCSTR>(address), &module)) {
        module = HInstance;
    }
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    moduleName.assign(path, length < MAX_PATH ? length : 0);
    const std::string::size_type slash = moduleName.find_last_of("\\/");
    if (slash != std::string::npos) moduleName.erase(0, slash + 1);
    const auto start = reinterpret_cast<std::uintptr_t>(module);
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    offset = static_cast<unsigned long>(at >= start ? at - start : 0);
}

void ShowException(const char* className, const std::string& message, const void* address) {
    std::string moduleName;
    unsigned long offset = 0;
    LocateAddress(address, moduleName, offset);
    const std::string text = FormatExceptionText(className, moduleName, offset, message);
    MessageBoxA(nullptr, text.c_str(), "Application Error", ApplicationErrorFlags);
}

}  // namespace

std::string FormatExceptionText(const std::string& className, const std::string& moduleName,
                                unsigned long offset, const std::string& message) {
    char address[16];
    std::snprintf(address, sizeof address, "%08lX", offset & 0xFFFFFFFFul);
    std::string text =
        "Exception " + className + " in module " + moduleName + " at " + address + ".\n" + message;
    if (!message.empty() && message.back() != '.') text += '.';
    return text;
}

std::string SysErrorMessage(DWORD code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string text = buffer != nullptr ? std::string(buffer, length) : std::string();
    if (buffer != nullptr) LocalFree(buffer);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}

int RunProgram(void (*body)()) {
    HInstance = GetModuleHandleA(nullptr);
    try {
        body();
        return 0;
    } catch (const Exception& error) {
        ShowException(error.ClassName(), error.Message(), error.Address());
    } catch (const std::bad_alloc&) {
        ShowException("EOutOfMemory", "Out of memory", nullptr);
    } catch (const std::exception& error) {
        ShowException("Exception", error.what(), nullptr);
    } catch (...) {
        ShowException("Exception", "Unknown error", nullptr);
    }
    return 1;
}
