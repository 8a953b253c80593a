// The AOP1 window of the Marlo firmware-200 line: seven values scaled by 960,
// 961 and 844, and its take-over, on a virtual drive.
#include "families/marlo_aop1.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

// Values 971 and 972 with their scaled fields, 973 without its value widget.
constexpr char kAop1Window[] =
    "edit _PN_971 { }\n label _FM_971 { }\n edit _PN_972 { }\n label _FM_972 { }\n label _FM_973 { }\n"
    " edit _PN_12 { }\n button TakeIt { }";

class Aop1Test : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        // A firmware of its own, so that no other test's cached descriptions
        // of the type stand in for this drive's.
        table.version = 2222;
        for (auto [number, name, value] : {std::tuple{kAop1Numerator, "AOPA", 120u},
                                           std::tuple{kAop1Denominator, "AOPB", 2u},
                                           std::tuple{kAop1Factor, "AOPC", 3u}}) {
            sim::DriveParameter* p = table.PutFullRange(number, name, "INT16", value);
            p->minimum = static_cast<uint32_t>(-1000);
            p->maximum = 1000;
        }
        return table;
    }
    void Open() {
        OpenWindow(kAop1Window, MakeContext(true));
        W("_FM_973")->set_text("untouched");
    }
    void Show(const char* first, const char* second) {
        W("_PN_971")->set_text(first);
        W("_PN_972")->set_text(second);
        // Only the scaled fields: the standard show would fill the values.
        EXPECT_EQ(CB_3_200_DvFctShow_AOP1(window_, nullptr, GwUD()), 1);
    }
};

TEST_F(Aop1Test, ScaledFieldsShowTheValueTimesTheScale) {
    Open();
    Show("1,5", "2.5");
    EXPECT_EQ(W("_FM_971")->text(), "4.500000");  // 1.5 * 120 / 2 * 3 / 60
    EXPECT_EQ(W("_FM_972")->text(), "7.500000");
    EXPECT_EQ(W("_FM_973")->text(), "untouched");
}

TEST_F(Aop1Test, AScaleThatCannotBeHadShowsQuestionMarks) {
    struct Case {
        const char* name;
        int failing;  // the parameter whose read fails, or 0
        uint32_t denominator;
    };
    const Case cases[] = {
        {"960", kAop1Numerator, 2}, {"961", kAop1Denominator, 2}, {"844", kAop1Factor, 2}, {"961 = 0", 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Drive().Table().Find(kAop1Denominator)->value = c.denominator;
        Open();
        if (c.failing != 0) {
            Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter)
                                 .For("20" + std::to_string(c.failing))
                                 .Times(sim::kForever));
        }
        MarkBoxes();
        Show("1,5", "3");
        EXPECT_EQ(W("_FM_971")->text(), "???");
        EXPECT_EQ(W("_FM_972")->text(), "???");
        EXPECT_TRUE(NewBoxes().empty());
        window_->destroy();
    }
}

TEST_F(Aop1Test, TakeOverShowsAgainAndMarksModifiedOnlyWhenAllWasTaken) {
    Open();
    DeviceSetupContext* context = contexts_.back().get();
    W("_PN_12")->set_text("7");
    SetWidgetChanged(W("_PN_12"), true);
    W("_FM_971")->set_text("");
    ClearCaptures();
    EXPECT_EQ(CB_3_200_DvFctTakeItWVA_AOP1(W("TakeIt"), nullptr, GwUD()), 1);
    EXPECT_EQ(Heard().front(), "W 20012=7");
    EXPECT_TRUE(context->Modified);
    EXPECT_NE(W("_FM_971")->text(), "");

    // A refused value stops the walk: no new show, no mark.
    context->Modified = false;
    W("_PN_12")->set_text("8");
    SetWidgetChanged(W("_PN_12"), true);
    W("_FM_971")->set_text("");
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20012").Times(sim::kForever));
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    CB_3_200_DvFctTakeItWVA_AOP1(W("TakeIt"), nullptr, GwUD());
    EXPECT_FALSE(context->Modified);
    EXPECT_EQ(W("_FM_971")->text(), "");
}

}  // namespace
}  // namespace devicewintest
