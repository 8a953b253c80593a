// The oscilloscope window's times: the interval and recording time shown
// rounded, which of them is fixed, and what a typed time writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system/sound.h"
#include "scope/window/scope_window.h"
#include "scope/window/tests/scope_window_fixture.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace scopewintest {
namespace {

using Strings = std::vector<std::string>;

bool Contains(const Strings& texts, const std::string& text) {
    for (const std::string& t : texts)
        if (t == text) return true;
    return false;
}

class ScopeTimesTest : public ScopeWindowTest {
protected:
    // Types into a field and confirms it as the user does with Return.
    static void Enter(GwCore* field, const std::string& text) {
        ASSERT_TRUE(gwtest::Replace(field, text));
        gwtest::Fire(field, "confirm");
    }
};

TEST_F(ScopeTimesTest, TimesAreShownRoundedWithoutTrailingZeros) {
    // 1200 bytes of two 16-bit channels are 300 rows of 2 * 0.0001 s.
    ASSERT_NE(OpenScope(), nullptr);
    EXPECT_EQ(Child("FlashTmVal")->text(), "0.06");
    EXPECT_EQ(Child("TmBaseVal")->text(), "0.2");
    // Three active channels: 200 rows.
    OnDrive(24).value = 0x20;
    EXPECT_EQ(CB_Scope_UpdateTime(window_, nullptr, GwUD()), 1);
    EXPECT_EQ(Child("FlashTmVal")->text(), "0.04");
}

TEST_F(ScopeTimesTest, AnEmptyIntervalBeepsAndWritesNothing) {
    ASSERT_NE(OpenScope(), nullptr);
    ASSERT_TRUE(gwtest::Click(Child("TmBaseFix")));
    ClearCaptures();
    Enter(Child("TmBaseVal"), "");
    EXPECT_EQ(platform::RecordedSounds(), (std::vector<platform::SoundRequest>{{"", 400, 300}}));
    EXPECT_EQ(Writes(), Strings{});
}

TEST_F(ScopeTimesTest, ATypedRecordingTimeIsRoundedToFiveDigitsBeforeItIsSet) {
    ASSERT_NE(OpenScope(), nullptr);
    ASSERT_TRUE(IsChecked(Child("FlashTmFix")));
    // 0.07499999 s over 300 rows would be an interval just below 2.5 base
    // times (divider 1); rounded to 0.075 s it is 2.5, which rounds up to 3
    // base times (divider 2).
    ClearCaptures();
    Enter(Child("FlashTmVal"), "0.07499999");
    EXPECT_TRUE(Contains(Writes(), "W 20060=2")) << ::testing::PrintToString(Writes());
    EXPECT_EQ(OnDrive(60).value, 2u);
    EXPECT_EQ(Child("TmBaseVal")->text(), "0.3");
}

TEST_F(ScopeTimesTest, ATypedIntervalIsSetAndShownAgain) {
    ASSERT_NE(OpenScope(), nullptr);
    ASSERT_TRUE(gwtest::Click(Child("TmBaseFix")));
    ClearCaptures();
    Enter(Child("TmBaseVal"), "0.5");
    EXPECT_TRUE(Contains(Writes(), "W 20060=4")) << ::testing::PrintToString(Writes());
    EXPECT_EQ(Child("TmBaseVal")->text(), "0.5");
}

TEST_F(ScopeTimesTest, TheFixedTimeTogglesSwapWhichFieldIsEditable) {
    ASSERT_NE(OpenScope(), nullptr);
    EXPECT_EQ(CB_SetFlashTmEditable(nullptr, nullptr, GwUD(1)), 1);
    EXPECT_FALSE(IsReadOnly(Child("TmBaseVal")));
    EXPECT_TRUE(IsReadOnly(Child("FlashTmVal")));
    EXPECT_TRUE(IsChecked(Child("TmBaseFix")));
    EXPECT_FALSE(IsChecked(Child("FlashTmFix")));

    // Any other value does the reverse and shows the recording time again.
    OnDrive(62).value = 2400;
    EXPECT_EQ(CB_SetFlashTmEditable(nullptr, nullptr, GwUD(7)), 1);
    EXPECT_TRUE(IsReadOnly(Child("TmBaseVal")));
    EXPECT_FALSE(IsReadOnly(Child("FlashTmVal")));
    EXPECT_TRUE(IsChecked(Child("FlashTmFix")));
    EXPECT_FALSE(IsChecked(Child("TmBaseFix")));
    EXPECT_EQ(Child("FlashTmVal")->text(), "0.12");

    // The radios do the same for the user.
    ASSERT_TRUE(gwtest::Click(Child("TmBaseFix")));
    EXPECT_FALSE(IsReadOnly(Child("TmBaseVal")));
    EXPECT_TRUE(IsReadOnly(Child("FlashTmVal")));
    ASSERT_TRUE(gwtest::Click(Child("FlashTmFix")));
    EXPECT_TRUE(IsReadOnly(Child("TmBaseVal")));
    EXPECT_FALSE(IsReadOnly(Child("FlashTmVal")));
}

TEST_F(ScopeTimesTest, SwitchingAChannelOnAppliesTheFixedTime) {
    ASSERT_NE(OpenScope(), nullptr);
    ClearCaptures();
    // A third channel at a fixed recording time of 0.06 s: 1200 bytes of 6
    // are 200 rows, so the interval grows to 3 base times.
    ASSERT_TRUE(gwtest::Click(Child("ChActiv2")));
    EXPECT_TRUE(Contains(Writes(), "W 20024=20")) << ::testing::PrintToString(Writes());
    EXPECT_TRUE(Contains(Writes(), "W 20060=2")) << ::testing::PrintToString(Writes());
    EXPECT_EQ(Child("TmBaseVal")->text(), "0.3");
}

}  // namespace
}  // namespace scopewintest
