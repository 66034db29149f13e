#include "runtime/Exceptions.h"

#include "Fixture.h"

#include <new>

namespace {

struct TextCase {
    std::string className;
    unsigned long offset;
    std::string message;
    std::string text;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << Printable(c.message);
}

class ExceptionTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ExceptionTextTest, FollowsThePatternAndTheFullStopRule) {
    const TextCase& c = GetParam();
    EXPECT_EQ(FormatExceptionText(c.className, "hostglow.exe", c.offset, c.message), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ExceptionTextTest,
    ::testing::Values(
        TextCase{"EThread", 0x1234, "Thread creation error: Access is denied",
                 "Exception EThread in module hostglow.exe at 00001234.\n"
                 "Thread creation error: Access is denied."},
        TextCase{"EOutOfMemory", 0xABCDEF, "Out of memory.",
                 "Exception EOutOfMemory in module hostglow.exe at 00ABCDEF.\nOut of memory."},
        TextCase{"Exception", 0, "", "Exception Exception in module hostglow.exe at 00000000.\n"},
        TextCase{"Exception", 0xFFFFFFFFul, "a",
                 "Exception Exception in module hostglow.exe at FFFFFFFF.\na."}));

class RunProgramTest : public HostglowTest {
protected:
    // Runs body through RunProgram and keeps what the last-chance box showed.
    int Run(void (*body)()) {
        fake::State().onMessageBox = [this](const std::string& text, const std::string& caption,
                                            UINT flags) {
            boxText = text;
            boxCaption = caption;
            boxFlags = flags;
            ++boxes;
            return IDOK;
        };
        return RunProgram(body);
    }

    std::string boxText;
    std::string boxCaption;
    UINT boxFlags = 0;
    int boxes = 0;
};

TEST_F(RunProgramTest, NormalEndGivesExitCodeZeroWithoutABox) {
    EXPECT_EQ(Run([] {}), 0);
    EXPECT_EQ(boxes, 0);
    EXPECT_EQ(HInstance, GetModuleHandleA(nullptr)) << "the module instance is recorded";
}

TEST_F(RunProgramTest, EscapingErrorShowsItsClassModuleOffsetAndMessage) {
    // The fake platform places every address in a 64 KiB module at its boundary.
    EXPECT_EQ(Run([] { throw EThread("It broke", reinterpret_cast<const void*>(0x00401234)); }), 1);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(boxCaption, "Application Error");
    EXPECT_EQ(boxFlags, static_cast<UINT>(MB_OK | MB_ICONERROR | MB_TASKMODAL));
    EXPECT_EQ(boxText, "Exception EThread in module hostglow.exe at 00001234.\nIt broke.");
    EXPECT_EQ(fake::CallsOf({"MessageBoxA"}).at(0).rfind("MessageBoxA(null, ", 0), 0u)
        << "the box has no owner";
}

TEST_F(RunProgramTest, MemoryRunningOutIsReportedAsEOutOfMemory) {
    EXPECT_EQ(Run([] { throw std::bad_alloc(); }), 1);
    EXPECT_EQ(boxText.substr(0, 23), "Exception EOutOfMemory ");
    EXPECT_NE(boxText.find(".\nOut of memory."), std::string::npos) << boxText;
}

TEST_F(RunProgramTest, AnyOtherErrorIsCaughtToo) {
    EXPECT_EQ(Run([] { throw 42; }), 1);
    EXPECT_EQ(boxes, 1);
}

TEST(SysErrorMessageTest, DropsTheTrailingLineEndAndFullStop) {
    EXPECT_EQ(SysErrorMessage(ERROR_NOT_ENOUGH_MEMORY),
              "Not enough memory resources are available to process this command");
}

}  // namespace
