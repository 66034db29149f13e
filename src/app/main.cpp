// The Windows entry point: runs the program and ends the process at once with
// its exit code, without waiting for the probe worker.
#include "app/Entry.h"
#include "runtime/Application.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ExitProcess(static_cast<UINT>(RunProgram(HostglowMain)));
}
