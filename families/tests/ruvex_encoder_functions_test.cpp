// The encoder pages of a Ruvex drive against the motor fixture drive: the
// encoder-function chooser and its windows, the encoder simulation's bit
// lists, and the resolution label of the simulated encoder.
#include "families/ruvex_encoder_functions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "devicewin/device_window_frame.h"
#include "families/tests/ruvex_motor_fixture.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_item_list.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

constexpr char kCaller[] = "button Open { }";

class EncoderTest : public RuvexMotorTest {
public:
    // A window of the Ruvex definitions opened as the setup window would.
    GwCore* OpenListed(const char* name, bool online = true) {
        GwCore* open = OpenCase(online, kCaller, "Open");
        CB_CallDeviceWindow(open, nullptr, GwUD(name));
        GwCore* window = TheWindowHandler().FindByName(name);
        EXPECT_NE(window, nullptr) << name;
        Drive().ClearCapture();
        MarkBoxes();
        return window;
    }
    static bool On(GwCore* window, const char* name) { return window->child<GwToggle>(name)->is_checked(); }
    static int Selected(GwCore* window, const char* name) { return window->child<GwItemList>(name)->first_selected(); }
};

class BareEncoderDriveTest : public EncoderTest {
public:
    BareEncoderDriveTest() { missing_ = {832, 886, 889}; }
};

TEST_F(EncoderTest, ThePageShowsTheFunctionTheDriveUses) {
    struct Case {
        uint32_t function;  // 450: 0 "OFF", 1 "ENC"
        uint32_t type;      // 451: 0 "OFF", 1 "RES"
        const char* on;
    } cases[] = {{0, 1, "F0"}, {1, 1, "F1"}, {1, 0, "F2"}, {1, 2, "F2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.on);
        Drive().Table().Find(kEncoderFunctionParameter)->value = c.function;
        Drive().Table().Find(kEncoderTypeParameter)->value = c.type;
        GwCore* page = OpenListed("4_Encoder");
        ASSERT_NE(page, nullptr);
        for (const char* name : kEncoderFunctionNames) page->child<GwToggle>(name)->set_checked(true);
        EXPECT_EQ(CB4_Mot_ShowEncoderFunc(page, nullptr, GwUD()), 1);
        for (const char* name : kEncoderFunctionNames) EXPECT_EQ(On(page, name), std::string(name) == c.on) << name;
        // Read from the drive.
        EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20450", "R 20451"}));
        CloseListed();
        window_->destroy();
    }
}

TEST_F(EncoderTest, TheCommutationIsForLevelFive) {
    for (int level : {4, 5}) {
        SCOPED_TRACE(level);
        SetUserLevel(static_cast<uint16_t>(level));
        GwCore* page = OpenListed("4_Encoder");
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(CB4_Mot_ShowEncoderFunc(page, nullptr, GwUD()), 1);
        EXPECT_EQ(page->child(kCommutationName)->is_visible(), level == 5);
        CloseListed();
        window_->destroy();
    }
}

TEST_F(BareEncoderDriveTest, WithoutTheCommutationParameterItsContainerHides) {
    SetUserLevel(5);
    GwCore* page = OpenListed("4_Encoder");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(CB4_Mot_ShowEncoderFunc(page, nullptr, GwUD()), 1);
    EXPECT_FALSE(page->child(kCommutationName)->is_visible());
}

TEST_F(EncoderTest, TheChosenFunctionOpensItsWindowAndTellsTheDrive) {
    struct Case {
        const char* on;  // null: none
        const char* opened;
        std::vector<std::string> writes;
    } cases[] = {
        {"F0", "4_Enc_F0", {"W 20450=0"}},
        {"F1", "4_Enc_F1", {"W 20431=1", "W 20451=1"}},
        {"F2", "4_Enc_F2", {"W 20431=1", "W 20451=0"}},
        {nullptr, nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.on != nullptr ? c.on : "none");
        GwCore* page = OpenListed("4_Encoder");
        ASSERT_NE(page, nullptr);
        for (const char* name : kEncoderFunctionNames) {
            page->child<GwToggle>(name)->set_checked(c.on != nullptr && std::string(name) == c.on);
        }
        EXPECT_EQ(CB4_Mot_CallEnc(page->child("Open"), nullptr, GwUD()), 1);
        for (const char* name : kEncoderWindows) {
            const bool expected = c.opened != nullptr && std::string(name) == c.opened;
            EXPECT_EQ(TheWindowHandler().FindByName(name) != nullptr, expected) << name;
        }
        EXPECT_EQ(Writes(), c.writes);
        EXPECT_TRUE(NewBoxes().empty());
        CloseListed();
        window_->destroy();
    }
}

TEST_F(EncoderTest, TheSimulationListsShowAndWriteTheBitField) {
    // 0x1D: bits 0-1 = 1, bits 2, 3 and 4 set.
    GwCore* sim = OpenListed("4_EncSim");
    ASSERT_NE(sim, nullptr);
    EXPECT_EQ(CB4_ShowEncSim(sim, nullptr, GwUD()), 1);
    for (const char* name : kSimulationListNames) EXPECT_EQ(Selected(sim, name), 1) << name;
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20889"}));
    // Taken over unchanged: 29 again, before the generic step.
    Drive().ClearCapture();
    EXPECT_EQ(CB4_DvFctTakeIt_EncSim(sim->child("BT_TakeIt"), nullptr, GwUD()), 1);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20889=1D"}));
    EXPECT_TRUE(sim->is_shown());
    // Changed lists: 3 + 8 = 11; OK closes the window afterwards.
    sim->child<GwItemList>("Bit01")->select(3);
    sim->child<GwItemList>("Bit2")->select(0);
    sim->child<GwItemList>("Bit4")->select(0);
    Drive().ClearCapture();
    GwRef<> ref(sim);
    CB4_DvFctOK_EncSim(sim->child("OK"), nullptr, GwUD());
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20889=B"}));
    EXPECT_TRUE(ref.get() == nullptr || !ref->is_shown());
    EXPECT_TRUE(NewBoxes().empty());
}

// A list left without a selection writes 0 into its own field and leaves the
// other fields as shown (read as 0x1D); as -1 it would borrow from the field
// above it, and from the top field turn the whole value negative.
TEST_F(EncoderTest, AListWithoutASelectionWritesZeroInItsField) {
    struct Case {
        const char* list;
        uint32_t written;
        const char* heard;
    } cases[] = {
        {"Bit01", 0x1C, "W 20889=1C"},
        {"Bit2", 0x19, "W 20889=19"},
        {"Bit3", 0x15, "W 20889=15"},
        {"Bit4", 0x0D, "W 20889=D"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        Drive().Table().Find(kEncoderSimulationParameter)->value = 0x1D;
        GwCore* sim = OpenListed("4_EncSim");
        ASSERT_NE(sim, nullptr);
        EXPECT_EQ(CB4_ShowEncSim(sim, nullptr, GwUD()), 1);
        sim->child<GwItemList>(c.list)->deselect_all();
        ASSERT_EQ(Selected(sim, c.list), -1);
        Drive().ClearCapture();
        EXPECT_EQ(CB4_DvFctTakeIt_EncSim(sim->child("BT_TakeIt"), nullptr, GwUD()), 1);
        EXPECT_EQ(Writes(), (std::vector<std::string>{c.heard}));
        EXPECT_EQ(Drive().Table().Find(kEncoderSimulationParameter)->value, c.written);
        EXPECT_TRUE(NewBoxes().empty());
        CloseListed();
        window_->destroy();
    }
}

TEST_F(EncoderTest, AFailedReadOfTheBitFieldIsShown) {
    GwCore* sim = OpenListed("4_EncSim");
    ASSERT_NE(sim, nullptr);
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20889").Times(sim::kForever));
    EXPECT_EQ(CB4_ShowEncSim(sim, nullptr, GwUD()), 1);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[0].parent, "MainWindow.DevWin.4_EncSim");
}

TEST_F(BareEncoderDriveTest, WithoutTheBitFieldTheListsAreOff) {
    GwCore* sim = OpenListed("4_EncSim");
    ASSERT_NE(sim, nullptr);
    EXPECT_EQ(CB4_ShowEncSim(sim, nullptr, GwUD()), 1);
    for (const char* name : kSimulationListNames) EXPECT_FALSE(sim->child(name)->is_sensitive()) << name;
    EXPECT_EQ(CB4_DvFctTakeIt_EncSim(sim->child("BT_TakeIt"), nullptr, GwUD()), 1);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(EncoderTest, TheResolutionFillsItsLabelsFormat) {
    struct Case {
        const char* format;
        bool online;
        const char* shown;  // null: left as it was
    } cases[] = {
        {"%s Inc", true, "2048 Inc"},
        {"%s Inc", false, "1024 Inc"},
        {"%d Inc", true, nullptr},
        {"%s of %s", true, nullptr},
        {"Inc", true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.format) + (c.online ? " online" : " offline"));
        GwCore* label = OpenCase(c.online, "label Resolution { text = \"-\" }", "Resolution");
        label->set_aux_text(c.format);
        // The drive changed it after the base was read.
        Drive().Table().Find(kSimulatedResolutionParameter)->value = 2048;
        Drive().ClearCapture();
        EXPECT_EQ(CB_ShowResolutionOfEncoderSim(label, nullptr, GwUD()), 1);
        EXPECT_EQ(label->text(), c.shown != nullptr ? c.shown : "-");
        EXPECT_EQ(Heard().size(), c.online ? 1u : 0u);
        Drive().Table().Find(kSimulatedResolutionParameter)->value = 1024;
        window_->destroy();
    }
    // A failed read leaves the label silently.
    GwCore* label = OpenCase(true, "label Resolution { text = \"-\"; aux_text = \"%s Inc\" }", "Resolution");
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20432").Times(sim::kForever));
    EXPECT_EQ(CB_ShowResolutionOfEncoderSim(label, nullptr, GwUD()), 1);
    EXPECT_EQ(label->text(), "-");
    EXPECT_TRUE(NewBoxes().empty());
}

}  // namespace
}  // namespace devicewintest
