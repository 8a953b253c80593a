#include <gtest/gtest.h>

#include "app/main/editor_context.h"
#include "app/services/app_files.h"
#include "paratools/editor/parameter_editor_state.h"
#include "paratools/editor/tests/editor_fixture.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace editortest {
namespace {

void SelectOnly(GwMultiList* list, int row) {
    list->deselect_all();
    list->select(row);
}

void ChoosePopupItem(const char* item) {
    gwtest::Fire("ParameterEditor/ParaList", "mouse");
    ASSERT_TRUE(gwtest::ChooseMenuItem(std::string("ParaPopup/") + item));
}

TEST_F(EditorTest, UserGroupsLiveInTheMainProfile) {
    OpenEditor(kEditorModeOnline);
    ASSERT_TRUE(gwtest::SelectTreeEntry("ParameterEditor/GroupTree", "Root"));
    gwtest::Fire("ParameterEditor/ParaList", "mouse");
    EXPECT_FALSE(gwtest::IsEnabled("ParaPopup/DeleteFromUserGroup"));
    SelectOnly(List(), RowOf(kGroupedParameter));
    ChoosePopupItem("SetGroup2");
    EXPECT_EQ(ProfileSection("Group2_4000"), "[Group2_4000]\r\n123=123\r\n");

    ChoosePopupItem("ShowGroup2");
    EXPECT_EQ(Numbers(), std::vector<int>{kGroupedParameter});
    EXPECT_EQ(ProfileSection("PCHOOSE_LIST_4000"), "[PCHOOSE_LIST_4000]\r\nType=User\r\nGroupID=2\r\n");
    gwtest::Fire("ParameterEditor/ParaList", "mouse");
    EXPECT_TRUE(gwtest::IsEnabled("ParaPopup/DeleteFromUserGroup"));

    SelectOnly(List(), 0);
    ChoosePopupItem("DeleteFromUserGroup");
    EXPECT_EQ(ProfileSection("Group2_4000"), "[Group2_4000]\r\n123=0\r\n");
    EXPECT_TRUE(Numbers().empty());
}

TEST_F(EditorTest, SearchListIsStoredAndNamed) {
    OpenEditor(kEditorModeOnline);
    ASSERT_TRUE(gwtest::ChooseMenuItem("ParameterEditor/Search"));
    gwtest::Toggle("ParaSearch/IsName");
    gwtest::Replace("ParaSearch/Name", "mod");
    gwtest::Click("ParaSearch/OK");
    EXPECT_EQ(ProfileSection("PCHOOSE_LIST_4000"),
              "[PCHOOSE_LIST_4000]\r\nType=SearchMask\r\n100=100\r\n101=101\r\n151=151\r\n");
    EXPECT_EQ(gwtest::Text("ParameterEditor/ParaGroup"), "Suchmaske");
}

TEST_F(EditorTest, StoredListIsRestoredUnlessItsGroupIsGone) {
    GwProfile* profile = MainProfile();
    profile->select_section("PCHOOSE_LIST_4000", true);
    profile->clear_section();
    profile->write("Type", "Menu");
    profile->write("KeyPadGroup", "1");
    profile->write("ActID", "1");
    OpenEditor(kEditorModeOnline);
    EXPECT_EQ(Numbers(), (std::vector<int>{101, 102, 103}));
    const int groupCount = GetParameterEditor()->GroupCount;
    gwtest::SetDefaultBoxAnswer(GwRESULT_NO, "question");
    gwtest::Close(editor_);

    profile->select_section("PCHOOSE_LIST_4000", true);
    profile->clear_section();
    profile->write("Type", "Menu");
    profile->write("KeyPadGroup", "1");
    profile->write_int("ActID", groupCount);
    OpenEditor(kEditorModeOnline);
    EXPECT_EQ(GetParameterEditor()->GroupIndex, 0);
    EXPECT_EQ(GetParameterEditor()->KeypadGroup, 0);
    EXPECT_EQ(RowOf(kSignedParameter), -1);
}

TEST_F(EditorTest, ColumnWidthsAreWrittenOnCloseAndOnlyPositiveOnesApplied) {
    GwProfile* profile = MainProfile();
    profile->select_section("PCHOOSE_ColumnSizes", true);
    profile->write("0", "-5");
    profile->write("1", "0");
    profile->write("3", "177");
    OpenEditor(kEditorModeOnline);
    EXPECT_EQ(List()->column_width(0), 40);
    EXPECT_EQ(List()->column_width(1), 60);
    EXPECT_EQ(List()->column_width(3), 177);
    List()->set_column_width(4, 111);
    ASSERT_TRUE(gwtest::Close(editor_));
    EXPECT_EQ(ProfileSection("PCHOOSE_ColumnSizes"),
              "[PCHOOSE_ColumnSizes]\r\n0=40\r\n1=60\r\n3=177\r\n2=30\r\n4=111\r\n5=50\r\n6=20\r\n");
}

}  // namespace
}  // namespace editortest
