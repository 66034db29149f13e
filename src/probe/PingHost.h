// One ICMP echo exchange with the host named by argument 1.
#pragma once

#include <cstdint>

// Resolves argument 1, sends one echo request of 32 bytes and waits at most
// TimeOut milliseconds: true when the host answered with an echo reply.
bool PingHost();

// The timing handed to the platform: a negative value would become a wait of
// about 49 days, so it is replaced by the default.
std::uint32_t PlatformMilliseconds(std::int32_t milliseconds);
