#include "app/CheckIP.h"

#include "app/Settings.h"

namespace {

const int MaxDots = 4;

bool InRange(const std::string& part, int low) {
    const std::int32_t value = ParseInt(part);
    return value >= low && value <= 255;
}

}  // namespace

bool CheckIP(const std::string& text) {
    for (const char c : text)
        if (c != '.' && (c < '0' || c > '9')) return true;  // a host name

    std::string::size_type dots[MaxDots];
    int dotCount = 0;
    for (std::string::size_type i = 0; i < text.size() && dotCount < MaxDots; ++i)
        if (text[i] == '.') dots[dotCount++] = i;
    if (dotCount == MaxDots) return false;

    // The first part runs up to the first dot and the last part from the last
    // dot on; the middle ones lie between the first three dots. A part that the
    // dots do not give reads as empty, and so does the first part without a dot.
    const auto between = [&text](std::string::size_type from, std::string::size_type to) {
        return text.substr(from, to - from);
    };
    std::string parts[4];
    if (dotCount >= 1) {
        parts[0] = between(0, dots[0]);
        parts[3] = text.substr(dots[dotCount - 1] + 1);
    }
    if (dotCount >= 2) parts[1] = between(dots[0] + 1, dots[1]);
    if (dotCount >= 3) parts[2] = between(dots[1] + 1, dots[2]);

    bool acceptable = InRange(parts[0], 1);
    for (int i = 1; i < 4; ++i)
        if (!InRange(parts[i], 0)) acceptable = false;
    return acceptable;
}
