#include "Fixture.h"

namespace {

struct ParseCase {
    std::string text;
    std::int32_t result;
    std::int32_t valCode;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << Printable(c.text);
}

class ParseIntTest : public HostglowTest, public ::testing::WithParamInterface<ParseCase> {};

TEST_P(ParseIntTest, ConvertsAndLeavesTheErrorPosition) {
    const ParseCase& c = GetParam();
    ValCode = -99;
    EXPECT_EQ(ParseInt(c.text), c.result) << "text \"" << c.text << "\"";
    EXPECT_EQ(ValCode, c.valCode) << "text \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ParseIntTest,
    ::testing::Values(ParseCase{"500", 500, 0}, ParseCase{"007", 7, 0}, ParseCase{"+500", 500, 0},
                      ParseCase{"-5", -5, 0}, ParseCase{"-0", 0, 0}, ParseCase{" 500", 500, 0},
                      ParseCase{"500 ", 500, 4}, ParseCase{"\t5", 0, 1}, ParseCase{"0x1F4", 500, 0},
                      ParseCase{"0X10", 16, 0}, ParseCase{"$ff", 255, 0}, ParseCase{"x1F", 31, 0},
                      ParseCase{"$FFFFFFFF", -1, 0}, ParseCase{"$80000000", INT32_MIN, 0},
                      ParseCase{"2147483647", INT32_MAX, 0}, ParseCase{"-2147483648", INT32_MIN, 0},
                      ParseCase{"12a", 12, 3}, ParseCase{"500ms", 500, 4}, ParseCase{"0a", 0, 2},
                      ParseCase{"", 0, 1}, ParseCase{"  ", 0, 3}, ParseCase{"-", 0, 2},
                      ParseCase{"$", 0, 3}, ParseCase{"0x", 0, 4}, ParseCase{"-$10", 0, 2},
                      ParseCase{"-0x10", 0, 3}, ParseCase{"2147483648", INT32_MIN, 11},
                      ParseCase{"-2147483649", INT32_MAX, 12},
                      ParseCase{"2147483650", 214748365, 10},
                      ParseCase{"$100000000", 268435456, 10},
                      // Leading zeros do not count toward the hexadecimal limit.
                      ParseCase{"$00000000FFFFFFFF", -1, 0},
                      // A sign after blanks, and blanks after a sign.
                      ParseCase{"  -7", -7, 0}, ParseCase{"- 7", 0, 2}));

}  // namespace
