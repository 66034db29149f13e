// The command line and the settings derived from it.
#pragma once

#include <cstdint>
#include <string>

// Echo timeout and delay between two probes, in milliseconds.
extern std::int32_t TimeOut;
extern std::int32_t Delay;
// The tooltip: host and timings, empty when the arguments are not used.
extern std::string TipText;
// Error position of the latest ParseInt: 0 on success, else where it failed.
extern std::int32_t ValCode;

// The number of arguments, the program's own name not counted.
int ArgCount();
// Argument n (from 1), or the empty text beyond the last one.
std::string ArgText(int n);

// Converts a decimal or hexadecimal ("$", "x" or "0x" prefix) text to a signed
// 32-bit integer and leaves the error position in ValCode.
std::int32_t ParseInt(const std::string& text);

// Derives TimeOut, Delay and TipText from arguments 2 and 3.
void ReadSettings();
