// Creating and showing the oscilloscope window: its widgets, the engine on a
// copy of the active base, the trigger display and the plot-tool page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/plot_tool_setting.h"
#include "parameters/parabase/para_base.h"
#include "scope/window/scope_window.h"
#include "scope/window/tests/scope_window_fixture.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace scopewintest {
namespace {

using Strings = std::vector<std::string>;

bool Checked(GwCore* widget) {
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    return toggle != nullptr && toggle->is_checked();
}

bool ReadOnly(GwCore* widget) {
    auto* edit = dynamic_cast<GwEdit*>(widget);
    return edit != nullptr && edit->is_read_only();
}

TEST_F(ScopeWindowTest, ShowSetsUpTheWindowAtRest) {
    GwCore* window = OpenScope();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(gwtest::Boxes().empty()) << gwtest::Boxes().front().text;
    EXPECT_EQ(Child("State")->text(), "");
    EXPECT_FALSE(Child("Slider")->is_visible());
    EXPECT_FALSE(Child("BT_UserTrigger")->is_enabled());
    EXPECT_FALSE(Child("BT_AutoScopeStop")->is_enabled());
    EXPECT_TRUE(Child("BT_AutoScope")->is_enabled());
    EXPECT_TRUE(ReadOnly(Child("TmBaseVal")));
    EXPECT_FALSE(ReadOnly(Child("FlashTmVal")));
    EXPECT_TRUE(Checked(Child("FlashTmFix")));
    EXPECT_TRUE(window->is_timer_running());
    EXPECT_EQ(window->timer_interval(), 500u);
    EXPECT_TRUE(Checked(Child("TrigCh0")));
    EXPECT_EQ(Child("PreTrigVal")->text(), "0.00");
    EXPECT_EQ(Child("FlashTmVal")->text(), "0.06");
    EXPECT_EQ(Child("TmBaseVal")->text(), "0.2");
    for (const std::string& w : Heard()) std::printf("%s\n", w.c_str());
}

}  // namespace
}  // namespace scopewintest
