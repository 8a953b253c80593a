// The Marlo control windows chosen by the control type (parameter 300) and
// the leveling page of the firmware-200 tab book, on a virtual drive.
#include "families/marlo_control_windows.h"

#include <gtest/gtest.h>

#include <string>

#include "app/services/window_handler.h"
#include "devicewin/change_callbacks.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/docking/gw_tab_book.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

constexpr char kControlWindows[] =
    "dialogframe 3_Ctrl_VFC { label Info { } }\n"
    "dialogframe 3_Ctrl_FOR { label Info { } }\n"
    "dialogframe 3_Ctrl_SFC { label Info { } }\n";

constexpr char kPage[] =
    "button Ctrl { user_data = \"3_Ctrl_\" }\n button Bare { }\n combo _PN_300 { }\n"
    " tabbook Book {\n tabpage TAB_General { }\n tabpage TAB_Leveling { }\n tabpage TAB_Other { }\n }";

class MarloControlTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        // A firmware of its own, so that no other test's cached descriptions
        // of the type stand in for this drive's.
        table.version = 2223;
        table.type_number = 3012;
        table.Find(91)->value = 3012;
        sim::DriveParameter* control = table.PutFullRange(kControlTypeParameter, "CTRL", "USIGN8", 0);
        control->maximum = 2;
        control->flags |= sim::kFlagValueTexts;
        control->value_texts = {{0, "VFC"}, {1, "FOR"}, {2, "SFC"}};
        return table;
    }
    void SetUp() override {
        DeviceWindowTest::SetUp();
        ASSERT_TRUE(GwRcMgr::use_text(kControlWindows, "controls.cgw"));
    }
    void SetControl(uint32_t type) { Drive().Table().Find(kControlTypeParameter)->value = type; }
    GwTabBook* Book() { return dynamic_cast<GwTabBook*>(W("Book")); }
};

TEST_F(MarloControlTest, OpensTheWindowOfThePresentControlType) {
    OpenWindow(kPage, MakeContext(true));
    SetControl(1);
    ClearCaptures();
    EXPECT_EQ(CB_CallCtrlWindow(W("Ctrl"), nullptr, GwUD()), 1);
    EXPECT_EQ(Heard().front(), "R 20300");
    GwCore* control = TheWindowHandler().FindByName("3_Ctrl_FOR");
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->is_visible());
    EXPECT_EQ(control->modality(), 1);
    EXPECT_EQ(control->close_mode(), 2);
    EXPECT_EQ(control->user_data().pointer_as<DeviceSetupContext>(), contexts_.back().get());
    EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(control));

    // Opened again while it shows, the same window stays.
    CB_CallCtrlWindow(W("Ctrl"), nullptr, GwUD());
    EXPECT_EQ(TheWindowHandler().FindByName("3_Ctrl_FOR"), control);
    EXPECT_TRUE(control->is_visible());
    // Listed but hidden, it is closed once the new one is loaded, and the
    // new one is listed.
    control->hide();
    GwRef<> first(control);
    CB_CallCtrlWindow(W("Ctrl"), nullptr, GwUD());
    EXPECT_TRUE(first.get() == nullptr || !first->is_visible());
    EXPECT_EQ(TheWindowHandler().IndexOf(control), -1);
    GwCore* second = TheWindowHandler().FindByName("3_Ctrl_FOR");
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, control);
    EXPECT_TRUE(second->is_visible());
}

TEST_F(MarloControlTest, OfflineTheTablesControlTypeNamesTheWindowAndNothingIsRead) {
    OpenWindow(kPage, MakeContext(false));
    contexts_.back()->Base->SetValueDouble(kControlTypeParameter, 2);
    SetControl(1);
    ClearCaptures();
    CB_CallCtrlWindow(W("Ctrl"), nullptr, GwUD());
    EXPECT_TRUE(Heard().empty());
    GwCore* control = TheWindowHandler().FindByName("3_Ctrl_SFC");
    ASSERT_NE(control, nullptr);
    EXPECT_FALSE(TheWindowHandler().IsOnlineWindow(control));
    // Without a prefix nothing opens.
    CB_CallCtrlWindow(W("Bare"), nullptr, GwUD());
    EXPECT_EQ(TheWindowHandler().FindByName("3_Ctrl_VFC"), nullptr);
}

TEST_F(MarloControlTest, ChangingTheControlTypeClosesTheControlWindows) {
    OpenWindow(kPage, MakeContext(true));
    for (uint32_t type : {0u, 1u, 2u}) {
        SetControl(type);
        CB_CallCtrlWindow(W("Ctrl"), nullptr, GwUD());
    }
    for (const char* name : kControlWindowNames) ASSERT_NE(TheWindowHandler().FindByName(name), nullptr) << name;
    const int expected = CB_DvFctParaChange(W("_PN_300"), nullptr, GwUD());
    EXPECT_EQ(CB_ChangeCtrl(W("_PN_300"), nullptr, GwUD()), expected);
    for (const char* name : kControlWindowNames) EXPECT_EQ(TheWindowHandler().FindByName(name), nullptr) << name;
}

TEST_F(MarloControlTest, LevelingPageFollowsTheControlType) {
    OpenWindow(kPage, MakeContext(true));
    GwCore* leveling = W("TAB_Leveling");
    GwCore* other = W("TAB_Other");
    ASSERT_TRUE(Book()->is_page_included(leveling));
    // Already as it should be: the page the user chose stays active.
    SetControl(0);
    ASSERT_TRUE(Book()->user_select_page(other));
    EXPECT_EQ(CB3_200_ShowLeveling(Book(), nullptr, GwUD()), 1);
    EXPECT_EQ(Book()->active_page(), other);
    // "FOR" has no leveling.
    SetControl(1);
    CB3_200_ShowLeveling(Book(), nullptr, GwUD());
    EXPECT_FALSE(Book()->is_page_included(leveling));
    EXPECT_EQ(Book()->active_page(), W("TAB_General"));
    ASSERT_TRUE(Book()->user_select_page(other));
    CB3_200_ShowLeveling(Book(), nullptr, GwUD());
    EXPECT_EQ(Book()->active_page(), other);
    // Back to "VFC": the page returns and the first page shows.
    SetControl(0);
    CB3_200_ShowLeveling(Book(), nullptr, GwUD());
    EXPECT_TRUE(Book()->is_page_included(leveling));
    EXPECT_EQ(Book()->active_page(), W("TAB_General"));
}

TEST_F(MarloControlTest, AFailedControlTypeReadShowsError5AndLeavesTheBook) {
    OpenWindow(kPage, MakeContext(true));
    SetControl(1);
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20300").Times(sim::kForever));
    MarkBoxes();
    CB3_200_ShowLeveling(Book(), nullptr, GwUD());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_TRUE(Book()->is_page_included(W("TAB_Leveling")));
}

}  // namespace
}  // namespace devicewintest
