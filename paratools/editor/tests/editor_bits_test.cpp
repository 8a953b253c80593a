// The single dialog's bit buttons: the selected parameter's bit windows.
#include <gtest/gtest.h>

#include "app/main/editor_context.h"
#include "app/services/window_handler.h"
#include "paratools/editor/para_dialogs.h"
#include "paratools/editor/parameter_editor_state.h"
#include "paratools/editor/tests/editor_fixture.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace editortest {
namespace {

class EditorBitsTest : public EditorTest {
protected:
    // The editor on a copy of the device's base, whose family context the
    // editor makes, with the dialog of the hexadecimal word open.
    void OpenHexWord() {
        OpenEditor(kEditorModeOffline);
        ASSERT_TRUE(gwtest::SelectTreeEntry("ParameterEditor/GroupTree", "Root"));
        const int row = RowOf(kHexParameter);
        ASSERT_GE(row, 0);
        List()->deselect_all();
        List()->select(row);
        ASSERT_TRUE(gwtest::PressKey("ParameterEditor/ParaList", GwKEY_RETURN));
        ASSERT_TRUE(gwtest::IsVisible("ParaEdit/BitView"));
        ASSERT_TRUE(gwtest::IsVisible("ParaEdit/BitEdit"));
        ASSERT_NE(GetParameterEditor()->Context, nullptr);
    }
};

TEST_F(EditorBitsTest, BitViewOpensTheStateWindowWithTheEditorsContext) {
    OpenHexWord();
    GwCore* dialog = gwtest::Get("ParaEdit");
    ASSERT_TRUE(gwtest::Click("ParaEdit/BitView"));
    GwCore* window = TheWindowHandler().FindByName("5_BitState_Word");
    ASSERT_NE(window, nullptr);
    void* context = GetParameterEditor()->Context;
    EXPECT_EQ(window->user_data().pointer(), context);
    EXPECT_EQ(dialog->user_data().pointer(), context);
    EXPECT_EQ(window->owner(), dialog);
    EXPECT_EQ(window->first_control()->child(1)->name(), "_PN_105");
    EXPECT_TRUE(gwtest::IsVisible("ParaEdit")) << "the dialog stays";
}

TEST_F(EditorBitsTest, BitEditOpensOnTheListedEditorAndHidesTheDialog) {
    OpenHexWord();
    ASSERT_TRUE(gwtest::Click("ParaEdit/BitEdit"));
    EXPECT_EQ(TheWindowHandler().FindByName("5_BitEdit_Word"), nullptr) << "neither window listed";

    ASSERT_EQ(TheWindowHandler().Add(editor_, 0), 1);
    ASSERT_TRUE(gwtest::Click("ParaEdit/BitEdit"));
    GwCore* window = TheWindowHandler().FindByName("5_BitEdit_Word");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->owner(), editor_);
    EXPECT_EQ(window->user_data().pointer(), static_cast<void*>(GetParameterEditor()->Context));
    EXPECT_EQ(gwtest::Find("ParaEdit"), nullptr) << "hidden, and so closed";
}

TEST_F(EditorBitsTest, BitEditPrefersTheListedFieldWindow) {
    OpenEditor(kEditorModeOffline);
    ASSERT_TRUE(gwtest::SelectTreeEntry("ParameterEditor/GroupTree", "Root"));
    ASSERT_EQ(TheWindowHandler().Add(editor_, 0), 1);
    List()->deselect_all();
    ASSERT_TRUE(gwtest::DoubleClick("ParameterEditor/ParaList", RowOf(kArrayParameter)));
    auto* data = dynamic_cast<GwMultiList*>(gwtest::Get("ParaField/FieldData"));
    data->deselect_all();
    data->select(3);
    ASSERT_TRUE(gwtest::Click("ParaField/Edit"));
    ASSERT_NE(gwtest::Find("ParaEdit"), nullptr);
    EXPECT_EQ(CB_CallBitEdit(gwtest::Get("ParaEdit/BitEdit"), nullptr, GwUD()), 1);
    GwCore* window = TheWindowHandler().FindByName("5_BitEdit_Word");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->owner(), gwtest::Get("ParaField"));
    EXPECT_EQ(window->first_control()->child(1)->name(), "_PN_103[3]");
}

}  // namespace
}  // namespace editortest
