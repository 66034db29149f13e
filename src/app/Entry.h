// The program's main routine: start-up, error exits, message loop.
#pragma once

#include <atomic>

// Set once, when the hidden window is destroyed, to end the message loop and
// the probe worker. Trivially destructible: the worker may read it up to the
// very end of the process.
extern std::atomic<bool> Stop;

// The whole run of the program on the main thread; RunProgram turns its end
// into the exit code.
void HostglowMain();
