// The local parameter list on the virtual drive: reading by the read rule,
// refreshing one pair, and the pairs it does not hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devicewin/local_parameter_list.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "sim/drive_faults.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

const LocalParameter kEntries[] = {{kToggles, 0}, {kToggles, 1}, {kSpeed, 0}};

class LocalListTest : public DeviceWindowTest {
public:
    void SetUp() override {
        DeviceWindowTest::SetUp();
        Drive().Table().Find(kToggles)->elements = {6, 9};
        Drive().Table().Find(kSpeed)->value = 42;
        Drive().ClearCapture();
    }
    ParaBase* Base(bool online) { return MakeContext(online)->Base.get(); }
};

TEST_F(LocalListTest, ReadsEveryPairByTheReadRule) {
    for (bool online : {true, false}) {
        SCOPED_TRACE(online ? "online" : "offline");
        Drive().ClearCapture();
        ParaBase* base = Base(online);
        LocalParameterList list(base, kEntries, 3);
        EXPECT_EQ(list.Count(), 3);
        if (online) {
            EXPECT_EQ(Heard(), (std::vector<std::string>{"R 700240000001", "R 700240000101", "R 20012"}));
            EXPECT_EQ(list.Value(list.IndexOf(kToggles, 0)), 6.0);
            EXPECT_EQ(list.Value(list.IndexOf(kToggles, 1)), 9.0);
            EXPECT_EQ(list.Value(list.IndexOf(kSpeed, 0)), 42.0);
        } else {
            EXPECT_TRUE(Heard().empty());
            double stored = 0.0;
            base->GetValueDouble(kSpeed, &stored, 0);
            EXPECT_EQ(list.Value(2), stored);
        }
        EXPECT_EQ(list.IndexOf(kToggles, 1), 1);
    }
}

TEST_F(LocalListTest, ReadValueReadsOnlyThatPairAgain) {
    LocalParameterList list(Base(true), kEntries, 3);
    Drive().Table().Find(kToggles)->elements = {6, 11};
    Drive().Table().Find(kSpeed)->value = 43;
    Drive().ClearCapture();
    EXPECT_TRUE(list.ReadValue(kToggles, 1));
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 700240000101"}));
    EXPECT_EQ(list.Value(1), 11.0);
    EXPECT_EQ(list.Value(2), 42.0);
}

TEST_F(LocalListTest, APairNotHeldIsReportedAndHasNoPosition) {
    LocalParameterList list(Base(true), kEntries, 3);
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(list.IndexOf(14, 0), -1);
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_EQ(NewBoxes()[0].text,
              "Parameter 14.0 is not member of local parameter list!\n Please contact your manufactor.");
    EXPECT_EQ(list.Value(-1), 0.0);
    Drive().ClearCapture();
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_FALSE(list.ReadValue(14, 0));
    EXPECT_TRUE(Heard().empty());
}

TEST_F(LocalListTest, AFailedReadEmptiesTheList) {
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20012").Times(sim::kForever));
    MarkBoxes();
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    LocalParameterList list(Base(true), kEntries, 3);
    EXPECT_EQ(list.Count(), 0);
    ASSERT_FALSE(NewBoxes().empty());
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    // Nothing left to index, and nothing read for it.
    EXPECT_EQ(list.IndexOf(kToggles, 0), -1);
    EXPECT_EQ(list.Value(list.IndexOf(kToggles, 0)), 0.0);
    EXPECT_EQ(list.Value(0), 0.0);
    Drive().ClearCapture();
    EXPECT_FALSE(list.ReadValue(kToggles, 0));
    EXPECT_TRUE(Heard().empty());
}

TEST_F(LocalListTest, AListOfNoEntriesReadsNothing) {
    LocalParameterList list(Base(true), kEntries, 0);
    EXPECT_TRUE(list.ReadAll());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(Heard().empty());
}

}  // namespace
}  // namespace devicewintest
