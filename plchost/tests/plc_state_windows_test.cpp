// The PLC state and event windows of the Pesco device windows on the virtual
// clock: the activity indicators, the load and last error, the choice of the
// PLC window, and the event selection read from and stored into the drive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/window_handler.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "plchost/plc_state_windows.h"
#include "plchost/tests/plc_host_fixture.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace plchosttest {
namespace {

using Texts = std::vector<std::string>;

class PlcStateTest : public PlcHostTest {
protected:
    // A window of pesco.cgw shown with a new context of the active device.
    GwCore* OpenPesco(const char* name, bool online = true) {
        GwCore* window = GwRcMgr::load(mainWindow_, name, 1);
        EXPECT_NE(window, nullptr) << name;
        if (window == nullptr) return nullptr;
        window->set_user_data(GwUD(static_cast<void*>(MakeContext(online))));
        window->show();
        window_ = window;
        return window;
    }
    std::string Indicator(const char* name) { return window_->child<GwPicture>(name)->bitmap(); }
    // The requests heard since the capture was cleared, of the event masks.
    Texts MaskTraffic() {
        Texts texts;
        for (const std::string& text : Drive().Capture().TelegramTexts())
            for (const char* number : {"496", "497", "556", "557"})
                if (text.find(number) == 4) texts.push_back(text);
        return texts;
    }
    GwCombo* Combo(int i) { return window_->child("Events")->child<GwCombo>(std::to_string(i)); }
    void SetMask(int number, int element, uint32_t value) { Drive().Table().Find(number)->elements[element] = value; }
};

TEST_F(PlcStateTest, IndicatorsAlternateWhileTheirEventProgramRuns) {
    OpenPesco("5_NewPLC_Main");
    Drive().Table().plc.running[0] = true;
    gwtest::Advance(1000);
    Texts ep0;
    Texts ep1;
    for (int tick = 0; tick < 3; ++tick) {
        CB_1_PlcActiveStateTimer(W("EP0"), nullptr, GwUD());
        ep0.push_back(Indicator("EP0"));
        ep1.push_back(Indicator("EP1"));
        gwtest::Advance(1000);
    }
    EXPECT_EQ(ep0, (Texts{"P1", "P2", "P1"}));
    EXPECT_EQ(ep1, (Texts{"P0", "P0", "P0"}));
    Drive().Table().plc.running[0] = false;
    gwtest::Advance(1000);
    CB_1_PlcActiveStateTimer(W("EP0"), nullptr, GwUD());
    CB_1_PlcActiveStateTimer(W("EP0"), nullptr, GwUD());
    EXPECT_EQ(Indicator("EP0"), "P0") << "a counter that stopped";
    EXPECT_EQ(W("EP0")->timer_interval(), 4000u);
    EXPECT_TRUE(W("EP0")->is_timer_running());
}

TEST_F(PlcStateTest, TicksWithoutDeviceOrRefusedByTheGuardDoNothing) {
    OpenPesco("5_NewPLC_Main");
    Drive().Table().Find(sim::kPlcErrorParameter)->value = 0x01020003;
    window_->set_user_data(GwUD());
    CB_1_PlcActiveStateTimer(W("EP0"), nullptr, GwUD());
    CB_NewPlcErrorDiagnose(W("PLCERR_ID"), nullptr, GwUD());
    EXPECT_TRUE(Drive().Capture().TelegramTexts().empty());
    EXPECT_EQ(gwtest::Text(W("PLCERR_ID")), "");

    OpenPesco("5_NewPLC_Main");
    window_->hide();
    ClearCaptures();
    CB_NewPlcErrorDiagnose(W("PLCERR_ID"), nullptr, GwUD());
    CB_1_PlcActiveStateTimer(W("EP0"), nullptr, GwUD());
    EXPECT_TRUE(Drive().Capture().TelegramTexts().empty());
    EXPECT_EQ(gwtest::Text(W("PLCERR_ID")), "");
}

TEST_F(PlcStateTest, ErrorWordIsShownAsItsThreeFields) {
    struct Case {
        uint32_t word;
        Texts fields;
    };
    const Case cases[] = {
        {0x01020003, {"1", "2", "3"}},
        {0xFF000001, {"255", "0", "1"}},
        {0x8012FFFF, {"128", "18", "65535"}},
    };
    OpenPesco("5_NewPLC_Main");
    for (const Case& c : cases) {
        Drive().Table().Find(sim::kPlcErrorParameter)->value = c.word;
        CB_NewPlcErrorDiagnose(W("PLCERR_ID"), nullptr, GwUD());
        EXPECT_EQ((Texts{gwtest::Text(W("PLCERR_ID")), gwtest::Text(W("PLCERR_P")), gwtest::Text(W("PLCERR_N"))}),
                  c.fields)
            << std::hex << c.word;
    }
    EXPECT_EQ(W("PLCERR_ID")->timer_interval(), 2000u);
}

TEST_F(PlcStateTest, LoadIsShownFromElement13) {
    OpenPesco("5_NewPLC_Main");
    Drive().Table().Find(sim::kPlcLoadParameter)->elements[13] = 57;
    CB_DvFctNewPlcTimerObject(W("AvrLoad"), nullptr, GwUD());
    EXPECT_DOUBLE_EQ(window_->child<GwSlider>("AvrLoad")->value(), 57.0);
}

TEST_F(PlcStateTest, PlcWindowFollowsTheVersionParameter) {
    OpenDeviceWindow(true);
    CB_CallPlcWindow(window_, nullptr, GwUD());
    EXPECT_NE(TheWindowHandler().FindByName("5_NewPLC_Main"), nullptr);
    OpenDeviceWindow(true);
    *contexts_.back()->Base->GetEntry(527) = ParameterEntry{};
    CB_CallPlcWindow(window_, nullptr, GwUD());
    EXPECT_NE(TheWindowHandler().FindByName("5_PLC_Main"), nullptr);
}

TEST_F(PlcStateTest, EventSelectionIsReadAtTheProgramsElement) {
    SetMask(496, 1, 0x0021);
    SetMask(497, 1, 0x0001);
    SetMask(556, 1, 0x0020);
    SetMask(557, 1, 0x8000);
    OpenPesco("5_PLC_Events1");
    std::vector<int> shown;
    for (int i = 0; i < 32; ++i) shown.push_back(Combo(i)->selected_index());
    std::vector<int> expected(32, 0);
    expected[0] = 1;
    expected[5] = 3;
    expected[16] = 1;
    expected[31] = 2;
    EXPECT_EQ(shown, expected);
    const Texts reads = MaskTraffic();
    ASSERT_EQ(reads.size(), 4u);
    for (const std::string& read : reads) EXPECT_EQ(read.substr(read.size() - 7), "0000101") << read;
}

TEST_F(PlcStateTest, EventSelectionIsStoredInOrder) {
    struct Case {
        int index;  // of combo "5"
        Texts writes;
    };
    const Case cases[] = {
        {3, {"W 704960000001=0020", "W 704970000001=0000", "W 705560000001=0020", "W 705570000001=0000"}},
        {2, {"W 704960000001=0000", "W 704970000001=0000", "W 705560000001=0020", "W 705570000001=0000"}},
    };
    for (const Case& c : cases) {
        OpenPesco("5_PLC_Events0");
        for (int i = 0; i < 32; ++i) Combo(i)->select_item(i == 5 ? c.index : 0);
        window_->child("Events")->child("7")->destroy();  // a number without a combo box counts as 0
        ClearCaptures();
        CB_NewPlcEP0_TakeIt(W("Take"), nullptr, GwUD());
        Texts writes;
        for (const std::string& text : MaskTraffic())
            if (text[0] == 'W') writes.push_back(text);
        EXPECT_EQ(writes, c.writes);
        window_->destroy();
    }
}
TEST_F(PlcStateTest, OfflineSelectionGoesIntoTheBaseOnly) {
    OpenPesco("5_PLC_Events1", false);
    for (int i = 0; i < 32; ++i) Combo(i)->select_item(i == 5 ? 3 : 0);
    ClearCaptures();
    CB_NewPlcEP1_TakeIt(W("Take"), nullptr, GwUD());
    EXPECT_TRUE(MaskTraffic().empty());
    ParaBase* base = contexts_.back()->Base.get();
    double a = 0;
    double b = 0;
    base->GetValueDouble(496, &a, 1);
    base->GetValueDouble(556, &b, 1);
    EXPECT_EQ(a, 32.0);
    EXPECT_EQ(b, 32.0);
}

TEST_F(PlcStateTest, FailedStoreReportsAndKeepsTheWindowOpen) {
    OpenPesco("5_PLC_Events0");
    Combo(5)->select_item(3);
    Drive().AddFault(sim::DriveFault::Nak(0x0080).For("704970000001").Times(sim::kForever));
    ClearCaptures();
    CB_NewPlcEP0_FctOK(W("OK"), nullptr, GwUD());
    Texts writes;
    for (const std::string& text : MaskTraffic())
        if (text[0] == 'W' && (writes.empty() || writes.back() != text)) writes.push_back(text);
    EXPECT_EQ(writes, (Texts{"W 704960000001=0020", "W 704970000001=0000"})) << "no write after the failed one";
    ASSERT_EQ(NewBoxTexts().size(), 1u);
    EXPECT_EQ(NewBoxTexts()[0].substr(0, 7), "error: ");
    EXPECT_TRUE(GwRcMgr::is_valid_child(window_));
    EXPECT_TRUE(window_->is_visible());
}

class PlcStateFastBusTest : public PlcStateTest {
public:
    PlcStateFastBusTest() { baud_ = 38400; }
};

TEST_F(PlcStateFastBusTest, TimersRestartFasterOnAFasterBus) {
    OpenPesco("5_NewPLC_Main");
    CB_1_PlcActiveStateTimer(W("EP0"), nullptr, GwUD());
    CB_NewPlcErrorDiagnose(W("PLCERR_ID"), nullptr, GwUD());
    EXPECT_EQ(W("EP0")->timer_interval(), 1000u);
    EXPECT_EQ(W("PLCERR_ID")->timer_interval(), 1000u);
}

}  // namespace
}  // namespace plchosttest
