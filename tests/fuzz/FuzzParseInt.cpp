// Fuzzes ParseInt: every decimal that it accepts must read back the same.
#include "FakeWin32.h"

#include "app/Settings.h"

#include <cstdlib>
#include <string>

namespace {

// A text of the form [blanks][sign]digits: the only decimal form.
bool IsDecimal(const std::string& text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) return false;
    if (text[i] == '-' || text[i] == '+') ++i;
    if (i == text.size()) return false;
    if (text[i] == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X'))
        return false;
    return text.find_first_not_of("0123456789", i) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::int32_t value = ParseInt(text);
    const std::int32_t code = ValCode;
    if (code < 0 || static_cast<std::size_t>(code) > text.size() + 2) std::abort();
    if (text.empty() && (value != 0 || code != 1)) std::abort();
    if (code == 0 && IsDecimal(text)) {
        // The same number, written out by the library, converts to the same value.
        const long long reference = std::strtoll(text.c_str(), nullptr, 10);
        if (reference != value) std::abort();
        const std::string again = std::to_string(value);
        if (ParseInt(again) != value || ValCode != 0) std::abort();
    }
    return 0;
}
