#include "Fixture.h"

namespace {

struct SettingsCase {
    std::string arguments;
    std::int32_t timeOut;
    std::int32_t delay;
    std::string tipText;
};

void PrintTo(const SettingsCase& c, std::ostream* os) {
    *os << Printable(c.arguments);
}

class ReadSettingsTest : public HostglowTest, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(ReadSettingsTest, DerivesTimingsAndTooltip) {
    const SettingsCase& c = GetParam();
    CommandLine("hostglow.exe " + c.arguments);
    ReadSettings();
    EXPECT_EQ(TimeOut, c.timeOut) << c.arguments;
    EXPECT_EQ(Delay, c.delay) << c.arguments;
    EXPECT_EQ(TipText, c.tipText) << c.arguments;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadSettingsTest,
    ::testing::Values(
        SettingsCase{"10.0.0.1", 1000, 1000, "IP: 10.0.0.1 TimeOut=1000 ms Delay=1000 ms"},
        SettingsCase{"10.0.0.1 500", 500, 1000, "IP: 10.0.0.1 TimeOut=500 ms Delay=1000 ms"},
        SettingsCase{"10.0.0.1 abc", 1000, 1000, "IP: 10.0.0.1 TimeOut=1000 ms Delay=1000 ms"},
        SettingsCase{"10.0.0.1 500 2000", 500, 2000, "IP: 10.0.0.1 TimeOut=500 ms Delay=2000 ms"},
        SettingsCase{"10.0.0.1 abc 2000", 1000, 2000, "IP: 10.0.0.1 TimeOut=1000 ms Delay=2000 ms"},
        SettingsCase{"10.0.0.1 500 abc", 500, 1000, "IP: 10.0.0.1 TimeOut=500 ms Delay=1000 ms"},
        SettingsCase{"10.0.0.1 abc def", 1000, 1000, "IP: 10.0.0.1 TimeOut=1000 ms Delay=1000 ms"},
        SettingsCase{"10.0.0.1 0x1F4 x7D0", 500, 2000,
                     "IP: 10.0.0.1 TimeOut=0x1F4 ms Delay=x7D0 ms"},
        SettingsCase{"10.0.0.1 +500 -1", 500, -1, "IP: 10.0.0.1 TimeOut=+500 ms Delay=-1 ms"},
        SettingsCase{"10.0.0.1 0 0", 0, 0, "IP: 10.0.0.1 TimeOut=0 ms Delay=0 ms"},
        SettingsCase{"10.0.0.1 2147483648", 1000, 1000,
                     "IP: 10.0.0.1 TimeOut=1000 ms Delay=1000 ms"},
        SettingsCase{"10.0.0.1 500ms", 1000, 1000, "IP: 10.0.0.1 TimeOut=1000 ms Delay=1000 ms"},
        SettingsCase{"10.0.0.1 500 2000 9", 1000, 1000, ""},
        SettingsCase{"gateway 250", 250, 1000, "IP: gateway TimeOut=250 ms Delay=1000 ms"},
        // The empty pair is no argument: 500 is the timeout, not the delay.
        SettingsCase{"10.0.0.1 \"\" 500", 500, 1000, "IP: 10.0.0.1 TimeOut=500 ms Delay=1000 ms"},
        // The tooltip shows a timing as it was given, blank included.
        SettingsCase{"10.0.0.1 \" 500\"", 500, 1000,
                     "IP: 10.0.0.1 TimeOut= 500 ms Delay=1000 ms"}));

}  // namespace
