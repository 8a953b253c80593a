// The variable chooser of a channel: its rows at the user level, the focused
// and first visible rows, and what a choice writes and shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/services/user_level.h"
#include "platform/base/format.h"
#include "scope/window/scope_window.h"
#include "scope/window/tests/scope_window_fixture.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace scopewintest {
namespace {

using Strings = std::vector<std::string>;

// What the chooser showed when it ran.
struct Seen {
    Strings rows;
    int focused = -1;
    int firstVisible = -1;
    GwCore* chooser = nullptr;
};

class ScopeChooserTest : public ScopeWindowTest {
protected:
    // Clicks the variable button of the channel; in the chooser the user
    // selects `row` (none: keeps the focus) and presses OK, or cancels.
    Seen Choose(int channel, int row = -1, bool ok = true) {
        Seen seen;
        gwtest::ScriptModal(kScopeChooserWindowName, [&seen, row, ok](GwCore* chooser) {
            seen.chooser = chooser;
            auto* list = chooser->child<GwMultiList>(kScopeVariableListName);
            if (list == nullptr) return;
            for (int i = 0; i < list->row_count(); ++i) seen.rows.push_back(list->row_text(i));
            seen.focused = list->focused_row();
            seen.firstVisible = list->first_visible();
            if (row >= 0) gwtest::Select(list, row);
            gwtest::Click(chooser->child(ok ? "OK" : "Cancel"));
        });
        EXPECT_TRUE(gwtest::Click(Child("ChVal" + std::to_string(channel))));
        return seen;
    }
};

TEST_F(ScopeChooserTest, TheListHoldsTheVariablesAtOrBelowTheUserLevel) {
    ASSERT_NE(OpenScope(), nullptr);
    ASSERT_EQ(GetUserLevel(), 4);
    const Seen seen = Choose(1, -1, false);
    EXPECT_EQ(seen.rows,
              (Strings{"Actual speed|1/min|Speed|1", "Motor current|variable|Current|1", "Position|Incr|Position|1"}));
    // Channel 1 records "Current".
    EXPECT_EQ(seen.focused, 1);
    EXPECT_EQ(seen.firstVisible, 0);
}

TEST_F(ScopeChooserTest, TheCurrentVariableIsFocusedAndScrolledToTheMiddle) {
    // Twenty variables of 16 bits; twelve rows are visible.
    std::string list;
    for (int i = 0; i < 20; ++i) list += platform::Format("V%02d, V, 0, 1.0, 1, 1\n", i);
    WriteTreeFile(kListFile, list);
    struct Case {
        uint32_t variable;
        int focused, firstVisible;
    };
    // Six rows above the focused one, or half its index near the top.
    const Case cases[] = {{15, 15, 9}, {6, 6, 0}, {5, 5, 2}, {3, 3, 1}, {0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.variable);
        OnDrive(21).value = c.variable;
        ASSERT_NE(OpenScope(), nullptr);
        const Seen seen = Choose(0, -1, false);
        ASSERT_EQ(seen.rows.size(), 20u);
        EXPECT_EQ(seen.focused, c.focused);
        EXPECT_EQ(seen.firstVisible, c.firstVisible);
        window_->destroy();
    }
}

TEST_F(ScopeChooserTest, ChoosingTheCurrentVariableWritesNothing) {
    ASSERT_NE(OpenScope(), nullptr);
    ClearCaptures();
    Choose(1);
    for (const std::string& text : Heard()) EXPECT_EQ(text.rfind("W ", 0), std::string::npos) << text;
    EXPECT_EQ(Child("ChVal1")->text(), "Motor current");
}

TEST_F(ScopeChooserTest, AnotherVariableIsAssignedAndShown) {
    ASSERT_NE(OpenScope(), nullptr);
    ClearCaptures();
    // "Position" (32 bits, index 0) on channel 1.
    Choose(1, 2);
    const Strings writes = Writes();
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[0], "W 20022=60");
    EXPECT_EQ(writes[1], "W 20023=0");
    EXPECT_EQ(Child("ChVal1")->text(), "Position");
    EXPECT_EQ(Child("ChAct1")->text(), "Incr");
    // Channel 1 is not the trigger channel: the level keeps its unit.
    EXPECT_EQ(dynamic_cast<GwEdit*>(Child("TrigLevel"))->suffix(), "1/min");

    // On the trigger channel the level is shown again in the new unit.
    Choose(0, 1);
    EXPECT_EQ(Child("ChVal0")->text(), "Motor current");
    EXPECT_EQ(Child("ChAct0")->text(), "Nm");
    EXPECT_EQ(dynamic_cast<GwEdit*>(Child("TrigLevel"))->suffix(), "Nm");
}

TEST_F(ScopeChooserTest, AChangeOfUserLevelMakesTheChooserAnew) {
    ASSERT_NE(OpenScope(), nullptr);
    const Seen first = Choose(1, -1, false);
    const Seen again = Choose(1, -1, false);
    EXPECT_EQ(again.chooser, first.chooser);
    SetUserLevel(5);
    const Seen after = Choose(1, -1, false);
    EXPECT_NE(after.chooser, first.chooser);
    ASSERT_EQ(after.rows.size(), 4u);
    EXPECT_EQ(after.rows[3], "Torque||Torque|5");
    SetUserLevel(4);
}

}  // namespace
}  // namespace scopewintest
