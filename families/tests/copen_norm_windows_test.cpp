// The family-5 norm windows on the virtual drive: the unit lists, taking the
// choices, the factor check with its lowering of the exponents, the changes
// between the pages, and the shipped definitions driven as a user would.
#include "families/copen_norm_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/services/window_handler.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "families/tests/shipped_definitions.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_ud.h"
#include "toolkit/testdriver/gw_test_driver.h"

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
        if (with852_) table.PutFullRange(852, "TPCT", "USIGN16", 150);
        for (int number : {432, 476, 482})
            table.PutFullRange(number, ("X" + std::to_string(number)).c_str(), "USIGN16", 0);
        return table;
    }
    sim::DriveParameter& P(int number) { return *Drive().Table().Find(number); }
    GwCore* Open(const std::string& body = kNormWindow) {
        OpenWindow(body, MakeContext(true));
        return W("Check");
    }
    // Opens the window and fills its lists from the drive's values.
    void OpenFilled(const std::string& body = kNormWindow) {
        Open(body);
        FillLists();
    }
    void FillLists() {
        const std::pair<const char*, const char*> lists[] = {
            {"PositionUnit", "781"}, {"PositionIndex", "780"}, {"VelocityIndex", "782"}, {"AccelerationIndex", "784"}};
        for (auto [name, number] : lists) {
            GwCore* list = window_->child(name);
            if (list == nullptr) continue;
            list->set_aux_text(number);
            if (std::string(name) == "PositionUnit") {
                CB_CopenUnitShow(list, nullptr, GwUD());
            } else {
                CB_CopenIndexShow(list, nullptr, GwUD());
            }
        }
    }
    void Select(int unitRow, int positionRow, int velocityRow) {
        List("PositionUnit")->select_item(unitRow);
        List("PositionIndex")->select_item(positionRow);
        List("VelocityIndex")->select_item(velocityRow);
    }
    // The codes of the parameters written since the capture was cleared.
    std::vector<int> Written() {
        std::vector<int> written;
        for (const std::string& heard : Heard()) {
            if (heard.rfind("W 20", 0) == 0) written.push_back(std::stoi(heard.substr(4, 3)));
        }
        return written;
    }
    std::vector<std::string> Marked() {
        std::vector<std::string> marked;
        for (const char* name : {"_PN_792", "_PN_793", "_PN_796"}) {
            GwCore* field = window_->child(name);
            if (field != nullptr && IsWidgetChanged(field)) marked.push_back(name);
        }
        return marked;
    }
    void Unmark() {
        for (const char* name : {"_PN_792", "_PN_793", "_PN_796"}) {
            if (GwCore* field = window_->child(name)) SetWidgetChanged(field, false);
        }
    }
    bool with852_ = true;
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
    Drive().ClearCapture();
    CB_TakeAndCheckNorm(W("Check"), nullptr, GwUD());
    // The list was read once.
    const std::vector<std::string> heard = Heard();
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "R 20786"), 1);
    EXPECT_EQ(P(791).elements, (std::vector<uint32_t>{1, 1}));
    EXPECT_EQ(P(794).elements, (std::vector<uint32_t>{1, 1}));
    EXPECT_EQ(P(792).text, "dm");
    EXPECT_EQ(P(793).text, " m/s");
    EXPECT_EQ(P(796).text, " m/s2");
}

// Lowering 780 by one step multiplies 789[0] by 10: up to 429496729 the
// product still fits 32 bits and both are stored; one more and neither is
// stored, message 121 is shown and the drive keeps its values.
TEST_F(CopenNormTest, LoweringStopsWhereTheRescaledLengthWouldOverflow) {
    P(786).value = 70000;
    P(790).elements = {1, 1};
    P(780).value = 0;
    P(782).value = 0;
    P(781).value = 1;
    P(789).elements = {429496729, 429496729};
    Open();
    Drive().ClearCapture();
    MarkBoxes();
    EXPECT_EQ(CB_TakeAndCheckNorm(W("Check"), nullptr, GwUD()), 0);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"info: The units were adapted!"}));
    EXPECT_EQ(P(780).value & 0xFFFF, 0xFFFFu);
    EXPECT_EQ(P(789).elements, (std::vector<uint32_t>{4294967290u, 429496729}));
    EXPECT_EQ(P(790).elements, (std::vector<uint32_t>{7000, 1}));
    window_->destroy();

    P(780).value = 0;
    P(789).elements = {429496730, 429496730};
    P(790).elements = {1, 1};
    const std::vector<sim::DriveParameter> before = {P(780), P(782), P(789), P(790), P(791), P(794)};
    Open();
    Drive().ClearCapture();
    MarkBoxes();
    EXPECT_EQ(CB_TakeAndCheckNorm(W("Check"), nullptr, GwUD()), 0);
    EXPECT_TRUE(Written().empty());
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"error: The unit cannot be represented!"}));
    const std::vector<sim::DriveParameter> after = {P(780), P(782), P(789), P(790), P(791), P(794)};
    for (size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(before[i].number);
        EXPECT_EQ(after[i].value, before[i].value);
        EXPECT_EQ(after[i].elements, before[i].elements);
    }
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
    // A failed read: error 5, the list as it was, result 1.
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20781"));
    MarkBoxes();
    EXPECT_EQ(CB_CopenUnitShow(W("PositionUnit"), nullptr, GwUD()), 1);
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{
                  "error: RS232 transmission error in parameter 781-U781 : \nDevice canceled last telegram!"}));
    EXPECT_EQ(List("PositionUnit")->first_selected(), 0);
    EXPECT_EQ(List("PositionUnit")->count(), 10);
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
    // A condition in the user data shows or hides the field first.
    EXPECT_EQ(CB_1_200_ShowCalcTREFvalue(W("_PN_792"), nullptr, GwUD("803 > 5")), 1);
    EXPECT_FALSE(W("_PN_792")->is_visible());
    EXPECT_EQ(W("_PN_792")->text(), "3.000000");
    CB_1_200_ShowCalcTREFvalue(W("_PN_792"), nullptr, GwUD("803 < 5"));
    EXPECT_TRUE(W("_PN_792")->is_visible());
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20852").Times(sim::kForever));
    MarkBoxes();
    CB_1_200_ShowCalcTREFvalue(W("_PN_792"), nullptr, GwUD());
    EXPECT_EQ(W("_PN_792")->text(), "???");
}

using Callback = int (*)(GwCore*, GwEvent*, GwUD);

struct ChoiceCase {
    const char* List;
    Callback Select;
    int Row;
    std::vector<std::string> Marked;
    const char* Note;  // the list's note after the choice
};

TEST_F(CopenNormTest, ChoicesMarkTheirUnitTextsAndFollowTheLists) {
    const ChoiceCase cases[] = {
        {"PositionIndex", CB_CopenIndexSelect, 15, {"_PN_792"}, "kilo"},
        {"VelocityIndex", CB_CopenIndexSelect, 24, {"_PN_793"}, "micro"},
        {"AccelerationIndex", CB_CopenIndexSelect, 18, {"_PN_796"}, ""},
        {"VelocityIndex", CB_CopenIndexSelect_Velocity, 20, {"_PN_793", "_PN_796"}, "centi"},
        {"PositionUnit", CB_CopenUnitSelect, 2, {"_PN_792", "_PN_793", "_PN_796"}, "Revolutions"},
    };
    OpenFilled();
    Select(1, 21, 21);
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(std::string(c.List) + " row " + std::to_string(c.Row));
        Unmark();
        List(c.List)->select_item(c.Row);
        MarkBoxes();
        EXPECT_EQ(c.Select(W(c.List), nullptr, GwUD()), 1);
        EXPECT_TRUE(Boxes().empty());
        EXPECT_EQ(Marked(), c.Marked);
        EXPECT_EQ(W(std::string(c.List) + "Note")->text(), c.Note);
    }
    // The velocity choice mirrored its row; the texts follow the lists.
    EXPECT_EQ(List("AccelerationIndex")->first_selected(), 20);
    EXPECT_EQ(W("_PN_792")->text(), "krev");
    EXPECT_EQ(W("_PN_793")->text(), "crev/s");
    EXPECT_EQ(W("_PN_796")->text(), "crev/s2");
    EXPECT_FALSE(W("_PN_792")->is_editable());
    // The user unit: editable and empty texts, whatever the exponents.
    List("PositionUnit")->select_item(9);
    CB_CopenUnitSelect(W("PositionUnit"), nullptr, GwUD());
    for (const char* name : {"_PN_792", "_PN_793", "_PN_796"}) {
        EXPECT_TRUE(W(name)->is_editable()) << name;
        EXPECT_EQ(W(name)->text(), "") << name;
    }
    EXPECT_EQ(W("PositionUnitNote")->text(), "Defined by the user");
}

TEST_F(CopenNormTest, ChoicesInAWindowWithoutTheirWidgets) {
    // Without "AccelerationIndex" the velocity choice does nothing.
    std::string body = kNormWindow;
    body.replace(body.find("combo AccelerationIndex { }"), 27, "");
    OpenFilled(body);
    Select(1, 21, 21);
    CB_CopenUnitSelect(W("PositionUnit"), nullptr, GwUD());
    Unmark();
    W("VelocityIndexNote")->set_text("as before");
    List("VelocityIndex")->select_item(18);
    EXPECT_EQ(CB_CopenIndexSelect_Velocity(W("VelocityIndex"), nullptr, GwUD()), 1);
    EXPECT_TRUE(Marked().empty());
    EXPECT_EQ(W("_PN_793")->text(), "mm/s");
    EXPECT_EQ(W("VelocityIndexNote")->text(), "as before");
    window_->destroy();
    // Without "_PN_793" the texts cannot be composed: message 7.
    body = kNormWindow;
    body.replace(body.find("edit _PN_793 { }"), 16, "");
    OpenFilled(body);
    Select(1, 21, 21);
    MarkBoxes();
    CB_CopenUnitSelect(W("PositionUnit"), nullptr, GwUD());
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"error: A window or one of its elements could not be loaded!"}));
    EXPECT_EQ(W("_PN_792")->text(), "");
}

struct TakeCase {
    const char* Name;
    int UnitRow;
    int PositionRow;
    int VelocityRow;
    const char* Refused;  // telegram code, or empty
    int Result;
    std::vector<std::string> Boxes;
    std::vector<int> Written;
};

TEST_F(CopenNormTest, TakingStopsAtAMissingChoiceOrARefusedStore) {
    const TakeCase cases[] = {
        {"no position exponent", 1, 0, 21, "", 0, {"error: No position exponent selected!"}, {781, 783, 785}},
        {"no velocity exponent", 1, 21, 0, "", 0, {"error: No velocity exponent selected!"}, {781, 783, 785, 780}},
        {"783 refused",
         1,
         21,
         21,
         "20783",
         0,
         {"error: RS232 transmission error in parameter 783-U783 : \nInvalid writeaccess to parameter!"},
         {781, 783}},
    };
    for (const TakeCase& c : cases) {
        SCOPED_TRACE(c.Name);
        OpenFilled();
        Select(c.UnitRow, c.PositionRow, c.VelocityRow);
        CB_CopenUnitSelect(W("PositionUnit"), nullptr, GwUD());
        if (*c.Refused != '\0') Drive().AddFault(sim::DriveFault::Nak(sim::kStatusWriteAccess).For(c.Refused));
        Drive().ClearCapture();
        MarkBoxes();
        EXPECT_EQ(CB_CopenTakeIt(W("Check"), nullptr, GwUD()), c.Result);
        EXPECT_EQ(Boxes(), c.Boxes);
        EXPECT_EQ(Written(), c.Written);
        window_->destroy();
    }
}

TEST_F(CopenNormTest, UserUnitTextsAreTakenAsTheWindowsOtherValues) {
    OpenFilled();
    Select(9, 21, 21);
    CB_CopenUnitSelect(W("PositionUnit"), nullptr, GwUD());
    Unmark();
    // Typed by the user: two of the three texts.
    W("_PN_792")->set_text("dots");
    SetWidgetChanged(W("_PN_792"), true);
    W("_PN_793")->set_text("dots/s");
    SetWidgetChanged(W("_PN_793"), true);
    Drive().ClearCapture();
    EXPECT_NE(CB_CopenTakeIt(W("Check"), nullptr, GwUD()), 0);
    EXPECT_EQ(Written(), (std::vector<int>{781, 783, 785, 780, 782, 784, 792, 793}));
    EXPECT_EQ(P(781).value, 255u);
    EXPECT_EQ(P(785).value, 255u);
    EXPECT_EQ(P(792).text, "dots");
    EXPECT_EQ(P(793).text, "dots/s");
}

struct PageCase {
    const char* Name;
    uint32_t P786;
    int P780;
    bool Closed;       // closed through the parent's refresh
    bool UnitsOpened;  // "5_Norm1" opened in its place
};

constexpr char kNormPages[] =
    "dialogframe 5_Norm1 {\n rect = 0, 0, 400, 300\n combo PositionUnit { }\n combo PositionIndex { }\n"
    " combo VelocityIndex { }\n combo AccelerationIndex { }\n edit _PN_792 { }\n edit _PN_793 { }\n"
    " edit _PN_796 { }\n button OK { }\n}\n"
    "dialogframe 5_Norm2 {\n rect = 0, 0, 400, 300\n button OK { }\n}\n";

TEST_F(CopenNormTest, FactorPageOkClosesOrReturnsToTheUnits) {
    ASSERT_TRUE(GwRcMgr::use_text(kNormPages, "norm-pages.cgw"));
    const PageCase cases[] = {
        {"stored", 4096, 0, true, false},
        {"exponent lowered", 70000, 0, false, true},
        {"no factor", 70000, -18, false, true},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.Name);
        P(786).value = c.P786;
        P(789).elements = {1, 1};
        P(790).elements = {1, 1};
        P(780).value = static_cast<uint32_t>(c.P780);
        P(782).value = static_cast<uint32_t>(c.P780);
        GwRef<> caller = OpenWindow("button Open { }\n edit Factor_PN_790[0] { }\n on show = CB_DvFctShowStandard",
                                    MakeContext(true));
        TheWindowHandler().Add(caller.get(), 1);
        CB_CallDeviceWindow(W("Open"), nullptr, GwUD("5_Norm2"));
        GwRef<> page = TheWindowHandler().FindByName("5_Norm2");
        ASSERT_TRUE(page);
        MarkBoxes();
        EXPECT_EQ(CB_OkAndCheckNorm(page->child("OK"), nullptr, GwUD()), 1);
        EXPECT_EQ(TheWindowHandler().FindByName("5_Norm2"), nullptr);
        EXPECT_FALSE(page);
        GwCore* units = TheWindowHandler().FindByName("5_Norm1");
        EXPECT_EQ(units != nullptr, c.UnitsOpened);
        if (units != nullptr) EXPECT_EQ(units->parent(), caller.get());
        // The caller was redrawn with the stored factor.
        if (c.Closed) EXPECT_EQ(caller->child("Factor_PN_790[0]")->text(), "4096");
        TheWindowHandler().CloseAll();
        caller->destroy();
    }
}

TEST_F(CopenNormTest, UnitsOkTakesThenChangesToTheFactorPage) {
    ASSERT_TRUE(GwRcMgr::use_text(kNormPages, "norm-pages.cgw"));
    for (int unitRow : {1, 0}) {
        SCOPED_TRACE(unitRow);
        GwRef<> caller = OpenWindow("button Open { }", MakeContext(true));
        TheWindowHandler().Add(caller.get(), 1);
        CB_CallDeviceWindow(W("Open"), nullptr, GwUD("5_Norm1"));
        GwRef<> units = TheWindowHandler().FindByName("5_Norm1");
        ASSERT_TRUE(units);
        window_ = units.get();
        FillLists();
        Select(unitRow, 21, 21);
        Drive().ClearCapture();
        MarkBoxes();
        EXPECT_EQ(CB_CopenOK_AndChangeDeviceWindow(W("OK"), nullptr, GwUD("5_Norm2")), 1);
        EXPECT_EQ(
            Boxes(),
            unitRow == 0 ? std::vector<std::string>{"error: No position unit selected!"} : std::vector<std::string>{});
        EXPECT_EQ(Written().size(), unitRow == 0 ? 0u : 6u);
        EXPECT_FALSE(units);
        GwCore* page = TheWindowHandler().FindByName("5_Norm2");
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->parent(), caller.get());
        EXPECT_TRUE(page->is_visible());
        TheWindowHandler().CloseAll();
        caller->destroy();
    }
    // Changing alone: the named window opens from the caller's parent and the
    // calling window closes.
    GwRef<> caller = OpenWindow("button Open { }", MakeContext(false));
    TheWindowHandler().Add(caller.get(), 0);
    CB_CallDeviceWindow(W("Open"), nullptr, GwUD("5_Norm2"));
    GwRef<> page = TheWindowHandler().FindByName("5_Norm2");
    ASSERT_TRUE(page);
    EXPECT_EQ(CB_ChangeDeviceWindow(page->child("OK"), nullptr, GwUD("5_Norm1")), 1);
    EXPECT_FALSE(page);
    GwCore* units = TheWindowHandler().FindByName("5_Norm1");
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(units->parent(), caller.get());
    EXPECT_FALSE(TheWindowHandler().IsOnlineWindow(units));
}

TEST_F(CopenNormTest, FactorCheckWithAFailedListRead) {
    P(786).value = 4096;
    P(790).elements = {1, 1};
    Open();
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20432").Times(sim::kForever));
    Drive().ClearCapture();
    MarkBoxes();
    EXPECT_EQ(CB_TakeAndCheckNorm(W("Check"), nullptr, GwUD()), 1);
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{
                  "error: RS232 transmission error in parameter 432-X432 : \nDevice canceled last telegram!"}));
    // The take-over's refresh, then the list once up to the failed read;
    // nothing written.
    const std::vector<std::string> heard = Heard();
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.back(), "R 20432");
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "R 20786"), 1);
    EXPECT_TRUE(Written().empty());
    EXPECT_EQ(P(790).elements, (std::vector<uint32_t>{1, 1}));
}

TEST_F(CopenNormTest, AFailedStoreWhileLoweringEndsTheCheck) {
    // The drive refuses exponents below 0, so the lowering from 0 to -1
    // cannot be stored: the check ends there instead of lowering again.
    P(786).value = 70000;
    P(789).elements = {1, 1};
    P(790).elements = {1, 1};
    P(780).value = 0;
    P(782).value = 0;
    P(780).minimum = 0;
    Open();
    Drive().ClearCapture();
    MarkBoxes();
    EXPECT_EQ(CB_TakeAndCheckNorm(W("Check"), nullptr, GwUD()), 0);
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{
                  "error: RS232 transmission error in parameter 780-E780 : \nInvalid new value for parameter!"}));
    EXPECT_EQ(P(780).value, 0u);
    EXPECT_EQ(P(789).elements, (std::vector<uint32_t>{1, 1}));
    EXPECT_EQ(P(790).elements, (std::vector<uint32_t>{1, 1}));
}

// The callbacks the shipped norm windows bind beside the device windows' own.
const GwFuncDesc kNormCallbacks[] = {
    {"CB_ShowNorm1", CB_ShowNorm1},
    {"CB_CopenUnitShow", CB_CopenUnitShow},
    {"CB_CopenUnitSelect", CB_CopenUnitSelect},
    {"CB_CopenIndexShow", CB_CopenIndexShow},
    {"CB_CopenIndexSelect", CB_CopenIndexSelect},
    {"CB_CopenIndexSelect_Velocity", CB_CopenIndexSelect_Velocity},
    {"CB_CopenTakeIt", CB_CopenTakeIt},
    {"CB_CopenOK_AndChangeDeviceWindow", CB_CopenOK_AndChangeDeviceWindow},
    {"CB_TakeAndCheckNorm", CB_TakeAndCheckNorm},
    {"CB_OkAndCheckNorm", CB_OkAndCheckNorm},
    {"CB_1_200_ShowCalcTREFvalue", CB_1_200_ShowCalcTREFvalue},
    {nullptr, nullptr},
};

TEST_F(CopenNormTest, ShippedWindowsGoFromTheUnitsToTheFactorsAndBack) {
    GwRcMgr::use_func_desc(kNormCallbacks);
    ASSERT_TRUE(UseShippedFiles({"pesco.cgw"}));
    P(781).value = 1;
    P(780).value = static_cast<uint32_t>(-3);
    P(782).value = static_cast<uint32_t>(-3);
    P(786).value = 4096;
    P(789).elements = {10, 1};
    P(790).elements = {2048, 5};
    GwRef<> caller = OpenWindow("button Open { }", MakeContext(true));
    TheWindowHandler().Add(caller.get(), 1);
    CB_CallDeviceWindow(W("Open"), nullptr, GwUD("5_Norm1"));
    GwRef<> units = TheWindowHandler().FindByName("5_Norm1");
    ASSERT_TRUE(units);
    // Shown: the stored choices, their notes, the acceleration list hidden.
    EXPECT_EQ(gwtest::Text(units->child("PositionUnit")), "m");
    EXPECT_EQ(gwtest::Text(units->child("PositionUnitNote")), "Length");
    EXPECT_EQ(gwtest::Text(units->child("PositionIndexNote")), "milli");
    EXPECT_FALSE(units->child("AccelerationIndex")->is_visible());
    EXPECT_FALSE(units->child("_PN_792")->is_editable());

    // "Next" stores the choices and opens the factors in its place.
    Drive().ClearCapture();
    EXPECT_TRUE(gwtest::Click(units->child("OK")));
    EXPECT_EQ(Written(), (std::vector<int>{781, 783, 785, 780, 782, 784}));
    EXPECT_FALSE(units);
    GwRef<> factors = TheWindowHandler().FindByName("5_Norm2");
    ASSERT_TRUE(factors);
    EXPECT_EQ(factors->parent(), caller.get());
    EXPECT_EQ(gwtest::Text(factors->child("_PN_790[0]")), "2048");

    // A typed resolution too large for the position factor: the exponent is
    // lowered, and OK goes back to the units with the finer unit.
    EXPECT_TRUE(gwtest::Replace(factors->child("_PN_786"), "700000"));
    MarkBoxes();
    EXPECT_TRUE(gwtest::Click(factors->child("OK")));
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"info: The units were adapted!"}));
    EXPECT_EQ(P(786).value, 700000u);
    EXPECT_EQ(P(780).value & 0xFF, static_cast<uint32_t>(-6) & 0xFF);
    EXPECT_EQ(P(789).elements, (std::vector<uint32_t>{10000, 1}));
    EXPECT_EQ(P(792).text, "um");
    EXPECT_FALSE(factors);
    units = TheWindowHandler().FindByName("5_Norm1");
    ASSERT_TRUE(units);
    EXPECT_EQ(gwtest::Text(units->child("PositionIndex")), "E-6");
    EXPECT_EQ(gwtest::Text(units->child("PositionIndexNote")), "micro");
}

class CopenNormWithout852Test : public CopenNormTest {
public:
    CopenNormWithout852Test() { with852_ = false; }
};

TEST_F(CopenNormWithout852Test, CalculatedReferenceValueNeedsBothParameters) {
    Open();
    W("_PN_792")->set_text("x");
    EXPECT_EQ(CB_1_200_ShowCalcTREFvalue(W("_PN_792"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("_PN_792")->text(), "???");
}

}  // namespace
}  // namespace devicewintest
