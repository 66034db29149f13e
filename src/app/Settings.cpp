#include "app/Settings.h"

#include <windows.h>

std::int32_t TimeOut = 1000;
std::int32_t Delay = 1000;
std::string TipText;
std::int32_t ValCode = 0;

namespace {

const int MaxArguments = 3;
const char DefaultTiming[] = "1000";

bool IsSeparator(const char* p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    return c >= 1 && c <= ' ';
}

// Reads the token that starts at or after p into token and returns the
// position after it. Characters are stepped with CharNextA so that the second
// byte of a double-byte character is never read as a blank or a quote.
const char* NextToken(const char* p, std::string& token) {
    token.clear();
    for (;;) {
        while (IsSeparator(p)) p = CharNextA(p);
        if (p[0] != '"' || p[1] != '"') break;
        p = CharNextA(CharNextA(p));  // an empty pair of quotes is no argument
    }
    bool quoted = false;
    while (*p != '\0' && (quoted || !IsSeparator(p))) {
        const char* next = CharNextA(p);
        if (*p == '"')
            quoted = !quoted;
        else
            token.append(p, static_cast<std::size_t>(next - p));
        p = next;
    }
    return p;
}

// Argument n, or the empty text; argument 0 is the program's own name.
// Counting stops at the first empty token, which arises only at the end.
std::string Argument(int n, int& count) {
    std::string token;
    const char* p = NextToken(GetCommandLineA(), token);
    std::string wanted;
    count = 0;
    for (;;) {
        p = NextToken(p, token);
        if (token.empty()) return wanted;
        if (++count == n) wanted = token;
    }
}

int DigitValue(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The setting from argument n, or the default with its text when the
// argument does not convert.
void ReadTiming(int n, std::int32_t& value, std::string& text) {
    const std::string argument = ArgText(n);
    value = ParseInt(argument);
    if (ValCode == 0) {
        text = argument;
    } else {
        value = 1000;
        text = DefaultTiming;
    }
}

}  // namespace

int ArgCount() {
    int count = 0;
    Argument(0, count);
    return count;
}

std::string ArgText(int n) {
    int count = 0;
    return Argument(n, count);
}

std::int32_t ParseInt(const std::string& text) {
    const std::size_t length = text.size();
    if (length == 0) {
        ValCode = 1;
        return 0;
    }
    std::size_t i = 0;
    while (i < length && text[i] == ' ') ++i;
    int base = 10;
    bool negative = false;
    if (i < length) {
        const char c = text[i];
        if (c == '$' || c == 'x' || c == 'X') {
            base = 16;
            ++i;
        } else if (c == '0' && i + 1 < length && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
            base = 16;
            i += 2;
        } else if (c == '-' || c == '+') {
            negative = c == '-';
            ++i;
        }
    }
    if (i >= length) {  // the text ends where the first digit is due
        ValCode = static_cast<std::int32_t>(length + (base == 16 ? 2 : 1));
        return 0;
    }
    const std::uint32_t limit = base == 16 ? 0x0FFFFFFFu : 214748364u;
    std::uint32_t value = 0;
    for (; i < length; ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0 || value > limit) {
            ValCode = static_cast<std::int32_t>(i + 1);
            return static_cast<std::int32_t>(value);
        }
        value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
    }
    ValCode = 0;
    if (base == 10 && value > (negative ? 2147483648u : 2147483647u))
        ValCode = static_cast<std::int32_t>(length + 1);
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

void ReadSettings() {
    const int count = ArgCount();
    if (count > MaxArguments) return;
    std::string timeoutText = DefaultTiming;
    std::string delayText = DefaultTiming;
    if (count >= 2) ReadTiming(2, TimeOut, timeoutText);
    if (count >= 3) ReadTiming(3, Delay, delayText);
    TipText = "IP: " + ArgText(1) + " TimeOut=" + timeoutText + " ms Delay=" + delayText + " ms";
}
