// The check of the host argument at start-up.
#pragma once

#include <string>

// True when text may be used as the host: a host name (any character other
// than a digit or a dot), or a dotted IPv4 address whose first part lies in
// 1..255 and whose other parts lie in 0..255.
bool CheckIP(const std::string& text);
