#include "app/CheckIP.h"

#include "Fixture.h"

namespace {

struct AddressCase {
    std::string text;
    bool acceptable;
};

void PrintTo(const AddressCase& c, std::ostream* os) {
    *os << Printable(c.text);
}

class CheckIPTest : public HostglowTest, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(CheckIPTest, Verdict) {
    EXPECT_EQ(CheckIP(GetParam().text), GetParam().acceptable)
        << "text \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Table, CheckIPTest,
    ::testing::Values(
        AddressCase{"192.168.0.1", true}, AddressCase{"255.255.255.255", true},
        AddressCase{"1.0.0.0", true}, AddressCase{"0.1.2.3", false}, AddressCase{"00.1.2.3", false},
        AddressCase{"001.002.003.004", true}, AddressCase{"1.2.3.0000000000000000007", true},
        AddressCase{"256.1.1.1", false}, AddressCase{"1.256.3.4", false},
        AddressCase{"1.2.256.4", false}, AddressCase{"1.2.3.256", false},
        AddressCase{"1.2.3.2147483648", false}, AddressCase{"1.2.3.4.5", false},
        AddressCase{"1.2.3.4.", false}, AddressCase{"1.2.3", true}, AddressCase{"1.2", true},
        AddressCase{"1.", true}, AddressCase{"1...", true}, AddressCase{"1.2.3.", true},
        AddressCase{"10..1", true}, AddressCase{".1.2.3", false}, AddressCase{".", false},
        AddressCase{"12345", false}, AddressCase{"0", false}, AddressCase{"localhost", true},
        AddressCase{"gateway-2", true}, AddressCase{"1.2.3.4a", true},
        AddressCase{"999.999.999.999x", true}, AddressCase{"-1.2.3.4", true},
        AddressCase{"1.2.3.4 ", true}, AddressCase{"", false},
        // The dot count stops at four: a fifth dot changes nothing.
        AddressCase{"1.2.3.4..", false},
        // With two dots the middle part is part 2, and the last part is part 4.
        AddressCase{"1.300.3", false}, AddressCase{"1.3.300", false}));

}  // namespace
