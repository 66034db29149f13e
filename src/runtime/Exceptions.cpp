#include "runtime/Exceptions.h"

#include <utility>

// Kept out of line so that the caller's address is the raise site.
#if defined(_MSC_VER)
__declspec(noinline)
#else
__attribute__((noinline))
#endif
    Exception::Exception(std::string message)
    : message_(std::move(message)), address_(HOSTGLOW_CALLER_ADDRESS()) {
}

Exception::Exception(std::string message, const void* address)
    : message_(std::move(message)), address_(address) {}
