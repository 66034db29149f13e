// Fuzzes SetTip: the tooltip always ends within its 64 bytes, nothing is
// written after them, and what is shown is a start of the text.
#include "FakeWin32.h"

#include "tray/TrayIcon.h"

#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size == 0) return 0;
    fake::State().doubleByteCodePage = (data[0] & 1) != 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::memset(&TrayData, 0x5A, sizeof TrayData);
    SetTip(text);
    const char* tip = TrayData.szTip;
    const void* end = std::memchr(tip, '\0', TipFieldSize);
    if (end == nullptr) std::abort();
    for (std::size_t i = TipFieldSize; i < sizeof TrayData.szTip; ++i)
        if (tip[i] != 0x5A) std::abort();
    const std::size_t length = static_cast<const char*>(end) - tip;
    if (text.compare(0, length, tip, length) != 0) std::abort();
    const std::string whole = text.c_str();  // up to the first NUL
    if (whole.size() <= TipFieldSize - 1 && length != whole.size()) std::abort();
    fake::ClearCalls();
    return 0;
}
