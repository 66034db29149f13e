#include "tray/MainWnd.h"
#include "tray/TrayIcon.h"

#include "Fixture.h"

#include <cstring>

namespace {

class TrayIconTest : public HostglowTest {
protected:
    void SetUp() override {
        HostglowTest::SetUp();
        ShowLamp();
    }

    // The tooltip bytes of the latest request, up to the NUL.
    static std::string LastTip() {
        const auto requests = fake::TrayRequests();
        const char* tip = requests.back().data.szTip;
        return std::string(tip, strnlen(tip, TipFieldSize));
    }
};

TEST_F(TrayIconTest, LoadsTheRedThenTheGreenLampFromTheProgramsResources) {
    EXPECT_EQ(fake::CallsOf({"LoadIconA"}).at(0), "LoadIconA(module, #100)");
    EXPECT_EQ(fake::CallsOf({"LoadIconA"}).at(1), "LoadIconA(module, #110)");
    EXPECT_EQ(fake::NameOf(IconDown), "icon#100");
    EXPECT_EQ(fake::NameOf(IconUp), "icon#110");
}

TEST_F(TrayIconTest, EveryRequestCarriesTheWholeRecordOfTheFirstForm) {
    SetTip("IP: 10.0.0.1 TimeOut=1000 ms Delay=1000 ms");
    SetTrayState(true);
    SetTrayState(true);
    SetTrayState(false);
    RemoveTrayIcon();

    const auto requests = fake::TrayRequests();
    const DWORD expectedRequests[] = {NIM_ADD,    NIM_MODIFY, NIM_MODIFY,
                                      NIM_MODIFY, NIM_MODIFY, NIM_DELETE};
    const HICON expectedIcons[] = {IconDown, IconDown, IconUp, IconUp, IconDown, IconDown};
    ASSERT_EQ(requests.size(), 6u);
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const NOTIFYICONDATAA& data = requests[i].data;
        SCOPED_TRACE("request " + std::to_string(i));
        EXPECT_EQ(requests[i].message, expectedRequests[i]);
        EXPECT_EQ(data.cbSize, NOTIFYICONDATAA_V1_SIZE);
        EXPECT_EQ(data.hWnd, MainWnd);
        EXPECT_EQ(data.uID, 100u);
        EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
        EXPECT_EQ(data.uCallbackMessage, 2024u);
        EXPECT_EQ(data.hIcon, expectedIcons[i]);
        EXPECT_FALSE(requests[i].usedReleasedIcon);
        EXPECT_STREQ(data.szTip, i == 0 ? "" : "IP: 10.0.0.1 TimeOut=1000 ms Delay=1000 ms");
    }
}

struct TipCase {
    const char* what;
    std::string text;
    std::string shown;
    bool doubleByte = false;
};

void PrintTo(const TipCase& c, std::ostream* os) {
    *os << c.what;
}

class SetTipTest : public TrayIconTest, public ::testing::WithParamInterface<TipCase> {};

TEST_P(SetTipTest, FitsTheFieldAtAWholeCharacter) {
    fake::State().doubleByteCodePage = GetParam().doubleByte;
    SetTip(GetParam().text);
    EXPECT_EQ(LastTip(), GetParam().shown) << GetParam().what;
    EXPECT_EQ(fake::TrayRequests().back().message, static_cast<DWORD>(NIM_MODIFY));
    // Nothing is written past the 64 bytes of the first form's tooltip.
    for (std::size_t i = TipFieldSize; i < sizeof TrayData.szTip; ++i)
        ASSERT_EQ(TrayData.szTip[i], '\0') << GetParam().what << ": byte " << i;
}

const std::string A63(63, 'a');

INSTANTIATE_TEST_SUITE_P(
    Lengths, SetTipTest,
    ::testing::Values(
        TipCase{"empty", "", ""},
        TipCase{"short", "IP: h TimeOut=1 ms Delay=2 ms", "IP: h TimeOut=1 ms Delay=2 ms"},
        TipCase{"63 characters, whole", A63, A63}, TipCase{"64 characters", A63 + "b", A63},
        TipCase{"far too long", std::string(300, 'x'), std::string(63, 'x')},
        TipCase{"double-byte character ending at byte 63", std::string(61, 'a') + "\x81\x40",
                std::string(61, 'a') + "\x81\x40", true},
        TipCase{"double-byte character across the cut",
                std::string(62, 'a') + "\x81\x40"
                                       "z",
                std::string(62, 'a'), true},
        TipCase{"the same bytes in a single-byte code page", std::string(62, 'a') + "\x81\x40",
                std::string(62, 'a') + "\x81", false}));

TEST_F(TrayIconTest, ShorterTipAfterALongerOneShowsOnlyTheShorter) {
    SetTip(A63);
    SetTip("IP: x");
    EXPECT_EQ(fake::ShownTip(), "IP: x");
}

TEST_F(TrayIconTest, RemovalDeletesTheLampThenReleasesBothIconsAndASecondDoesNothing) {
    RemoveTrayIcon();
    RemoveTrayIcon();
    EXPECT_EQ(
        fake::CallsOf({"Shell_NotifyIconA", "DeleteObject"}),
        (Lines{fake::CallsOf({"Shell_NotifyIconA"}).at(0),
               "Shell_NotifyIconA(NIM_DELETE, size=" + std::to_string(NOTIFYICONDATAA_V1_SIZE) +
                   " wnd=window1 id=100 flags=7 msg=2024 icon=icon#100 tip=\"\")",
               "DeleteObject(icon#100)", "DeleteObject(icon#110)"}));
    EXPECT_FALSE(fake::TrayIconShown());
}

TEST_F(TrayIconTest, RequestsAfterRemovalSendNothingAndUseNoReleasedIcon) {
    SetTrayState(true);
    RemoveTrayIcon();
    fake::ClearCalls();
    SetTrayState(true);
    SetTrayState(false);
    SetTip("late");
    EXPECT_EQ(fake::Calls(), Lines{});
    EXPECT_FALSE(fake::TrayIconShown());
}

}  // namespace
