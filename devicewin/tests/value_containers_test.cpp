// Containers and pictures that follow a parameter's value.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/value_containers.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

constexpr int kOperatingMode = 60;  // "OPMOD" USIGN8 0..3, value 2, texts OFF ON AUTO TEST

constexpr char kModeContainers[] =
    "combo Mode_PN_60 { }\npicture Pic { visible = no }\n"
    "container OPMOD_OFF { }\ncontainer OPMOD_ON { }\ncontainer OPMOD_AUTO { visible = no }\ncontainer OPMOD_TEST { "
    "}\n";

class ValueContainerTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        sim::DriveParameter* mode = table.PutFullRange(kOperatingMode, "OPMOD", "USIGN8", 2);
        mode->minimum = 0;
        mode->maximum = 3;
        mode->flags |= sim::kFlagValueTexts;
        mode->value_texts = {{0, "OFF"}, {1, "ON"}, {2, "AUTO"}, {3, "TEST"}};
        return table;
    }
    // Which of the four mode containers are shown, in value order.
    std::vector<bool> ModesShown() {
        std::vector<bool> shown;
        for (const char* name : {"OPMOD_OFF", "OPMOD_ON", "OPMOD_AUTO", "OPMOD_TEST"})
            shown.push_back(W(name)->is_shown());
        return shown;
    }
};

TEST_F(ValueContainerTest, TheSetRadioButtonShowsItsContainerWithItsBoundChildren) {
    OpenWindow(
        "radiogroup Ident_PN_153 { radio 0 { }\n radio 1 { }\n radio 2 { } }\n"
        "container A { formatedit InA_PN_12 { } }\n"
        "container B { visible = no\n formatedit InB_PN_14 { enabled = no }\n formatedit Gone_PN_77 { enabled = no } "
        "}\n"
        "container C { }\n",
        MakeContext(false));
    // MIDNT holds 0: the group shows button 0 set.
    GwCore* group = W("Ident_PN_153");
    ASSERT_EQ(CB_DvFctShowToggleContainer(group, nullptr, GwUD("A B")), 1);
    EXPECT_TRUE(dynamic_cast<GwToggle*>(group->child("0"))->is_checked());
    EXPECT_TRUE(W("A")->is_shown());
    EXPECT_TRUE(W("InA_PN_12")->is_enabled());
    EXPECT_FALSE(W("B")->is_shown());
    EXPECT_FALSE(W("InB_PN_14")->is_enabled());
    EXPECT_TRUE(W("C")->is_shown()) << "the third button has no name in the list";

    contexts_.back()->Base->SetValueU8(kIdentMode, 1);
    CB_DvFctShowToggleContainer(group, nullptr, GwUD("A B"));
    EXPECT_FALSE(W("A")->is_shown());
    EXPECT_FALSE(W("InA_PN_12")->is_enabled());
    EXPECT_TRUE(W("B")->is_shown());
    EXPECT_TRUE(W("InB_PN_14")->is_enabled());
    EXPECT_FALSE(W("Gone_PN_77")->is_enabled()) << "its parameter is absent";
}

TEST_F(ValueContainerTest, OnlyTheFirst255ButtonsAreLookedAt) {
    std::string body = "radiogroup Wide_PN_26 {\n";
    std::string names;
    for (int i = 0; i < 300; ++i) {
        body += " radio " + std::to_string(i) + " { }\n";
        names += "C" + std::to_string(i) + " ";
    }
    body += "}\ncontainer C200 { visible = no }\ncontainer C254 { }\ncontainer C255 { }\ncontainer C299 { }\n";
    OpenWindow(body, MakeContext(false));
    // RADIO holds 200.
    CB_DvFctShowToggleContainer(W("Wide_PN_26"), nullptr, GwUD(names));
    EXPECT_TRUE(W("C200")->is_shown());
    EXPECT_FALSE(W("C254")->is_shown());
    EXPECT_TRUE(W("C255")->is_shown());
    EXPECT_TRUE(W("C299")->is_shown());
}

TEST_F(ValueContainerTest, ACheckBoxShowsAndEnablesItsContainerWhileSet) {
    OpenWindow("check On_PN_24[1] { }\ncontainer Extra { enabled = no; visible = no }", MakeContext(false));
    TestContext* context = contexts_.back().get();
    for (uint16_t value : {3, 0}) {
        context->Base->SetValueU16(kToggles, value, 1);
        EXPECT_EQ(CB_DvFctShowSwitch(W("On_PN_24[1]"), nullptr, GwUD("Extra")), 1);
        EXPECT_EQ(W("Extra")->is_shown(), value != 0);
        EXPECT_EQ(W("Extra")->is_enabled(), value != 0);
    }
}

TEST_F(ValueContainerTest, AComboShowsOnlyTheContainerOfItsValue) {
    for (bool online : {true, false}) {
        SCOPED_TRACE(online);
        OpenWindow(kModeContainers, MakeContext(online));
        EXPECT_EQ(CB_DvFctShowComboboxContainer(W("Mode_PN_60"), nullptr, GwUD()), 1);
        EXPECT_EQ(ModesShown(), (std::vector<bool>{false, false, true, false}));
        EXPECT_EQ(dynamic_cast<GwCombo*>(W("Mode_PN_60"))->selection_text(), "AUTO (2)");
    }
}

TEST_F(ValueContainerTest, TheChangeFollowsTheSelectionBeforeAnyTakeOver) {
    OpenWindow(kModeContainers, MakeContext(true));
    auto* combo = dynamic_cast<GwCombo*>(W("Mode_PN_60"));
    CB_DvFctShowComboboxContainer(combo, nullptr, GwUD());
    Drive().ClearCapture();
    combo->select(3);
    EXPECT_EQ(CB_DvFctParaChangeComboboxContainer(combo, nullptr, GwUD()), 1);
    EXPECT_EQ(ModesShown(), (std::vector<bool>{false, false, false, true}));
    for (const std::string& t : Heard()) EXPECT_NE(t.rfind("W ", 0), 0u) << t;
}

// OPMOD with the range 3..0.
class InvertedRangeTest : public ValueContainerTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = ValueContainerTest::MakeTable();
        table.Find(kOperatingMode)->minimum = 3;
        table.Find(kOperatingMode)->maximum = 0;
        return table;
    }
};

TEST_F(InvertedRangeTest, AMaximumBelowTheMinimumShowsAndHidesNothing) {
    OpenWindow(kModeContainers, MakeContext(false));
    CB_DvFctShowComboboxContainer(W("Mode_PN_60"), nullptr, GwUD());
    auto* combo = dynamic_cast<GwCombo*>(W("Mode_PN_60"));
    combo->select(0);
    CB_DvFctParaChangeComboboxContainer(combo, nullptr, GwUD());
    EXPECT_EQ(ModesShown(), (std::vector<bool>{true, true, false, true}));
}

TEST_F(ValueContainerTest, TheComboPictureGetsTheBitmapOfTheStoredValue) {
    GwRcMgr::add_bitmap("OPMOD_AUTO", 10, 10);
    OpenWindow(kModeContainers, MakeContext(false));
    EXPECT_EQ(CB_DvFctShowComboboxContainerAndPicture(W("Mode_PN_60"), nullptr, GwUD("Pic")), 1);
    auto* picture = dynamic_cast<GwPicture*>(W("Pic"));
    EXPECT_EQ(picture->bitmap(), "OPMOD_AUTO");
    EXPECT_TRUE(picture->is_shown()) << "hidden and shown again to redraw";
    EXPECT_EQ(ModesShown(), (std::vector<bool>{false, false, true, false}));
}

}  // namespace
}  // namespace devicewintest
