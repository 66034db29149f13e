// The runtime's thread class: a body that runs on a system thread of its own.
//
// The system thread is created held and is released only once the whole
// constructor chain has run, so the body never sees a half-built object. Create
// objects through TThread::Create, which performs that release.
#pragma once

#include <windows.h>

#include <exception>

class TThread {
public:
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Constructs a T and then releases its thread unless it was created suspended.
    template <class T>
    static T* Create() {
        T* thread = new T();
        thread->AfterConstruction();
        return thread;
    }

protected:
    // Creates the system thread held. Raises EThread with the system's
    // description when the system refuses it.
    explicit TThread(bool createSuspended);
    // Closes the thread handle and releases a stored error.
    virtual ~TThread();

    // Calls the termination handler, if one is set; none is set in this program.
    virtual void DoTerminate();
    // The body, on the thread of its own.
    virtual void Execute() = 0;

    bool freeOnTerminate_ = false;

private:
    void AfterConstruction();
    static DWORD WINAPI ThreadProc(LPVOID parameter);

    HANDLE handle_ = nullptr;
    DWORD threadId_ = 0;
    bool createSuspended_;
    bool finished_ = false;
    DWORD returnValue_ = 0;
    std::exception_ptr fatalException_;
    void (*onTerminate_)(TThread*) = nullptr;
};
