// Fuzzes CheckIP: a text with any character other than a digit or a dot is a
// host name and always acceptable; four dots or more in a text of digits and
// dots never are; an accepted dotted text has parts within 0..255.
#include "FakeWin32.h"

#include "app/CheckIP.h"

#include <algorithm>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool acceptable = CheckIP(text);
    const bool dotted = text.find_first_not_of("0123456789.") == std::string::npos;
    if (!dotted && !acceptable) std::abort();
    if (!dotted) return 0;
    if (std::count(text.begin(), text.end(), '.') >= 4 && acceptable) std::abort();
    if (acceptable) {
        // Every run of digits reads at most 255 once its leading zeros are dropped.
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t end = std::min(text.find('.', start), text.size());
            std::string part = text.substr(start, end - start);
            part.erase(0, std::min(part.find_first_not_of('0'), part.size()));
            if (part.size() > 3 || (!part.empty() && std::stoi(part) > 255)) std::abort();
            start = end + 1;
        }
    }
    return 0;
}
