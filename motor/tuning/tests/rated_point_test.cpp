// The rated-point calculation on a Pesco drive: the motor-data window's
// callback with its fields, the activity window and the result window, and
// the calculation's reads, limits, stored values, information boxes and
// failures on the virtual drive.
#include "motor/tuning/rated_point.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "motor/tuning/tests/tuning_fixture.h"
#include "platform/system/clock.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace tuningtest {
namespace {

constexpr char kMotorDataWindow[] =
    "edit _PN_155 { }\n edit _PN_158 { }\n edit _PN_852 { }\n edit _PN_157 { }\n button Calc { }";
constexpr char kResultWindowBody[] =
    " on show = CB_DvFctShowStandard\n edit _PN_840 { }\n edit _PN_155 { }\n edit _PN_158 { }\n"
    " edit _PN_154 { }\n edit _PN_157 { }\n edit _PN_852 { }";
// The rated data in the order the calculation sets them.
constexpr int kRatedData[] = {840, 155, 158, 154, 157, 852};

double Torque(double powerKw, double speed) { return powerKw * 1000.0 / (speed * 0.10471975803375244); }

class RatedPointTest : public TuningTest {
public:
    void OpenMotorData(bool online, const std::vector<std::string>& fields) {
        Define(kRatedPointWindowName, kResultWindowBody);
        OpenWindow(kMotorDataWindow, MakeContext(online));
        const char* names[] = {"_PN_155", "_PN_158", "_PN_852", "_PN_157"};
        for (size_t i = 0; i < fields.size(); ++i) W(names[i])->set_text(fields[i]);
        ClearCaptures();
        MarkBoxes();
    }
    std::vector<double> StoredRatedData() {
        std::vector<double> values;
        for (int number : kRatedData) values.push_back(Stored(number));
        return values;
    }
    OnOffBase* Base() { return contexts_.back()->Base.get(); }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const GwBoxRecord& box : NewBoxes()) texts.push_back(box.kind + ": " + box.text);
        return texts;
    }
};

TEST_F(RatedPointTest, AFieldWithoutAPositiveNumberChangesNothing) {
    const std::vector<std::string> good = {"400", "8", "4", "1450"};
    struct Case {
        size_t field;
        const char* text;
    } const cases[] = {{0, ""}, {1, ""}, {2, ""}, {3, ""}, {3, "0"}, {0, "abc"}, {2, "-4"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " \"" + c.text + "\"");
        std::vector<std::string> fields = good;
        fields[c.field] = c.text;
        OpenMotorData(true, fields);
        const std::vector<double> before = StoredRatedData();
        EXPECT_EQ(CB5_CalcRatedPoint(W("Calc"), nullptr, GwUD()), 0);
        EXPECT_TRUE(window_->is_shown());
        EXPECT_TRUE(Heard().empty());
        EXPECT_EQ(StoredRatedData(), before);
        EXPECT_TRUE(NewBoxes().empty());
        EXPECT_EQ(TheWindowHandler().FindByName(kRatedPointWindowName), nullptr);
        window_->destroy();
    }
}

TEST_F(RatedPointTest, TheResultWindowOpensOfflineAfterTheActivityWindow) {
    OpenMotorData(true, {"100", "4", "1", "500"});
    const uint64_t start = platform::TheClock().NowUs();
    bool activityAt1999 = false;
    gwtest::At(1999, [&] { activityAt1999 = ActivityWindowOpen; });
    EXPECT_EQ(CB5_CalcRatedPoint(W("Calc"), nullptr, GwUD()), 1);
    EXPECT_TRUE(activityAt1999);
    EXPECT_FALSE(ActivityWindowOpen);
    EXPECT_NE(NewLogText().find("Berechne Nenndaten"), std::string::npos);
    EXPECT_FALSE(window_->is_shown());
    // The first read comes after the 2000 ms of the activity window; the
    // result window reads nothing (the calculation's reads are its last).
    const std::vector<sim::HeardTelegram>& heard = Drive().Capture().Telegrams();
    ASSERT_FALSE(heard.empty());
    EXPECT_GE(heard.front().time_us - start, 2000000u);
    EXPECT_EQ(heard.back().text, "R 20849");
    EXPECT_TRUE(Writes().empty());
    GwCore* result = TheWindowHandler().FindByName(kRatedPointWindowName);
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->is_shown());
    EXPECT_GE(TheWindowHandler().IndexOf(result), 0);
    EXPECT_FALSE(TheWindowHandler().IsOnlineWindow(result));
    EXPECT_TRUE(Base()->IsOnline());
    // It shows the stored values: 100 V, 4 A, 1 kW, 500 /min, the torque.
    EXPECT_EQ(result->child("_PN_155")->text(), Base()->FormatDoubleValue(155, 100.0, false));
    EXPECT_EQ(result->child("_PN_157")->text(), Base()->FormatDoubleValue(157, 500.0, false));
    EXPECT_EQ(result->child("_PN_852")->text(), Base()->FormatDoubleValue(852, Stored(852), false));
    EXPECT_NEAR(Stored(852), Torque(1, 500), 1e-5);
    EXPECT_TRUE(NewBoxes().empty());
}

const std::vector<std::string> kModelReads = {
    "R 20397", "R 20844", "R 20841", "R 20842", "R 20843", "R 20845", "R 20846", "R 20847", "R 20848", "R 20849"};

TEST_F(RatedPointTest, TheCalculationReadsTheModelAndWritesNothing) {
    OpenMotorData(true, {});
    // 16 A asked, 12 A allowed: the limit takes its place.
    EXPECT_TRUE(CalcRatedPoint(Base(), 100.0, 16.0, 1.0, 500.0));
    EXPECT_EQ(Heard(), kModelReads);
    EXPECT_EQ(Stored(158), kCurrentLimit);
    EXPECT_EQ(DriveValue(158), 8.0f);
    EXPECT_TRUE(Base()->IsOnline());
}

TEST_F(RatedPointTest, StatusesOfFourRatedPoints) {
    struct Case {
        const char* name;
        double voltage, current, powerKw, speed;
        std::vector<std::string> boxes;
        double flux;
        double torque;  // stored 852
        double speedStored;
    } const cases[] = {
        {"fits", 100, 4, 1, 500, {}, 0.6161393396010196, Torque(1, 500), 500},
        {"short, speed kept",
         100,
         4,
         1,
         1450,
         {"info: Der geforderte Arbeitspunkt konnte nicht eingestellt werden.\nDas Drehmoment wurde reduziert. Sie "
          "können die Nenndrehzahl reduzieren, um das Drehmoment zu behalten\n"},
         0.19065369230625986,
         3.052732742475839,
         1450},
        {"short, lower speed",
         100,
         10,
         1,
         1450,
         {"info: Der geforderte Arbeitspunkt konnte nicht eingestellt werden.\nDas Drehmoment wurde reduziert. Sie "
          "können die Nenndrehzahl reduzieren, um das Drehmoment zu behalten\n"},
         0.10025203323320399,
         4.07971269148651,
         1355.6648645965042},
        {"reserve",
         200,
         8,
         1,
         500,
         {"info: Der gewählte Arbeitspunkt hat eine Spannungsreserve von 30 %.\nSie können Drehzahl und/oder "
          "Drehmoment erhöhen."},
         1.1608622582476282,
         Torque(1, 500),
         500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenMotorData(true, {});
        EXPECT_TRUE(CalcRatedPoint(Base(), c.voltage, c.current, c.powerKw, c.speed));
        EXPECT_EQ(BoxTexts(), c.boxes);
        // Single floats in the table.
        EXPECT_NEAR(Stored(840), c.flux, 1e-6 * c.flux);
        EXPECT_NEAR(Stored(852), c.torque, 1e-6 * c.torque);
        EXPECT_NEAR(Stored(157), c.speedStored, 1e-6 * c.speedStored);
        EXPECT_NEAR(Stored(155), c.voltage, 1e-6 * c.voltage);
        EXPECT_NEAR(Stored(158), c.current, 1e-6 * c.current);
        EXPECT_NEAR(Stored(154), c.powerKw, 1e-6 * c.powerKw);
        EXPECT_TRUE(Writes().empty());
        window_->destroy();
    }
}

// A value the table refuses stops the setting there: what comes before it in
// the order 840, 155, 158, 154, 157, 852 is set, nothing after it.
TEST_F(RatedPointTest, TheRatedDataAreSetInOrderUntilOneIsRefused) {
    for (size_t refused = 0; refused < 6; ++refused) {
        SCOPED_TRACE(kRatedData[refused]);
        OpenMotorData(true, {});
        Base()->GetEntry(kRatedData[refused])->maximum = 0;
        const std::vector<double> before = StoredRatedData();
        EXPECT_FALSE(CalcRatedPoint(Base(), 100.0, 4.0, 1.0, 500.0));
        const std::vector<double> after = StoredRatedData();
        for (size_t i = 0; i < 6; ++i) {
            if (i < refused) {
                EXPECT_NE(after[i], before[i]) << kRatedData[i];
            } else {
                EXPECT_EQ(after[i], before[i]) << kRatedData[i];
            }
        }
        ASSERT_EQ(NewBoxes().size(), 1u);
        EXPECT_EQ(NewBoxes()[0].kind, "error");
        EXPECT_TRUE(Base()->IsOnline());
        window_->destroy();
    }
}

TEST_F(RatedPointTest, AFailedReadOrAModelWithoutPolePairsSetsNothing) {
    struct Case {
        const char* name;
        int parameter;
        bool failRead;  // else the drive holds 0 there
        size_t boxes;
    } const cases[] = {
        {"failed read of the limit", 397, true, 1},
        {"failed read of the rotor resistance", 843, true, 1},
        {"no pole pairs", 844, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.failRead) {
            Drive().AddFault(sim::DriveFault::Nak(0x0004).For("20" + std::to_string(c.parameter)));
        } else {
            Drive().Table().Find(c.parameter)->value = F(0.0f);
        }
        OpenMotorData(true, {});
        const std::vector<double> before = StoredRatedData();
        EXPECT_FALSE(CalcRatedPoint(Base(), 100.0, 4.0, 1.0, 500.0));
        EXPECT_EQ(StoredRatedData(), before);
        EXPECT_EQ(NewBoxes().size(), c.boxes);
        if (c.boxes == 1) EXPECT_EQ(NewBoxes()[0].kind, "error");
        EXPECT_TRUE(Base()->IsOnline());
        EXPECT_TRUE(Writes().empty());
        EXPECT_EQ(Drive().FaultsLeft(), 0u);
        Drive().Table().Find(844)->value = F(2.0f);
        window_->destroy();
    }
}

// A motor whose model yields no finite operating point: with a stator
// resistance of 1000 Ohm the voltage never suffices and the lower speed has
// no real solution. Nothing is set, no box shows, the base stays online.
TEST_F(RatedPointTest, AModelWithoutAFiniteResultSetsNothing) {
    Drive().Table().Find(842)->value = F(1000.0f);
    OpenMotorData(true, {});
    const std::vector<double> before = StoredRatedData();
    EXPECT_FALSE(CalcRatedPoint(Base(), 100.0, 4.0, 1.0, 500.0));
    EXPECT_EQ(StoredRatedData(), before);
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_TRUE(Base()->IsOnline());
    EXPECT_EQ(Heard(), kModelReads);
}

}  // namespace
}  // namespace tuningtest
