// The linear-drive calculation of families 4 and 5 on a virtual drive: the
// rotary parameters shown from a linear motor's data sheet, the reads before
// the calculation, and the inputs that refuse it.
#include "families/linear_drive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_changes.h"
#include "parameters/parabase/on_off_base.h"
#include "sim/drive_faults.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

// Shown by family 4, family 5, or both.
const std::vector<int> kRuvexRows = {813, 157, 856, 158, 852, 853, 803, 160, 817, 840, 842, 851, 432, 430, 844};
const std::vector<int> kPescoRows = {813, 157, 158, 852, 803, 160, 817, 840, 842, 841, 432, 430, 844};
const std::vector<int> kRuvexReadOnly = {153, 155, 154, 156, 800, 802};
const std::vector<int> kPescoReadOnly = {153, 155, 154, 156, 800, 801};
const int kRealRows[] = {158, 852, 853, 803, 160, 817, 840, 842, 851, 841};
const int kWholeRows[] = {813, 157, 856, 432, 844, 431, 155, 154, 156, 800, 801, 802};

// The data sheet of the tests: N = 2 x 1000 / 32 x 60 = 3750 rpm.
const std::map<std::string, std::string> kDataSheet = {
    {"MagnetPitch", "32"},
    {"MaxSpeed", "2"},
    {"ContCurrent", "3"},
    {"ContForce", "50"},
    {"MaxCurrent", "9"},
    {"MaxForce", "150"},
    {"WeightCoil", "1000"},
    {"BackEMF", "20"},
    {"ResistancePerPhase", "1.5"},
    {"InductancePerPhase", "12"},
    {"PeriodEncoder", "4"},
    {"OneMagnetPitch", "1"},
};

// The motor window of both families; `without` names a widget left out.
std::string Body(const std::string& without = "") {
    std::string body = "button Calc { }\n button BT_TakeIt { }\n";
    for (const char* name : kLinearInputNames) {
        if (name != without) body += " edit " + std::string(name) + " { }\n";
    }
    for (int n : {813, 157, 856, 158, 852, 853, 803, 160, 817, 840, 842, 851, 841, 432, 844, 431}) {
        const std::string name = "_PN_" + std::to_string(n);
        if (name != without) body += " edit " + name + " { }\n";
    }
    body += " combo _PN_430 { }\n";
    return body;
}

using Calc = int (*)(GwCore*, GwEvent*, GwUD);

class LinearDriveTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        for (int n : kRealRows) {
            sim::DriveParameter* p = table.PutFullRange(n, "REAL", "FLOAT32", maintest::FloatBits(1.0f));
            p->minimum = maintest::FloatBits(-1e6f);
            p->maximum = maintest::FloatBits(1e6f);
        }
        for (int n : kWholeRows) table.PutFullRange(n, "WHOLE", "USIGN16", 1)->maximum = 65535;
        sim::DriveParameter* control = table.PutFullRange(430, "CTYPE", "USIGN8", 3);
        control->maximum = 9;
        return table;
    }
    // The motor window with the data sheet typed in, `changes` applied.
    void Open(bool online, const std::map<std::string, std::string>& changes = {}, const std::string& without = "") {
        MarkBoxes();
        OpenWindow(Body(without), MakeContext(online));
        for (auto [name, text] : kDataSheet) {
            if (name != without) W(name)->set_text(changes.count(name) != 0 ? changes.at(name) : text);
        }
        auto* control = dynamic_cast<GwCombo*>(W("_PN_430"));
        for (const char* item : {"Speed", "Torque", "Position"}) control->append(item);
        control->select_item(2);
        W("BT_TakeIt")->disable();
        ClearCaptures();
    }
    std::string Text(int n) { return W("_PN_" + std::to_string(n))->text(); }
    double Value(int n) { return std::atof(Text(n).c_str()); }
    std::vector<std::string> Box() {
        std::vector<std::string> boxes;
        for (const GwBoxRecord& box : NewBoxes()) boxes.push_back(box.caption + ": " + box.text);
        return boxes;
    }
    // Whether no output field was touched.
    void ExpectNothingShown() {
        for (int n : kRuvexRows) {
            const GwCore* field = window_->child("_PN_" + std::to_string(n));
            EXPECT_TRUE(field == nullptr || !IsWidgetChanged(field)) << n;
        }
        EXPECT_EQ(Text(813), "");
        EXPECT_FALSE(W("BT_TakeIt")->is_enabled());
    }
};

std::vector<std::string> Reads(const std::vector<int>& shown, const std::vector<int>& more) {
    std::vector<std::string> reads;
    for (const auto* list : {&shown, &more}) {
        for (int n : *list) reads.push_back("R 20" + std::to_string(n));
    }
    return reads;
}

TEST_F(LinearDriveTest, RotaryParametersOfBothFamilies) {
    struct Case {
        int family;
        Calc calc;
        const std::vector<int>& rows;
        const std::vector<int>& readOnly;
        std::map<int, std::string> texts;
    };
    const Case cases[] = {
        {4,
         CB4_CalcLinDrive,
         kRuvexRows,
         kRuvexReadOnly,
         {{813, "3750"}, {157, "3750"}, {856, "3750"}, {432, "8000"}, {851, "0.012"}, {430, "0"}, {844, "1"}}},
        {5,
         CB5_CalcLinDrive,
         kPescoRows,
         kPescoReadOnly,
         {{813, "100"}, {157, "3750"}, {430, "4"}, {841, "0.012"}, {432, "8000"}, {844, "1"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        Open(true);
        EXPECT_EQ(c.calc(W("Calc"), nullptr, GwUD()), 1);
        EXPECT_TRUE(Box().empty());
        for (auto [n, text] : c.texts) EXPECT_EQ(Text(n), text) << n;
        // K = 20 / (1000 / 32 x 2 pi); J = (2 / (3750 x 2 pi / 60))^2 x 1000.
        const double k = 20.0 / (1000.0 / 32.0 * 6.283185307179586);
        const double j = (2.0 / (3750.0 * 0.10471975511965977)) * (2.0 / (3750.0 * 0.10471975511965977)) * 1000.0;
        EXPECT_NEAR(Value(840), k, 1e-6);
        EXPECT_NEAR(Value(852), std::sqrt(2.0) * 3.0 * k, 1e-6);
        EXPECT_NEAR(Value(160), j, 1e-6);
        EXPECT_NEAR(Value(817), 2.0 * Value(160), 2e-6);
        EXPECT_EQ(Text(842), "1.5");
        if (c.family == 4) {
            EXPECT_EQ(Text(803), Text(852));
            EXPECT_NEAR(Value(853), std::sqrt(2.0) * 9.0 * k, 1e-6);
            EXPECT_EQ(Text(841), "");  // not a family-4 row
        } else {
            EXPECT_EQ(Text(803), contexts_.back()->Base->FormatDoubleValue(803, 141.42135623730951, false));
            EXPECT_EQ(Text(856), "");
            EXPECT_EQ(Text(853), "");
        }
        for (int n : c.rows) EXPECT_TRUE(IsWidgetChanged(W("_PN_" + std::to_string(n)))) << n;
        EXPECT_TRUE(W("BT_TakeIt")->is_enabled());
        // The table was read in its order; nothing is written before the
        // take-over.
        EXPECT_EQ(Heard(), Reads(c.rows, c.readOnly));
        window_->destroy();
    }
}

TEST_F(LinearDriveTest, OfflineTheValuesAreShownAllTheSame) {
    Open(false, {{"MaxSpeed", "0,5"}, {"MagnetPitch", "8"}});
    CB4_CalcLinDrive(W("Calc"), nullptr, GwUD());
    EXPECT_EQ(Text(157), "3750");
    EXPECT_EQ(Text(432), "2000");
    EXPECT_TRUE(Heard().empty());
    EXPECT_TRUE(Box().empty());
}

TEST_F(LinearDriveTest, InputsThatRefuseTheCalculation) {
    struct Case {
        const char* what;
        std::map<std::string, std::string> changes;
        std::string without;
        const char* box;
    };
    const char* kMissing = "Error: The window is incomplete: one of its elements is missing!";
    const char* kEmpty = "Error: An input field is empty!";
    const Case cases[] = {
        {"empty ContForce", {{"ContForce", ""}}, "", kEmpty},
        {"empty MaxForce", {{"MaxForce", ""}}, "", kEmpty},
        {"missing input", {}, "BackEMF", kMissing},
        {"missing output", {}, "_PN_856", kMissing},
        {"zero magnet pitch", {{"MagnetPitch", "0"}}, "", kEmpty},
        {"zero pitches per period", {{"OneMagnetPitch", "0,0"}}, "", kEmpty},
        {"zero encoder period", {{"PeriodEncoder", "0"}}, "", kEmpty},
        {"zero speed", {{"MaxSpeed", "abc"}}, "", kEmpty},
        {"infinite coil mass", {{"WeightCoil", "inf"}}, "", kEmpty},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open(true, c.changes, c.without);
        EXPECT_EQ(CB4_CalcLinDrive(W("Calc"), nullptr, GwUD()), 1);
        EXPECT_EQ(Box(), std::vector<std::string>{c.box});
        EXPECT_TRUE(NewBoxes().empty() || NewBoxes()[0].parent == "MainWindow.DevWin");
        ExpectNothingShown();
        EXPECT_TRUE(Heard().empty());
        window_->destroy();
    }
}

TEST_F(LinearDriveTest, AFailedReadIsReportedAndEveryFieldStillFilled) {
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20852").Times(sim::kForever));
    Open(true);
    CB5_CalcLinDrive(W("Calc"), nullptr, GwUD());
    const std::vector<GwBoxRecord> boxes = NewBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Device access error");
    EXPECT_NE(boxes[0].text.find("852"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(boxes[0].parent, "MainWindow.DevWin");
    for (int n : kPescoRows) EXPECT_TRUE(IsWidgetChanged(W("_PN_" + std::to_string(n)))) << n;
    EXPECT_EQ(Text(157), "3750");
    EXPECT_NE(Text(852), "");
}

TEST_F(LinearDriveTest, RuvexResetsTheControlTypeWhenItsSourceChanged) {
    for (bool sourceChanged : {false, true}) {
        SCOPED_TRACE(sourceChanged);
        Open(true);
        SetWidgetChanged(W("_PN_431"), sourceChanged);
        CB4_CalcLinDrive(W("Calc"), nullptr, GwUD());
        EXPECT_EQ(dynamic_cast<GwCombo*>(W("_PN_430"))->selected_index(), sourceChanged ? 0 : 2);
        window_->destroy();
    }
    // Family 5 never does.
    Open(true);
    SetWidgetChanged(W("_PN_431"), true);
    CB5_CalcLinDrive(W("Calc"), nullptr, GwUD());
    EXPECT_EQ(dynamic_cast<GwCombo*>(W("_PN_430"))->selected_index(), 2);
}

TEST_F(LinearDriveTest, WithoutAContextNothingHappens) {
    OpenWindow(Body(), nullptr);
    for (const auto& [name, text] : kDataSheet) W(name)->set_text(text);
    MarkBoxes();
    EXPECT_EQ(CB4_CalcLinDrive(W("Calc"), nullptr, GwUD()), 1);
    EXPECT_EQ(CB5_CalcLinDrive(W("Calc"), nullptr, GwUD()), 1);
    EXPECT_EQ(Text(157), "");
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(LinearDriveTest, ShippedLinearMotorWindowsCalculateAndTakeOver) {
    static const GwFuncDesc kCalcCallbacks[] = {
        {"CB4_CalcLinDrive", CB4_CalcLinDrive},
        {"CB5_CalcLinDrive", CB5_CalcLinDrive},
        {nullptr, nullptr},
    };
    GwRcMgr::use_func_desc(kCalcCallbacks);
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/ruvex.cgw").c_str()));
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/pesco.cgw").c_str()));
    for (const char* name : {"4_LinearMotor", "5_LinearMotor"}) {
        SCOPED_TRACE(name);
        GwCore* window = GwRcMgr::load(mainWindow_, name, 1);
        ASSERT_NE(window, nullptr);
        window->set_user_data(GwUD(static_cast<void*>(MakeContext(true))));
        window->show();
        for (const auto& [input, text] : kDataSheet) window->child(input)->set_text(text);
        MarkBoxes();
        ClearCaptures();
        ASSERT_TRUE(gwtest::Click(window->child("Calc")));
        EXPECT_TRUE(NewBoxes().empty());
        EXPECT_EQ(window->child("_PN_157")->text(), "3750");
        EXPECT_EQ(window->child("_PN_432")->text(), "8000");
        EXPECT_TRUE(window->child("BT_TakeIt")->is_enabled());
        // The take-over writes the shown values to the drive.
        ASSERT_TRUE(gwtest::Click(window->child("BT_TakeIt")));
        EXPECT_EQ(Drive().Table().Find(157)->value, 3750u);
        EXPECT_EQ(Drive().Table().Find(432)->value, 8000u);
        window->destroy();
    }
}

}  // namespace
}  // namespace devicewintest
