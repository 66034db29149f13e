#include "Fixture.h"

namespace {

struct SplitCase {
    const char* what;
    std::string commandLine;
    Lines arguments;
    bool doubleByte = false;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.what;
}

class CommandLineTest : public HostglowTest, public ::testing::WithParamInterface<SplitCase> {};

Lines Arguments() {
    Lines arguments;
    for (int n = 1; n <= ArgCount(); ++n) arguments.push_back(ArgText(n));
    return arguments;
}

TEST_P(CommandLineTest, SplitsIntoArguments) {
    const SplitCase& c = GetParam();
    CommandLine(c.commandLine);
    fake::State().doubleByteCodePage = c.doubleByte;
    EXPECT_EQ(Arguments(), c.arguments) << c.what;
    EXPECT_EQ(ArgText(ArgCount() + 1), "") << c.what << ": beyond the last argument";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CommandLineTest,
    ::testing::Values(
        SplitCase{"no argument", "hostglow.exe", {}},
        SplitCase{"only blanks after the name", "hostglow.exe   ", {}},
        SplitCase{
            "blanks separate", "hostglow.exe 10.0.0.1  500 2000", {"10.0.0.1", "500", "2000"}},
        SplitCase{"tabs separate", "hostglow.exe\t10.0.0.1\t500", {"10.0.0.1", "500"}},
        SplitCase{"control characters separate",
                  "hostglow.exe\x01host\x1f"
                  "500",
                  {"host", "500"}},
        SplitCase{"8-bit characters do not separate", "hostglow.exe h\xa9st", {"h\xa9st"}},
        SplitCase{"quotes are dropped", "hostglow.exe \"gateway\" 500", {"gateway", "500"}},
        SplitCase{"a quoted stretch keeps its blanks",
                  "hostglow.exe \"my host\" 500",
                  {"my host", "500"}},
        SplitCase{
            "a token goes on after a closing quote", "hostglow.exe a\"b c\"d e", {"ab cd", "e"}},
        SplitCase{"an empty pair of quotes is no argument",
                  "hostglow.exe 10.0.0.1 \"\" 500",
                  {"10.0.0.1", "500"}},
        SplitCase{"characters right after an empty pair start the token",
                  "hostglow.exe \"\"500 x",
                  {"500", "x"}},
        SplitCase{"several empty pairs", "hostglow.exe \"\"\"\" \"\"", {}},
        SplitCase{"an empty pair inside a token", "hostglow.exe a\"\"b", {"ab"}},
        SplitCase{"an open quote runs to the end",
                  "hostglow.exe host \" 500  2000",
                  {"host", " 500  2000"}},
        SplitCase{"a trailing quote adds no argument", "hostglow.exe host \"", {"host"}},
        SplitCase{"a backslash is ordinary", "hostglow.exe a\\\"b c\"", {"a\\b c"}},
        SplitCase{"the name holding a blank, unquoted",
                  "C:\\Program Files\\hostglow.exe 10.0.0.1",
                  {"Files\\hostglow.exe", "10.0.0.1"}},
        SplitCase{"the name holding a blank, quoted",
                  "\"C:\\Program Files\\hostglow.exe\" 10.0.0.1",
                  {"10.0.0.1"}},
        SplitCase{"a quote as second byte of a double-byte character",
                  "hostglow.exe \x81\"x y",
                  {"\x81\"x", "y"},
                  true},
        SplitCase{"a blank as second byte of a double-byte character",
                  "hostglow.exe \x81 z",
                  {"\x81 z"},
                  true},
        SplitCase{"the same bytes in a single-byte code page",
                  "hostglow.exe \x81\"x y",
                  {"\x81x y"},
                  false},
        SplitCase{"a lead byte at the very end", "hostglow.exe a\x81", {"a\x81"}, true}));

}  // namespace
