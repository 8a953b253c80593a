// The help button of the setup windows: the device manual by the type that
// the window's setup context reads.
#include <gtest/gtest.h>

#include "app/shell/help.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "platform/system/program_start.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

class DeviceHelpTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = DeviceWindowTable();
        table.Find(kDeviceCodeParameter)->value = 4012;
        return table;
    }
    // The manual the help button opened; "" for none.
    std::string Manual(bool online) {
        const size_t before = platform::RecordedProgramStarts().size();
        OpenWindow("button Help { }", MakeContext(online));
        CBDeviceHelp(W("Help"), nullptr, GwUD());
        const auto& starts = platform::RecordedProgramStarts();
        if (starts.size() == before) return "";
        const platform::ProgramStart& start = starts.back();
        return start.args.empty() ? start.program : start.args.back();
    }
};

TEST_F(DeviceHelpTest, OpensTheManualOfTheTypeReadByTheContext) {
    WriteTreeFile("LANGUAGE/044/PH_4000.pdf", "manual");
    // Offline the table answers, although the drive now reports another type.
    Drive().Table().Find(kDeviceCodeParameter)->value = 5012;
    EXPECT_NE(Manual(false).find("PH_4000.pdf"), std::string::npos);
    Drive().Table().Find(kDeviceCodeParameter)->value = 4012;
    ClearCaptures();
    EXPECT_NE(Manual(true).find("PH_4000.pdf"), std::string::npos);
    EXPECT_EQ(Heard().size(), 1u);

    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20091").Times(sim::kForever));
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    EXPECT_EQ(Manual(true), "");
}

}  // namespace
}  // namespace devicewintest
