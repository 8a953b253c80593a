// The widget-name grammar: binding, offset binding through parameter 300,
// element index, the markers, and namesakes in a parameter group.
#include <gtest/gtest.h>

#include <string>

#include "devicewin/tests/devicewin_fixture.h"
#include "devicewin/widget_name.h"
#include "parameters/parabase/tests/parabase_fixture.h"
#include "sim/drive_faults.h"

namespace devicewintest {
namespace {

TEST_F(DeviceWindowTest, NameGrammarBindsParameterAndElement) {
    ParaBase* offline = MakeContext(false)->Base.get();
    ParaBase* unreadable = MakeContext(false)->Base.get();
    unreadable->GetEntry(kGroupIndex)->valid = 0;
    struct Case {
        const char* name;
        ParaBase* base;
        int parameter;
        int element;
        bool offset;
    };
    const std::string longName = "Speed_PN_12" + std::string(kMaxBindingNameLength - 10, 'x');
    const std::string limitName = longName.substr(0, kMaxBindingNameLength);
    const Case cases[] = {
        {"Speed_PN_12", offline, 12, -1, false},
        {"_PN_12[3]", offline, 12, 3, false},
        {"_PN_12[", offline, 12, -1, false},
        {"_PN_12[]]7]", offline, 12, 7, false},
        {"Foo", offline, 0, -1, false},
        {"Foo[2]", offline, 0, -1, false},
        {"_PN_", offline, 0, -1, false},
        {"_PN_x5", offline, 7, -1, true},
        {"Box_PN_x5[1]", offline, 7, 1, true},
        {"_PN_x5", unreadable, 5, -1, true},
        {limitName.c_str(), offline, 12, -1, false},
        {longName.c_str(), offline, 0, -1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParameterFromWidgetName(c.base, c.name), c.parameter) << c.name;
        EXPECT_EQ(FieldIndexFromWidgetName(c.name), c.element) << c.name;
        EXPECT_EQ(IsOffsetWidgetName(c.name), c.offset) << c.name;
    }
    EXPECT_TRUE(Heard().empty());
}

TEST_F(DeviceWindowTest, OffsetNameReadsParameter300AtEveryResolutionOnline) {
    ParaBase* online = MakeContext(true)->Base.get();
    Drive().ClearCapture();
    EXPECT_EQ(ParameterFromWidgetName(online, "_PN_x5"), 7);
    EXPECT_EQ(ParameterFromWidgetName(online, "Other_PN_x5"), 7);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 20300", "R 20300"}));

    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20300").Times(sim::kForever));
    EXPECT_EQ(ParameterFromWidgetName(online, "_PN_x5"), 5);
}

TEST(WidgetNameMarkers, NumbersAfterMarkers) {
    EXPECT_EQ(NumberAfterPrefix("_P_HIDE_0", "_P_HIDE_"), 0);
    EXPECT_EQ(NumberAfterPrefix("_P_HIDE_17", "_P_HIDE_"), 17);
    EXPECT_EQ(NumberAfterPrefix("Other", "_P_HIDE_"), 0);
    EXPECT_EQ(CompanionFromUserData("List_OFFSET_TO_21 more"), 21);
    std::string longData(120, ' ');
    longData += "_OFFSET_TO_21";
    EXPECT_EQ(CompanionFromUserData(longData), 0);
    EXPECT_EQ(CompanionFromUserData("%5.1f"), 0);
    EXPECT_EQ(UnitParameterFromAuxText("_U_0451"), 45);
    EXPECT_EQ(UnitParameterFromAuxText("x_U_045"), 0);
    EXPECT_EQ(LeadingNumber("_PN_99999999999", 4), 2147483647);
}

class NamesakeTest : public parabasetest::ParaBaseTest {
protected:
    ParaBase base;
};

TEST_F(NamesakeTest, SameNameInTheGroupRange) {
    using parabasetest::Define;
    Define(base, {.number = kGroupIndex, .name = "GRPIX", .maximum = 3});
    Define(base, {.number = 40, .name = "CURR"});
    Define(base, {.number = 43, .name = "CURR"});
    Define(base, {.number = 45, .name = "VOLT"});
    Define(base, {.number = 41, .name = "VOLT"});
    EXPECT_TRUE(HasNamesakeInGroup(&base, 43));
    EXPECT_TRUE(HasNamesakeInGroup(&base, 40));
    // 45 lies beyond 40 + 3.
    EXPECT_FALSE(HasNamesakeInGroup(&base, 41));
    base.GetEntry(kGroupIndex)->valid = 0;
    EXPECT_FALSE(HasNamesakeInGroup(&base, 43));
}

}  // namespace
}  // namespace devicewintest
