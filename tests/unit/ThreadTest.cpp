#include "runtime/Exceptions.h"
#include "runtime/Thread.h"

#include "Fixture.h"

#include <stdexcept>

namespace {

class MarkingThread : public TThread {
public:
    MarkingThread() : TThread(false) {
        freeOnTerminate_ = true;
        fake::Mark("constructed");
    }
    ~MarkingThread() override { fake::Mark("freed"); }

    static bool fail;

protected:
    void Execute() override {
        fake::Mark("executing");
        if (fail) throw std::runtime_error("escaped");
    }
    void DoTerminate() override { fake::Mark("terminating"); }
};

bool MarkingThread::fail = false;

class ThreadTest : public HostglowTest {
protected:
    void TearDown() override {
        MarkingThread::fail = false;
        HostglowTest::TearDown();
    }
};

TEST_F(ThreadTest, IsCreatedHeldAndReleasedOnlyAfterTheWholeConstructorChain) {
    TThread::Create<MarkingThread>();
    fake::JoinThreads();
    EXPECT_EQ(fake::Calls(),
              (Lines{"CreateThread(stack=0, flags=0x4)", "constructed", "ResumeThread(thread1)",
                     "[thread1] executing", "[thread1] terminating", "[thread1] freed",
                     "[thread1] CloseHandle(thread1)"}));
}

TEST_F(ThreadTest, AnErrorThatEscapesTheBodyEndsTheThreadQuietly) {
    MarkingThread::fail = true;
    TThread::Create<MarkingThread>();
    fake::JoinThreads();
    EXPECT_EQ(fake::CallsOf({"MessageBoxA"}), Lines{});
    EXPECT_EQ(fake::Calls().back(), "[thread1] CloseHandle(thread1)");
}

TEST_F(ThreadTest, RefusedCreationRaisesEThreadWithTheSystemsDescription) {
    fake::State().createThreadFails = true;
    fake::State().createThreadError = ERROR_NOT_ENOUGH_MEMORY;
    try {
        TThread::Create<MarkingThread>();
        FAIL() << "no error raised";
    } catch (const EThread& error) {
        EXPECT_STREQ(error.ClassName(), "EThread");
        EXPECT_EQ(error.Message(),
                  "Thread creation error: Not enough memory resources are available to process "
                  "this command");
        EXPECT_NE(error.Address(), nullptr);
    }
    EXPECT_EQ(fake::Calls(), (Lines{"CreateThread(stack=0, flags=0x4)", "GetLastError() = 8"}))
        << "no constructor body, no release";
}

}  // namespace
