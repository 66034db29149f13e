// The probe worker: a thread that probes the host, sets the lamp and sleeps,
// until Stop is set.
#pragma once

#include "runtime/Thread.h"

// A thread that frees itself when its body ends and whose body is DoWork.
class TSortThread : public TThread {
public:
    TSortThread();

protected:
    void Execute() override;
    virtual void DoWork() = 0;
};

// The probe loop.
class TThreadPing : public TSortThread {
protected:
    void DoWork() override;
};
