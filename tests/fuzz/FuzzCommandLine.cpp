// Fuzzes the splitting of the command line. The first byte chooses the code
// page (odd: double-byte); the rest is the command line.
#include "FakeWin32.h"

#include "app/Settings.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size == 0) return 0;
    fake::State().doubleByteCodePage = (data[0] & 1) != 0;
    fake::State().commandLine.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string line = fake::State().commandLine.c_str();  // up to the first NUL

    const int count = ArgCount();
    std::size_t total = 0;
    for (int n = 1; n <= count; ++n) {
        const std::string argument = ArgText(n);
        if (argument.empty()) std::abort();  // no empty argument within ArgCount
        if (!fake::State().doubleByteCodePage && argument.find('"') != std::string::npos)
            std::abort();  // no token holds a double quote
        total += argument.size();
    }
    if (total > line.size()) std::abort();
    if (!ArgText(count + 1).empty()) std::abort();
    return 0;
}
