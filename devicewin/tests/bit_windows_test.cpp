// Bit windows of the shipped definitions: which opens for which type, how
// the opening names and heads it, its failures, and taking a bit over.
#include <gtest/gtest.h>

#include <string>

#include "app/services/window_handler.h"
#include "devicewin/bit_windows.h"
#include "devicewin/device_window_callbacks.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

constexpr int kField = kWordField;  // element 3 = 0x0005
constexpr int kDouble = 421;        // "DWRD" USIGN32

class BitWindowTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        PutWordField(table, {0, 0, 0, 5});
        table.PutFullRange(kDouble, "DWRD", "USIGN32", 0);
        return table;
    }
    // A device window with a caller button, on a fresh online context.
    GwCore* Caller() { return OpenCase(true, "button Caller { }", "Caller"); }
    TestContext* Context() { return contexts_.back().get(); }
    // Listed windows of that name.
    int Listed(const std::string& name) {
        int count = 0;
        WindowHandler& windows = TheWindowHandler();
        for (GwCore* w = windows.First(); w != nullptr; w = windows.Next()) count += w->name() == name ? 1 : 0;
        return count;
    }
};

TEST_F(BitWindowTest, TheTypeChoosesTheWindow) {
    struct Case {
        int parameter;
        const char* edit;  // empty: none opens
        const char* state;
        int bits;
    };
    const Case cases[] = {
        {kRadio, "5_BitEdit_Byte", "5_BitState_Byte", 8},
        {kBits, "5_BitEdit_Word", "5_BitState_Word", 16},
        {kDouble, "5_BitEdit_DWord", "5_BitState_DWord", 32},
        {kSpeed, "", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parameter);
        GwCore* caller = Caller();
        const int listed = TheWindowHandler().Count();
        OpenBitEditWindow(caller, Context(), c.parameter, 0);
        OpenBitStateWindow(caller, Context(), c.parameter, 0);
        EXPECT_TRUE(NewBoxes().empty());
        if (c.bits == 0) {
            EXPECT_EQ(TheWindowHandler().Count(), listed);
            continue;
        }
        for (const char* name : {c.edit, c.state}) {
            GwCore* window = TheWindowHandler().FindByName(name);
            ASSERT_NE(window, nullptr) << name;
            EXPECT_EQ(window->user_data().pointer(), static_cast<void*>(Context()));
            EXPECT_TRUE(window->is_shown());
            EXPECT_EQ(window->modality(), 1);
            EXPECT_EQ(window->close_mode(), 2);
            EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(window));
            GwCore* bits = window->first_control()->child(1);
            EXPECT_EQ(bits->name(), "_PN_" + std::to_string(c.parameter));
            EXPECT_EQ(bits->child_count(), c.bits);
            const std::string last = std::to_string(c.bits - 1);
            EXPECT_EQ(bits->child(last)->text(),
                      std::to_string(c.parameter) + "-" + Drive().Table().Find(c.parameter)->name + "[0] Bit " + last);
        }
    }
}

TEST_F(BitWindowTest, AnElementNamesHeadsAndTitlesTheWindow) {
    GwCore* caller = Caller();
    OpenBitEditWindow(caller, Context(), kField, 3);
    GwCore* window = TheWindowHandler().FindByName("5_BitEdit_Word");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->title(), "Field of words");
    EXPECT_EQ(window->child("ParaIntro")->text(), "420[3]-FLD  ") << "the name as the base gives it";
    GwCore* bits = window->first_control()->child(1);
    EXPECT_EQ(bits->name(), "_PN_420[3]");
    EXPECT_EQ(bits->child("0")->text(), "420-FLD[3] Bit 0");
    EXPECT_EQ(bits->child("15")->text(), "420-FLD[3] Bit 15");
    EXPECT_TRUE(dynamic_cast<GwToggle*>(bits->child("0"))->is_checked()) << "element 3 shown";
    EXPECT_TRUE(dynamic_cast<GwToggle*>(bits->child("2"))->is_checked());
    EXPECT_FALSE(dynamic_cast<GwToggle*>(bits->child("1"))->is_checked());
}

TEST_F(BitWindowTest, OpeningAgainLeavesOneListedWindow) {
    GwCore* caller = Caller();
    OpenBitEditWindow(caller, Context(), kBits, 0);
    GwRef<> first(TheWindowHandler().FindByName("5_BitEdit_Word"));
    ASSERT_NE(first.get(), nullptr);
    const int listed = TheWindowHandler().Count();
    for (int i = 0; i < 60; ++i) OpenBitEditWindow(caller, Context(), kBits, 0);
    EXPECT_EQ(first.get(), nullptr) << "the first window was closed";
    EXPECT_EQ(TheWindowHandler().Count(), listed);
    EXPECT_EQ(Listed("5_BitEdit_Word"), 1);
}

TEST_F(BitWindowTest, ABrokenDefinitionIsReportedAndNothingOpens) {
    EXPECT_TRUE(
        GwRcMgr::use_text("dialogframe 5_BitEdit_Word { container Area { label X { }\n"
                          " container Bits { toggle 0 { } } } }\n",
                          "broken.cgw"));
    GwCore* caller = Caller();
    const int listed = TheWindowHandler().Count();
    OpenBitEditWindow(caller, Context(), kBits, 0);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[0].text, "Error in construction of bit state window 5_BitEdit_Word");
    EXPECT_EQ(TheWindowHandler().Count(), listed);
    for (GwCore* child : window_->children()) EXPECT_NE(child->name(), "5_BitEdit_Word") << "destroyed";
}

TEST_F(BitWindowTest, AMissingDefinitionIsReported) {
    // Only the test's own definitions from here on.
    GwRcMgr::reset();
    GwRcMgr::use_func_desc(DeviceWindowCallbacks());
    GwCore* caller = Caller();
    OpenBitEditWindow(caller, Context(), kBits, 0);
    // Without the box definitions the error shows in the toolkit's own box.
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text, "Unable to open window 5_BitEdit_Word");
    EXPECT_EQ(TheWindowHandler().FindByName("5_BitEdit_Word"), nullptr);
}

TEST_F(BitWindowTest, ATakenOverBitChangesOnlyThatBit) {
    GwCore* caller = Caller();
    OpenBitEditWindow(caller, Context(), kBits, 0);
    GwCore* window = TheWindowHandler().FindByName("5_BitEdit_Word");
    ASSERT_NE(window, nullptr);
    GwCore* bit2 = window->child("2");
    EXPECT_FALSE(dynamic_cast<GwToggle*>(bit2)->is_checked());
    ASSERT_TRUE(gwtest::Toggle(bit2));
    Drive().ClearCapture();
    ASSERT_TRUE(gwtest::Click(window->child("BT_TakeIt")));
    EXPECT_EQ(Drive().Table().Find(kBits)->value, 0x8006u) << ::testing::PrintToString(Heard());
}

TEST_F(BitWindowTest, AnotherBitWindowReplacesTheCallersWindow) {
    GwCore* caller = Caller();
    GwRef<> own(window_);
    EXPECT_EQ(CB_CallOtherBitEditWindow(caller, nullptr, GwUD("420")), 1);
    EXPECT_NE(own.get(), nullptr);
    EXPECT_EQ(TheWindowHandler().FindByName("5_BitEdit_Word"), nullptr);

    EXPECT_EQ(CB_CallOtherBitEditWindow(caller, nullptr, GwUD("420 3")), 0);
    EXPECT_EQ(own.get(), nullptr) << "the caller's window is destroyed";
    GwCore* opened = TheWindowHandler().FindByName("5_BitEdit_Word");
    ASSERT_NE(opened, nullptr);
    EXPECT_NE(opened->child("_PN_420[3]"), nullptr);
    EXPECT_TRUE(opened->is_shown());
}

}  // namespace
}  // namespace devicewintest
