// A failed device access and the offer to uncouple all devices.
#include "app/services/device_error.h"

#include "app/services/program_flags.h"
#include "app/services/tests/services_fixture.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

class DeviceErrorTest : public ServicesTest {
protected:
    void SetUp() override {
        ServicesTest::SetUp();
        OpenFiles("[Main-Messages]\nMN_00005=Device error\nMN_00141=Uncouple\nMN_00142=Uncouple now\n");
        UseShippedDefinitions();
        MakeMainWindow();
        hooks.baseErrors[base] = "No acknowlege of device";
        hooks.basesOnBus[base] = true;
    }
    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const GwBoxRecord& box : gwtest::Boxes()) texts.push_back(box.kind + ": " + box.text);
        return texts;
    }
    ParaBase* base = FakeBase(1);
};

TEST_F(DeviceErrorTest, NumberZeroShowsNothing) {
    EXPECT_FALSE(ShowDeviceError(0, base));
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(DeviceErrorTest, ConfirmedErrorOrDeclinedUncouplingLetsTheCallerGoOn) {
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_TRUE(ShowDeviceError(5, base));
    gwtest::AnswerBox(GwRESULT_CANCEL);
    gwtest::AnswerBox(GwRESULT_NO);
    EXPECT_TRUE(ShowDeviceError(5, base));
    const std::vector<std::string> expected = {
        "error: No acknowlege of device!", "error: No acknowlege of device!", "question: Uncouple?"};
    EXPECT_EQ(BoxTexts(), expected);
    EXPECT_FALSE(DevicesUncoupled);
    EXPECT_FALSE(UncouplingPending);
}

TEST_F(DeviceErrorTest, BaseWithoutBusAsksNothingMore) {
    hooks.basesOnBus.clear();
    gwtest::AnswerBox(GwRESULT_CANCEL);
    EXPECT_TRUE(ShowDeviceError(5, base));
    EXPECT_EQ(gwtest::Boxes().size(), 1u);
}

TEST_F(DeviceErrorTest, UncouplingWaitsUnlessTheWriteLockHolderAgrees) {
    struct Case {
        bool lockHeld;
        int warningAnswer;  // 0: no warning expected
        bool pending;
        int uncoupled;
    };
    const Case cases[] = {
        {false, 0, true, 0},
        {true, GwRESULT_YES, false, 1},
        {true, GwRESULT_NO, true, 0},
    };
    for (const Case& c : cases) {
        hooks.writeLockHeld = c.lockHeld;
        hooks.uncoupleCalls = 0;
        DevicesUncoupled = false;
        UncouplingPending = false;
        gwtest::AnswerBox(GwRESULT_CANCEL);
        gwtest::AnswerBox(GwRESULT_YES);
        if (c.warningAnswer != 0) gwtest::AnswerBox(c.warningAnswer);
        EXPECT_FALSE(ShowDeviceError(5, base));
        EXPECT_TRUE(DevicesUncoupled);
        EXPECT_EQ(UncouplingPending, c.pending) << c.lockHeld << c.warningAnswer;
        EXPECT_EQ(hooks.uncoupleCalls, c.uncoupled) << c.lockHeld << c.warningAnswer;
    }
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
    EXPECT_EQ(BoxTexts().back(), "warning: Uncouple now!");
}

}  // namespace

namespace {

TEST_F(DeviceErrorTest, ErrorUnseenBehindAnOpenErrorBoxAsksNoQuestion) {
    ErrorBoxFlag = true;
    EXPECT_TRUE(ShowDeviceError(5, base));
    EXPECT_TRUE(gwtest::Boxes().empty());
    EXPECT_FALSE(DevicesUncoupled);
    EXPECT_FALSE(UncouplingPending);
}

}  // namespace
