// The program's error classes: each error carries its class name, its message
// and the code address at which it was raised, for the last-chance error box.
#pragma once

#include <exception>
#include <string>

// The address of the code that called the current function.
#if defined(_MSC_VER)
#include <intrin.h>
#define HOSTGLOW_CALLER_ADDRESS() _ReturnAddress()
#else
#define HOSTGLOW_CALLER_ADDRESS() __builtin_return_address(0)
#endif

class Exception : public std::exception {
public:
    // Records the caller of the constructor as the place where the error arose.
    explicit Exception(std::string message);
    Exception(std::string message, const void* address);

    virtual const char* ClassName() const { return "Exception"; }
    const std::string& Message() const { return message_; }
    const void* Address() const { return address_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
    const void* address_;
};

// Raised when the system refuses to create a thread.
class EThread : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EThread"; }
};
