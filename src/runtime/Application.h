// The program's runtime: start-up, the last-chance error handler and the
// exit code of the process.
#pragma once

#include <windows.h>

#include <string>

// The program's own module instance, recorded by RunProgram before the body runs.
extern HINSTANCE HInstance;

// Records the module instance, runs body and returns the exit code for
// ExitProcess: 0 when body returns, 1 when an error escapes it, after the
// "Application Error" box has been shown.
int RunProgram(void (*body)());

// The text of the "Application Error" box for an error of class className with
// message, raised at offset within the module file moduleName.
std::string FormatExceptionText(const std::string& className, const std::string& moduleName,
                                unsigned long offset, const std::string& message);

// The system's description of an error code, without trailing blanks, line
// ends or full stops.
std::string SysErrorMessage(DWORD code);
