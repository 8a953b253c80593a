// Option-module and bus-system notes, units, branded texts, the keypad
// window's check, bit tooltips and the bit state window by user data.
#include <gtest/gtest.h>

#include <string>

#include "app/services/window_handler.h"
#include "devicewin/module_displays.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

constexpr int kRpm = 45;     // "VEL" INT16, unit "rpm"
constexpr int kNoUnit = 46;  // "PLAIN" INT16 without a unit

// A context whose mode check (the Hollin module) answers as told.
class ModeContext : public TestContext {
public:
    using TestContext::TestContext;
    bool CheckModeSelection() override { return Hollin; }
    bool CheckModeSelectionAlt() override { return Quarn; }
    bool Hollin = false;
    bool Quarn = false;
};

class DisplayTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        for (int slot : {kOptionSlot1, kOptionSlot2}) {
            sim::DriveParameter* p = table.PutFullRange(slot, slot == kOptionSlot1 ? "OPT1" : "OPT2", "USIGN8", 0);
            p->maximum = 5;
        }
        table.Find(kOptionSlot1)->value = 2;
        table.PutFullRange(kKeypadNameParameter, keypadName_, "USIGN8", 0)->maximum = 255;
        table.PutFullRange(kRpm, "VEL", "INT16", 0)->unit_index = 1;
        table.PutFullRange(kNoUnit, "PLAIN", "INT16", 0);
        PutWordField(table, {});
        return table;
    }
    const char* keypadName_ = "UAPSP";
};

constexpr char kBusNotes[] =
    "label NoCANtarn { }\nlabel NoCANopen { }\nlabel NoProfibus { }\nbutton Caller { }\nbutton BT_TakeIt { }\n";

TEST_F(DisplayTest, BusNotesShowWhatNeitherSlotHolds) {
    struct Case {
        uint32_t slot1;
        uint32_t slot2;
        bool canTarn, canOpen, profibus;  // shown
    };
    const Case cases[] = {
        {2, 0, true, false, true},
        {0, 2, true, false, true},
        {1, 3, false, true, false},
        {0, 0, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.slot1) + "," + std::to_string(c.slot2));
        Drive().Table().Find(kOptionSlot1)->value = c.slot1;
        Drive().Table().Find(kOptionSlot2)->value = c.slot2;
        GwCore* caller = OpenCase(true, kBusNotes, "Caller");
        EXPECT_EQ(CB_DvFctShowBusSystem(caller, nullptr, GwUD()), 1);
        EXPECT_EQ(W("NoCANtarn")->is_shown(), c.canTarn);
        EXPECT_EQ(W("NoCANopen")->is_shown(), c.canOpen);
        EXPECT_EQ(W("NoProfibus")->is_shown(), c.profibus);
        EXPECT_FALSE(W("BT_TakeIt")->is_enabled()) << "the standard show ran";
        EXPECT_TRUE(NewBoxes().empty());
    }
}

TEST_F(DisplayTest, ARefusedSlotReadHidesTheWindowAfterErrorFive) {
    GwCore* caller = OpenCase(true, kBusNotes, "Caller");
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20579").Times(sim::kForever));
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(CB_DvFctShowBusSystem(caller, nullptr, GwUD()), 1);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[0].parent, mainWindow_->identifier());
    EXPECT_FALSE(window_->is_shown());
}

TEST_F(DisplayTest, TheHollinNoteFollowsTheModeCheck) {
    for (bool hollin : {true, false}) {
        SCOPED_TRACE(hollin);
        contexts_.push_back(std::make_unique<ModeContext>(nullptr, *main_->ActiveParaBase(), true));
        auto* context = static_cast<ModeContext*>(contexts_.back().get());
        context->Hollin = hollin;
        context->Quarn = !hollin;
        OpenWindow("label NoHollin { }\nlabel NoQuarn { }\nbutton Caller { }", context);
        EXPECT_EQ(CB_DvFctShowIO(W("Caller"), nullptr, GwUD()), 1);
        EXPECT_EQ(W("NoHollin")->is_shown(), hollin);
        EXPECT_EQ(W("NoQuarn")->is_shown(), !hollin);
    }
}

TEST_F(DisplayTest, UnitsInBracketsAndAsSuffix) {
    OpenCase(true,
             "label 45 { text = \"x\" }\nlabel 46 { text = \"x\" }\n"
             "formatedit Speed_PN_45 { }\nedit Plain_PN_45 { }\nlabel Tag_PN_45 { }\n",
             "45");
    CB_ShowUnit(W("45"), nullptr, GwUD());
    CB_ShowUnit(W("46"), nullptr, GwUD());
    EXPECT_EQ(W("45")->text(), "[rpm]");
    EXPECT_EQ(W("46")->text(), "[]");
    for (const char* name : {"Speed_PN_45", "Plain_PN_45", "Tag_PN_45"}) {
        EXPECT_EQ(CB_ShowUnitSuffix(W(name), nullptr, GwUD()), 1);
    }
    EXPECT_EQ(dynamic_cast<GwEdit*>(W("Speed_PN_45"))->suffix(), "rpm");
    EXPECT_EQ(dynamic_cast<GwEdit*>(W("Plain_PN_45"))->suffix(), "") << "not a format edit";
}

TEST_F(DisplayTest, BrandedTextsComeFromTheOptionsSection) {
    UseMainProfile("[Options]\nDigitalHollin=Digital I/O module\nNoHollin=No I/O module fitted\n");
    OpenWindow("label DigitalHollin { }\nlabel NoHollin { }\nbutton Caller { }", nullptr);
    EXPECT_EQ(CB_BrandIO(W("Caller"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("DigitalHollin")->text(), "Digital I/O module");
    EXPECT_EQ(W("NoHollin")->text(), "No I/O module fitted");
}

TEST_F(DisplayTest, TheBitTooltipIsTheParentsBitText) {
    OpenCase(true, "container Bits_PN_420[3] { toggle 5 { } }", "Bits_PN_420[3]");
    CB_SetBitInfoTippText(W("5"), nullptr, GwUD());
    EXPECT_EQ(W("5")->tip_text(), "420-FLD[3] Bit 5");
}

TEST_F(DisplayTest, TheBitStateWindowOpensForAnElementOfAnArray) {
    struct Case {
        std::string userData;
        bool opens;
    };
    const Case cases[] = {
        {"420,3", true},
        {"420 3", true},
        {"420", false},
        {"420,3" + std::string(10, ' '), true},  // 15 characters
        {"420,3" + std::string(11, ' '), false},
        {"999,1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.userData);
        TheWindowHandler().CloseByName("5_BitState_Word");
        GwCore* caller = OpenCase(true, "button Caller { }", "Caller");
        EXPECT_EQ(CB_CallBitState(caller, nullptr, GwUD(c.userData)), 1);
        GwCore* window = TheWindowHandler().FindByName("5_BitState_Word");
        EXPECT_EQ(window != nullptr, c.opens);
        if (window != nullptr) {
            EXPECT_NE(window->child("_PN_420[3]"), nullptr);
        }
        EXPECT_TRUE(NewBoxes().empty());
    }
}

TEST_F(DisplayTest, TheKeypadWindowOpensWhenParameter13IsUapsp) {
    EXPECT_TRUE(GwRcMgr::use_text("dialogframe 5_Keypad { }\n", "keypad.cgw"));
    GwCore* caller = OpenCase(true, "button Caller { }", "Caller");
    EXPECT_EQ(CB_CallDravoDeviceWindow(caller, nullptr, GwUD("5_Keypad")), 1);
    EXPECT_NE(TheWindowHandler().FindByName("5_Keypad"), nullptr);
    EXPECT_TRUE(NewBoxes().empty());
}

class OtherKeypadTest : public DisplayTest {
public:
    OtherKeypadTest() { keypadName_ = "UAPS2"; }
};

TEST_F(OtherKeypadTest, AnotherNameShowsMessage79AndOpensNothing) {
    EXPECT_TRUE(GwRcMgr::use_text("dialogframe 5_Keypad { }\n", "keypad.cgw"));
    GwCore* caller = OpenCase(true, "button Caller { }", "Caller");
    const int listed = TheWindowHandler().Count();
    EXPECT_EQ(CB_CallDravoDeviceWindow(caller, nullptr, GwUD("5_Keypad")), 1);
    EXPECT_EQ(TheWindowHandler().Count(), listed);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[0].text, "Window 13 is not available for this device");
}

}  // namespace
}  // namespace devicewintest
