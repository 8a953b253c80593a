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
        for (size_t i = 0; i < 4; ++i) W(names[i])->set_text(fields[i]);
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

}  // namespace
}  // namespace tuningtest
