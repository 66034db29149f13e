#include "tray/About.h"

#include "Fixture.h"

#include <cwchar>

namespace {

const char ExpectedText[] =
    "  Hostglow v1.0\r\n"
    "  \xA9 2026 The Hostglow Project        \r\n"
    "  https://hostglow.example.org/\r\n"
    "  E-mail:hostglow@example.org";

template <class Params>
void ExpectCommonFields(const Params& params) {
    EXPECT_EQ(params.cbSize, sizeof(Params));
    EXPECT_EQ(params.hwndOwner, nullptr);
    EXPECT_EQ(params.hInstance, HInstance);
    EXPECT_EQ(params.dwStyle, static_cast<DWORD>(MB_USERICON));
    EXPECT_EQ(params.dwContextHelpId, 0u);
    EXPECT_EQ(params.lpfnMsgBoxCallback, nullptr);
    EXPECT_EQ(params.dwLanguageId, 0u);
}

// What one box showed, kept while the box is open.
template <class Char>
struct Shown {
    std::basic_string<Char> text, caption, icon;
};

// A box hook that checks the record's common fields and keeps its texts.
template <class Params, class Char>
std::function<int(const Params&)> Keep(Shown<Char>& shown) {
    return [&shown](const Params& params) {
        ExpectCommonFields(params);
        shown = {params.lpszText, params.lpszCaption, params.lpszIcon};
        return IDOK;
    };
}

class AboutTest : public HostglowTest {};

TEST_F(AboutTest, NTFamilyGetsTheWideBoxWithTheSameCharacters) {
    fake::State().platformId = VER_PLATFORM_WIN32_NT;
    Shown<wchar_t> shown;
    fake::State().onMessageBoxIndirectW = Keep<MSGBOXPARAMSW>(shown);
    ShowAbout();
    const std::wstring& text = shown.text;
    const std::string expected = ExpectedText;
    ASSERT_EQ(text.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(static_cast<unsigned>(text[i]), static_cast<unsigned char>(expected[i]))
            << "code unit " << i;
    EXPECT_NE(text.find(L'\u00A9'), std::wstring::npos);
    EXPECT_EQ(shown.caption, L"About");
    EXPECT_EQ(shown.icon, L"MAINICON");
    EXPECT_EQ(fake::CallsOf({"GetVersionExA", "MessageBoxIndirectA"}),
              (Lines{"GetVersionExA(size=148)"}));
}

TEST_F(AboutTest, OtherFamiliesGetThe8BitBox) {
    for (const DWORD platform : {DWORD{VER_PLATFORM_WIN32_WINDOWS}, DWORD{VER_PLATFORM_WIN32s}}) {
        fake::Reset();
        fake::State().platformId = platform;
        Shown<char> shown;
        fake::State().onMessageBoxIndirectA = Keep<MSGBOXPARAMSA>(shown);
        ShowAbout();
        EXPECT_EQ(shown.text, ExpectedText) << "platform " << platform;
        EXPECT_EQ(shown.caption, "About");
        EXPECT_EQ(shown.icon, "MAINICON");
        EXPECT_EQ(fake::CallsOf({"MessageBoxIndirectW"}), Lines{});
    }
}

TEST_F(AboutTest, TextKeepsItsLayout) {
    const std::string text = ExpectedText;
    EXPECT_EQ(std::string(AboutTextA), text);
    Lines lines;
    for (std::string::size_type start = 0;;) {
        const auto end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    ASSERT_EQ(lines.size(), 4u);
    for (const std::string& line : lines) EXPECT_EQ(line.substr(0, 2), "  ") << line;
    EXPECT_EQ(lines[0], "  Hostglow v1.0");
    EXPECT_EQ(lines[1].substr(2, 1), "\xA9");
    EXPECT_EQ(lines[1].substr(lines[1].size() - 9), std::string("t") + std::string(8, ' '));
    EXPECT_EQ(lines[3].substr(0, 10), "  E-mail:h");
    EXPECT_EQ(std::wcslen(AboutTextW), text.size());
}

}  // namespace
