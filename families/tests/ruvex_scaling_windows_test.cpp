// The Ruvex NA2 check and the SCJ switch on the virtual drive.
#include "families/ruvex_scaling_windows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/services/window_handler.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "parameters/parabase/para_base.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_ud.h"

namespace devicewintest {
namespace {

uint32_t FloatBits(float f) {
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

constexpr char kNa2Window[] = "button Check { }\n edit _PN_817 { }\n toggle scj_yes { }\n toggle scj_no { }";

class RuvexScalingTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        auto texts = [&](int number, const char* name, std::map<int, std::string> values) {
            sim::DriveParameter* p = table.PutFullRange(number, name, "USIGN8", 0);
            p->minimum = 0;
            p->maximum = 9;
            p->flags |= sim::kFlagValueTexts;
            p->value_texts = std::move(values);
        };
        texts(819, "UKIND", {{0, "Motor"}, {1, "Linear"}, {2, "Fine"}, {3, "Rotary"}, {4, "Arc"}, {5, "Bad"}});
        texts(823, "PUNIT", {{0, "rev"}, {1, "mm"}, {2, "m"}, {3, "um"}, {4, "rad"}, {5, "deg"}, {6, "rpm"}});
        texts(824, "VUNIT", {{0, "rev/s"}, {1, "mm/s"}, {2, "m/s"}, {3, "x"}, {4, "rad/s"}, {5, "d/s"}, {6, "rpm"}});
        texts(817, "SCJ", {{0, "off"}, {1, "on"}, {2, "two"}, {3, "three"}});
        for (int number : {766, 767, 768})
            table.PutFullRange(number, ("UT" + std::to_string(number)).c_str(), "STRING", 0);
        for (int number : {700, 701}) table.PutFullRange(number, ("R" + std::to_string(number)).c_str(), "USIGN16", 0);
        for (int number : {711, 712, 764, 858}) {
            sim::DriveParameter* p = table.PutFullRange(number, ("F" + std::to_string(number)).c_str(), "FLOAT32", 0);
            p->minimum = FloatBits(-1e30f);
            p->maximum = FloatBits(1e30f);
        }
        for (int number : {825, 826, 827, 828, 829, 855, 763}) {
            table.PutFullRange(number, ("N" + std::to_string(number)).c_str(), "USIGN32", 0);
        }
        return table;
    }
    sim::DriveParameter& P(int number) { return *Drive().Table().Find(number); }
    void Store(int number, double value) {
        ASSERT_EQ(context_->Base->SetValueDouble(number, value), kParaOk) << number;
    }
    GwCore* OpenNa2() {
        context_ = MakeContext(true);
        OpenWindow(kNa2Window, context_);
        TheWindowHandler().Add(window_, 1);
        return W("Check");
    }
    TestContext* context_ = nullptr;
};

struct Na2Case {
    const char* Name;
    std::vector<std::pair<int, double>> Inputs;
    std::vector<std::string> Boxes;  // kind: text
    bool Hidden;
    uint32_t Z;  // 700 (0: not written)
    uint32_t M;
    float F711;
    float F712;
};

TEST_F(RuvexScalingTest, Na2TakeOverAndCheck) {
    const Na2Case cases[] = {
        {"exact",
         {{827, 0}, {825, 3}, {826, 7}, {819, 1}, {823, 2}, {824, 6}},
         {},
         true,
         3,
         7,
         3.0 / 7,
         0.0010922666666666667},
        {"approximated",
         {{827, 1}, {828, 3}, {826, 1}, {819, 1}, {823, 2}, {824, 2}},
         {"warning: The ratio can only be approximated (deviation -66.6672 percent)"},
         true,
         65535,
         1,
         65535,
         65535 / 1000.0},
        {"mode 2",
         {{827, 2}, {828, 3}, {829, 2}, {855, 4}, {826, 3}, {819, 1}, {823, 2}, {824, 2}},
         {},
         true,
         32768,
         1,
         32768,
         32768 / 1000.0},
        {"angle",
         {{827, 0}, {825, 3}, {826, 7}, {819, 3}, {823, 4}, {824, 3}},
         {"warning: The resolution F712 is too small!"},
         false,
         3,
         7,
         static_cast<float>(3 * 180 / (7 * 3141.592653589793)),
         static_cast<float>(3 / (7 * 1e6))},
        {"mode 3", {{827, 3}, {825, 3}, {826, 7}}, {"error: Invalid selection of the unit!"}, false, 0, 0, 0, 0},
        {"kind 5", {{825, 3}, {826, 7}, {819, 5}}, {"error: Invalid selection of the unit!"}, false, 3, 7, 0, 0},
        {"823 without a row",
         {{825, 3}, {826, 7}, {819, 1}, {823, 3}, {824, 9}},
         {"error: No unit is defined for this selection of parameter 823!"},
         false,
         3,
         7,
         0,
         0},
        {"small F712",
         {{825, 1}, {826, 1}, {819, 0}, {823, 0}, {824, 0}},
         {"warning: The resolution F712 is too small!"},
         false,
         1,
         1,
         0.001f,
         1e-6f},
        {"zero denominator", {{825, 3}, {826, 0}}, {"error: Invalid selection of the unit!"}, false, 0, 0, 0, 0},
    };
    for (const Na2Case& c : cases) {
        SCOPED_TRACE(c.Name);
        GwCore* check = OpenNa2();
        for (auto [number, value] : c.Inputs) Store(number, value);
        for (int number : {700, 701, 711, 712}) P(number).value = 0;
        MarkBoxes();
        EXPECT_EQ(CB_NA2_TakeAndCheck(check, nullptr, GwUD()), 1);
        std::vector<std::string> boxes;
        for (const GwBoxRecord& box : NewBoxes()) boxes.push_back(box.kind + ": " + box.text);
        EXPECT_EQ(boxes, c.Boxes);
        EXPECT_EQ(window_->is_visible(), !c.Hidden);
        EXPECT_EQ(P(700).value, c.Z);
        EXPECT_EQ(P(701).value, c.M);
        EXPECT_EQ(P(711).value, FloatBits(c.F711));
        EXPECT_EQ(P(712).value, FloatBits(c.F712));
        if (c.Z != 0) {
            EXPECT_EQ(P(766).text, context_->Base->GetDispatchedValueText(819));
            EXPECT_EQ(P(767).text, context_->Base->GetDispatchedValueText(823));
        }
        TheWindowHandler().DeleteWindow(window_);
        window_->destroy();
    }
}

TEST_F(RuvexScalingTest, Na2LengthAndARefusedUnitText) {
    GwCore* check = OpenNa2();
    for (auto [number, value] : {std::pair{825, 3.0},
                                 {826, 7.0},
                                 {819, 1.0},
                                 {823, 2.0},
                                 {824, 6.0},
                                 {763, 1.0},
                                 {829, 2.0},
                                 {855, 4.0},
                                 {858, 5.0}}) {
        Store(number, value);
    }
    CB_NA2_TakeAndCheck(check, nullptr, GwUD());
    EXPECT_EQ(P(764).value, FloatBits(2.5f));
    TheWindowHandler().DeleteWindow(window_);
    window_->destroy();
    // A refused write of 767: device error 5 and nothing after it.
    check = OpenNa2();
    for (auto [number, value] : {std::pair{825, 3.0}, {826, 7.0}, {819, 1.0}, {823, 2.0}, {824, 6.0}})
        Store(number, value);
    P(700).value = 0;
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusWriteAccess).For("20767").Times(sim::kForever));
    MarkBoxes();
    CB_NA2_TakeAndCheck(check, nullptr, GwUD());
    ASSERT_FALSE(NewBoxes().empty());
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(P(700).value, 0u);
    EXPECT_TRUE(window_->is_visible());
}

TEST_F(RuvexScalingTest, ScjShowAndToggles) {
    for (auto [value, yes] : {std::pair{0u, false}, std::pair{3u, true}}) {
        SCOPED_TRACE(value);
        P(817).value = value;
        OpenNa2();
        CB4_ShowSCJ(W("_PN_817"), nullptr, GwUD());
        EXPECT_EQ(dynamic_cast<GwToggle*>(W("scj_yes"))->is_checked(), yes);
        EXPECT_EQ(dynamic_cast<GwToggle*>(W("scj_no"))->is_checked(), !yes);
        EXPECT_EQ(W("_PN_817")->is_visible(), yes);
        window_->destroy();
    }
    // A caller without a parameter changes nothing.
    OpenNa2();
    CB4_ShowSCJ(W("Check"), nullptr, GwUD());
    EXPECT_TRUE(W("Check")->is_visible());
    EXPECT_FALSE(dynamic_cast<GwToggle*>(W("scj_no"))->is_checked());
    // "no" writes 0 through the binding and hides the field.
    P(817).value = 3;
    auto* no = dynamic_cast<GwToggle*>(W("scj_no"));
    no->set_checked(true);
    CB4_Control_Moment_no(no, nullptr, GwUD());
    EXPECT_EQ(P(817).value, 0u);
    EXPECT_EQ(W("_PN_817")->text(), "0");
    EXPECT_FALSE(W("_PN_817")->is_visible());
    no->set_checked(false);
    CB4_Control_Moment_no(no, nullptr, GwUD());
    EXPECT_TRUE(W("_PN_817")->is_visible());
    auto* yes = dynamic_cast<GwToggle*>(W("scj_yes"));
    yes->set_checked(false);
    CB4_Control_Moment_yes(yes, nullptr, GwUD());
    EXPECT_FALSE(W("_PN_817")->is_visible());
    yes->set_checked(true);
    CB4_Control_Moment_yes(yes, nullptr, GwUD());
    EXPECT_TRUE(W("_PN_817")->is_visible());
}

}  // namespace
}  // namespace devicewintest
