#include <gtest/gtest.h>

#include "app/main/editor_context.h"
#include "paratools/editor/parameter_editor_state.h"
#include "paratools/editor/tests/editor_fixture.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace editortest {
namespace {

class ListTimerTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        OpenEditor(kEditorModeOnline);
        ASSERT_TRUE(gwtest::SelectTreeEntry("ParameterEditor/GroupTree", "Root"));
        ClearCaptures();
    }
};

TEST_F(ListTimerTest, ReadsOneVisibleRowPerTickAtTheBusRate) {
    EXPECT_EQ(List()->timer_interval(), 500u);
    List()->set_first_visible(RowOf(kByteParameter));
    List()->set_visible_count(2);
    NextListRow = static_cast<uint16_t>(RowOf(kByteParameter));
    drives_.at(maintest::kAddress)->Table().Find(kByteParameter)->value = 77;
    gwtest::Advance(499);
    EXPECT_TRUE(Requests().empty());
    gwtest::Advance(1);
    EXPECT_EQ(Requests().size(), 1u);
    EXPECT_EQ(List()->timer_interval(), 400u);
    EXPECT_EQ(List()->cell(RowOf(kByteParameter), 4), "77");
    gwtest::Advance(400);
    EXPECT_EQ(Requests().size(), 2u);
    // Past the visible rows the index starts over and the tick reads nothing.
    gwtest::Advance(400);
    EXPECT_EQ(Requests().size(), 2u);
    EXPECT_EQ(NextListRow, RowOf(kByteParameter));
    EXPECT_EQ(Requests(), (std::vector<std::string>{"R20100", "R20101"}));
}

TEST_F(ListTimerTest, ExpandedArrayIsReadAsOneRunOfVisibleElements) {
    ASSERT_TRUE(gwtest::Toggle("ParameterEditor/MN_ExpandFields"));
    const int first = RowOf(kArrayParameter, 2);
    List()->set_first_visible(first);
    List()->set_visible_count(4);
    NextListRow = static_cast<uint16_t>(first);
    drives_.at(maintest::kAddress)->Table().Find(kArrayParameter)->elements[4] = 444;
    ClearCaptures();
    gwtest::Advance(500);
    EXPECT_EQ(Requests().size(), 1u);
    EXPECT_EQ(NextListRow, first + 4);
    EXPECT_EQ(List()->cell(RowOf(kArrayParameter, 4), 4), "444");
    // Parameter 103 from element 2, four elements.
    EXPECT_EQ(Requests(), std::vector<std::string>{"R701030000204"});
}

}  // namespace
}  // namespace editortest
