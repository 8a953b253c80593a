// The family-5 norm windows on the virtual drive: the unit lists, taking the
// choices, and the factor check with its lowering of the exponents.
#include "families/copen_norm_windows.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_ud.h"

namespace devicewintest {
namespace {

constexpr char kNormWindow[] =
    "combo PositionUnit { }\n combo PositionIndex { }\n combo VelocityIndex { }\n combo AccelerationIndex { }\n"
    " edit PositionUnitNote { }\n edit PositionIndexNote { }\n edit VelocityIndexNote { }\n"
    " edit AccelerationIndexNote { }\n edit _PN_792 { }\n edit _PN_793 { }\n edit _PN_796 { }\n button Check { }";

class CopenNormTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        for (int number : {780, 782, 784}) {
            sim::DriveParameter* p = table.PutFullRange(number, ("E" + std::to_string(number)).c_str(), "INT16", 0);
            p->minimum = static_cast<uint32_t>(-18);
            p->maximum = 18;
        }
        for (int number : {781, 783, 785})
            table.PutFullRange(number, ("U" + std::to_string(number)).c_str(), "USIGN8", 1);
        table.PutFullRange(786, "F786", "USIGN32", 1);
        for (int number : {787, 788, 789, 790, 791, 794}) {
            sim::DriveParameter* p = table.PutFullRange(number, ("A" + std::to_string(number)).c_str(), "USIGN32", 0);
            p->flags |= sim::kFlagArray;
            p->elements = {1, 1};
        }
        for (int number : {792, 793, 796})
            table.PutFullRange(number, ("T" + std::to_string(number)).c_str(), "STRING", 0);
        table.PutFullRange(803, "TREF", "USIGN16", 2);
        table.PutFullRange(852, "TPCT", "USIGN16", 150);
        for (int number : {432, 476, 482})
            table.PutFullRange(number, ("X" + std::to_string(number)).c_str(), "USIGN16", 0);
        return table;
    }
    sim::DriveParameter& P(int number) { return *Drive().Table().Find(number); }
    GwCore* Open() {
        OpenWindow(kNormWindow, MakeContext(true));
        return W("Check");
    }
    GwCombo* List(const char* name) { return dynamic_cast<GwCombo*>(W(name)); }
    std::vector<std::string> Boxes() {
        std::vector<std::string> boxes;
        for (const GwBoxRecord& box : NewBoxes()) boxes.push_back(box.kind + ": " + box.text);
        return boxes;
    }
};

struct FactorCase {
    const char* Name;
    uint32_t P786;
    std::vector<uint32_t> P789;
    int P780;
    int Result;
    std::vector<std::string> Boxes;
    std::vector<uint32_t> P790;
    uint32_t New780;
    std::vector<uint32_t> New789;
};

TEST_F(CopenNormTest, FactorCheckStoresOrLowersTheExponent) {
    const FactorCase cases[] = {
        {"reduced", 4096, {10, 1}, 0, 1, {}, {2048, 5}, 0, {10, 1}},
        {"at the limit", 65535, {1, 1}, 0, 1, {}, {65535, 1}, 0, {1, 1}},
        {"lowered",
         70000,
         {1, 1},
         0,
         0,
         {"info: The units were adapted!"},
         {7000, 1},
         static_cast<uint32_t>(-1),
         {10, 1}},
        {"from 3",
         70000,
         {1, 1},
         3,
         0,
         {"info: The units were adapted!"},
         {7, 1},
         static_cast<uint32_t>(-1),
         {10000, 1}},
        {"from -3",
         70000,
         {1, 1},
         -3,
         0,
         {"info: The units were adapted!"},
         {70, 1},
         static_cast<uint32_t>(-6),
         {1000, 1}},
        {"from -18",
         70000,
         {1, 1},
         -18,
         0,
         {"error: The unit cannot be represented!"},
         {1, 1},
         static_cast<uint32_t>(-18),
         {1, 1}},
    };
    for (const FactorCase& c : cases) {
        SCOPED_TRACE(c.Name);
        P(786).value = c.P786;
        P(789).elements = c.P789;
        P(790).elements = {1, 1};
        P(780).value = static_cast<uint32_t>(c.P780);
        P(782).value = static_cast<uint32_t>(c.P780);
        P(781).value = 1;
        GwCore* check = Open();
        MarkBoxes();
        EXPECT_EQ(CB_TakeAndCheckNorm(check, nullptr, GwUD()), c.Result);
        EXPECT_EQ(Boxes(), c.Boxes);
        EXPECT_EQ(P(790).elements, c.P790);
        EXPECT_EQ(P(780).value & 0xFFFF, c.New780 & 0xFFFF);
        EXPECT_EQ(P(789).elements, c.New789);
        window_->destroy();
    }
    // The lowered case recomposed the unit texts.
    P(786).value = 70000;
    P(789).elements = {1, 1};
    P(780).value = 0;
    P(782).value = 0;
    Open();
    CB_TakeAndCheckNorm(W("Check"), nullptr, GwUD());
    EXPECT_EQ(P(791).elements, (std::vector<uint32_t>{1, 1}));
    EXPECT_EQ(P(794).elements, (std::vector<uint32_t>{1, 1}));
    EXPECT_EQ(P(792).text, "dm");
    EXPECT_EQ(P(793).text, " m/s");
    EXPECT_EQ(P(796).text, " m/s2");
}

TEST_F(CopenNormTest, ListsShowTheStoredChoiceAndItsNote) {
    P(781).value = 65;
    P(780).value = static_cast<uint32_t>(-3);
    Open();
    W("PositionUnit")->set_aux_text("781");
    W("PositionIndex")->set_aux_text("780");
    EXPECT_EQ(CB_CopenUnitShow(W("PositionUnit"), nullptr, GwUD()), 1);
    EXPECT_EQ(List("PositionUnit")->count(), 10);
    EXPECT_EQ(List("PositionUnit")->first_selected(), 6);
    EXPECT_EQ(W("PositionUnitNote")->text(), "Angle");
    EXPECT_EQ(CB_CopenIndexShow(W("PositionIndex"), nullptr, GwUD()), 1);
    EXPECT_EQ(List("PositionIndex")->count(), 37);
    EXPECT_EQ(List("PositionIndex")->first_selected(), 21);
    EXPECT_EQ(W("PositionIndexNote")->text(), "milli");
    P(781).value = 99;
    CB_CopenUnitShow(W("PositionUnit"), nullptr, GwUD());
    EXPECT_EQ(List("PositionUnit")->first_selected(), 0);
    W("VelocityIndex")->set_aux_text("");
    EXPECT_EQ(CB_CopenIndexShow(W("VelocityIndex"), nullptr, GwUD()), 0);
}

TEST_F(CopenNormTest, TakingTheChoicesStoresCodesExponentsAndTexts) {
    Open();
    for (const char* name : {"PositionUnit", "PositionIndex", "VelocityIndex", "AccelerationIndex"})
        W(name)->set_aux_text("781");
    CB_CopenUnitShow(W("PositionUnit"), nullptr, GwUD());
    CB_CopenIndexShow(W("PositionIndex"), nullptr, GwUD());
    CB_CopenIndexShow(W("VelocityIndex"), nullptr, GwUD());
    CB_CopenIndexShow(W("AccelerationIndex"), nullptr, GwUD());
    List("PositionUnit")->select_item(1);
    List("PositionIndex")->select_item(21);
    List("VelocityIndex")->select_item(21);
    CB_CopenIndexSelect_Velocity(W("VelocityIndex"), nullptr, GwUD());
    CB_CopenUnitSelect(W("PositionUnit"), nullptr, GwUD());
    EXPECT_EQ(List("AccelerationIndex")->first_selected(), 21);
    EXPECT_EQ(W("_PN_792")->text(), "mm");
    EXPECT_EQ(W("_PN_793")->text(), "mm/s");
    EXPECT_EQ(W("_PN_796")->text(), "mm/s2");
    for (const char* name : {"_PN_792", "_PN_793", "_PN_796"}) EXPECT_TRUE(IsWidgetChanged(W(name))) << name;
    Drive().ClearCapture();
    MarkBoxes();
    EXPECT_NE(CB_CopenTakeIt(W("Check"), nullptr, GwUD()), 0);
    EXPECT_TRUE(Boxes().empty());
    std::vector<std::string> writes;
    for (const std::string& heard : Heard()) {
        if (heard.rfind("W ", 0) == 0) writes.push_back(heard.substr(2, 5));
    }
    EXPECT_EQ(
        writes,
        (std::vector<std::string>{"20781", "20783", "20785", "20780", "20782", "20784", "20792", "20793", "20796"}));
    EXPECT_EQ(P(792).text, "mm");
    EXPECT_EQ(P(784).value & 0xFFFF, static_cast<uint32_t>(-3) & 0xFFFF);
    // Nothing chosen: the text box and nothing stored.
    List("PositionUnit")->select_item(0);
    Drive().ClearCapture();
    MarkBoxes();
    EXPECT_EQ(CB_CopenTakeIt(W("Check"), nullptr, GwUD()), 0);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"error: No position unit selected!"}));
    EXPECT_TRUE(Heard().empty());
}

TEST_F(CopenNormTest, ShowNorm1MakesTheTextsEditableForTheUserUnitOnly) {
    for (auto [code, editable] : {std::pair{255u, true}, std::pair{1u, false}}) {
        SCOPED_TRACE(code);
        P(781).value = code;
        Open();
        W("PositionUnit")->set_aux_text("781");
        EXPECT_EQ(CB_ShowNorm1(W("Check"), nullptr, GwUD()), 1);
        for (const char* name : {"_PN_792", "_PN_793", "_PN_796"}) EXPECT_EQ(W(name)->is_editable(), editable) << name;
        EXPECT_FALSE(W("AccelerationIndex")->is_visible());
        EXPECT_FALSE(W("AccelerationIndexNote")->is_visible());
        window_->destroy();
    }
    Open();
    W("PositionUnit")->set_aux_text("");
    EXPECT_EQ(CB_ShowNorm1(W("Check"), nullptr, GwUD()), 0);
}

TEST_F(CopenNormTest, CalculatedReferenceValue) {
    Open();
    EXPECT_EQ(CB_1_200_ShowCalcTREFvalue(W("_PN_792"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("_PN_792")->text(), "3.000000");
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20852").Times(sim::kForever));
    MarkBoxes();
    CB_1_200_ShowCalcTREFvalue(W("_PN_792"), nullptr, GwUD());
    EXPECT_EQ(W("_PN_792")->text(), "???");
}

}  // namespace
}  // namespace devicewintest
