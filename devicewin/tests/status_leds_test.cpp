// Status LEDs over parameter conditions.
#include <gtest/gtest.h>

#include <string>

#include "devicewin/status_leds.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

class LedTest : public DeviceWindowTest {
public:
    // 10 and 11: USIGN8 arrays of 4.
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        for (int n : {10, 11}) {
            sim::DriveParameter* p = table.PutFullRange(n, n == 10 ? "LA" : "LB", "USIGN8", 0);
            p->minimum = 0;
            p->maximum = 255;
            p->flags |= sim::kFlagArray;
            p->elements = {0, 0, 0, 0};
        }
        return table;
    }
    void SetUp() override {
        DeviceWindowTest::SetUp();
        for (const char* name : {"LED_ON", "LED_OFF", "LED_ERR", "LED_HIDE", "LED_NONE"})
            GwRcMgr::add_bitmap(name, 8, 8);
    }
    // A window with one LED of that condition; its bitmap after one tick.
    GwPicture* OpenLed(const std::string& condition, bool online = true) {
        OpenWindow("picture SwitchLED { bitmap = \"LED_NONE\"; user_data = \"" + condition + "\" }",
                   MakeContext(online));
        MarkBoxes();
        return dynamic_cast<GwPicture*>(W("SwitchLED"));
    }
    void Set(int n, int k, uint32_t v) { Drive().Table().Find(n)->elements[static_cast<size_t>(k)] = v; }
};

TEST_F(LedTest, ThePictureFollowsTheCondition) {
    struct Case {
        const char* condition;
        bool extended;
        uint32_t a;  // 10[0], or 10[2] for the indexed cases
        uint32_t b;  // 11 likewise
        const char* picture;
    };
    const Case cases[] = {
        {"10=1;11=0", false, 1, 0, "LED_OFF"},
        {"10=1;11=0", false, 1, 1, "LED_ON"},
        {"10=1;11=0", false, 0, 0, "LED_ON"},
        {"S10=1|11=1", true, 0, 1, "LED_ON"},
        {"S10=1|11=1", true, 0, 0, "LED_OFF"},
        {"S10=1&11=1", true, 1, 0, "LED_OFF"},
        {"S10=1&11=1", true, 1, 1, "LED_ON"},
        {"H10=1&11=1", true, 1, 1, "LED_OFF"},
        {"H10=1&11=1", true, 0, 1, "LED_ON"},
        {"X10=1", true, 0, 0, "LED_ON"},
        {"S10[2]=1&11=0", true, 1, 0, "LED_ON"},
        {"S10[2]=1&11=0", true, 1, 1, "LED_OFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.condition + std::string(" ") + std::to_string(c.a) + std::to_string(c.b));
        const int k = std::string(c.condition).find('[') != std::string::npos ? 2 : 0;
        for (int i = 0; i < 4; ++i) {
            Set(10, i, 9);
            Set(11, i, 9);
        }
        Set(10, k, c.a);
        Set(11, k, c.b);
        GwPicture* led = OpenLed(c.condition);
        if (c.extended) {
            CB_Timer_ShowLED_Extended(window_, nullptr, GwUD());
        } else {
            CB_Timer_ShowLED(window_, nullptr, GwUD());
        }
        EXPECT_EQ(led->bitmap(), c.picture);
        EXPECT_TRUE(NewBoxes().empty());
    }
}

TEST_F(LedTest, SyntaxErrorsWarnAndLeaveThePicture) {
    GwPicture* led = OpenLed("S10[2=1");
    CB_Timer_ShowLED_Extended(window_, nullptr, GwUD());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].kind, "warning");
    EXPECT_EQ(NewBoxes()[0].text,
              "SYSTEMERROR:\nSyntax error (fieldindex definition) in userdata of object SwitchLED used by function "
              "CB_Timer_ShowLED_Extended!\n\nIn case of recurrence call manufactor please!");
    EXPECT_EQ(led->bitmap(), "LED_NONE");

    led = OpenLed("S10=1+11=1");
    CB_Timer_ShowLED_Extended(window_, nullptr, GwUD());
    ASSERT_EQ(NewBoxes().size(), 1u);
    EXPECT_EQ(NewBoxes()[0].text,
              "SYSTEMERROR:\nInvalid link char in function Walk_ShowLED_Extended!\nIn case of recurrence call "
              "manufactor please!");
    EXPECT_EQ(led->bitmap(), "LED_NONE");

    led = OpenLed(std::string(257, '1'));
    CB_Timer_ShowLED(window_, nullptr, GwUD());
    CB_Timer_ShowLED_Extended(window_, nullptr, GwUD());
    EXPECT_EQ(led->bitmap(), "LED_NONE") << "a text of 257 characters is ignored";
}

TEST_F(LedTest, AbsentAndUnreadableParameters) {
    GwPicture* led = OpenLed("10=1;13=0");
    CB_Timer_ShowLED(window_, nullptr, GwUD());
    EXPECT_EQ(led->bitmap(), "LED_HIDE");
    EXPECT_EQ(window_->child("SwitchLED"), nullptr);
    led->set_bitmap("LED_NONE");
    Drive().ClearCapture();
    CB_Timer_ShowLED(window_, nullptr, GwUD());
    EXPECT_EQ(led->bitmap(), "LED_NONE") << "not polled again";
    EXPECT_TRUE(Heard().empty());

    for (int answer : {GwRESULT_OK, 2}) {
        SCOPED_TRACE(answer);
        led = OpenLed("S10=1");
        Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("700100000001").Times(sim::kForever));
        gwtest::AnswerBox(answer);
        CB_Timer_ShowLED_Extended(window_, nullptr, GwUD());
        EXPECT_EQ(led->bitmap(), "LED_ERR") << ::testing::PrintToString(Heard());
        ASSERT_EQ(NewBoxes().size(), 1u);
        EXPECT_EQ(NewBoxes()[0].kind, "error");
        EXPECT_EQ(window_->child("SwitchLED") != nullptr, answer == GwRESULT_OK);
    }
}

}  // namespace
}  // namespace devicewintest
