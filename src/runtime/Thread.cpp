#include "runtime/Thread.h"

#include "runtime/Application.h"
#include "runtime/Exceptions.h"

TThread::TThread(bool createSuspended) : createSuspended_(createSuspended) {
    handle_ = CreateThread(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &threadId_);
    if (handle_ == nullptr)
        throw EThread("Thread creation error: " + SysErrorMessage(GetLastError()),
                      HOSTGLOW_CALLER_ADDRESS());
}

TThread::~TThread() {
    if (handle_ != nullptr) CloseHandle(handle_);
}

void TThread::AfterConstruction() {
    if (!createSuspended_) ResumeThread(handle_);
}

void TThread::DoTerminate() {
    if (onTerminate_ != nullptr) onTerminate_(this);
}

DWORD WINAPI TThread::ThreadProc(LPVOID parameter) {
    TThread* thread = static_cast<TThread*>(parameter);
    try {
        thread->Execute();
    } catch (...) {
        thread->fatalException_ = std::current_exception();
    }
    const bool freeThread = thread->freeOnTerminate_;
    const DWORD result = thread->returnValue_;
    thread->finished_ = true;
    thread->DoTerminate();
    if (freeThread) delete thread;
    return result;
}
