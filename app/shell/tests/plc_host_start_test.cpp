// The PLC host in the program: the start-up file of a PLC source opens the
// editor on it, and the editor follows the active device through the main
// window's refresh.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/mainwindow/main_window_display.h"
#include "app/services/program_flags.h"
#include "app/shell/program_main.h"
#include "app/shell/startup_sequence.h"
#include "app/shell/tests/shell_fixture.h"
#include "plchost/plc_editor_host.h"
#include "plchost/tests/recording_editor.h"
#include "sim/drive_plc.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using Calls = std::vector<std::string>;

class PlcHostStartTest : public shelltest::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        plchosttest::ClearEditorCalls();
        plchosttest::RegisterRecordingEditor();
        SetPlcEditorFollower(UpdatePlcEditorOnline);
    }
    void TearDown() override {
        StartFileText().AssignText("");
        ShellTest::TearDown();
    }
};

TEST_F(PlcHostStartTest, StartFileOfAPlcSourceOpensTheEditorOnIt) {
    StartupDoneFlag = true;  // the bus and search steps are not part of this
    StartFileText().AssignText("x.plc");
    CB_StartMacro(frame_, nullptr, GwUD());
    EXPECT_EQ(plchosttest::EditorCalls(), (Calls{"7 ..\\TMP\\PlcOut.txt", "8 ..\\FIRMDATA\\", "1", "4 x.plc", "3"}));
    ASSERT_NE(PlcEditorWindow(), nullptr);
    EXPECT_TRUE(PlcEditorWindow()->is_visible());
}

TEST_F(PlcHostStartTest, EditorFollowsTheActiveDevice) {
    sim::DriveTable table = maintest::ActivationTable();
    sim::AddPlc(table);
    AddDrive(maintest::kAddress, table);
    sim::DriveTable plain = maintest::ActivationTable(4121);  // its own parameter list
    AddDrive(maintest::kAddress + 1, plain);
    OpenSerialBus();
    ASSERT_TRUE(main_->SetActiveDevice(maintest::kAddress));
    EXPECT_TRUE(plchosttest::EditorCalls().empty()) << "no editor loaded";

    OpenPlcEditor("", false);
    plchosttest::ClearEditorCalls();
    ASSERT_TRUE(main_->SetActiveDevice(maintest::kAddress));
    EXPECT_EQ(plchosttest::EditorCalls(), (Calls{"3", "2"}));
    plchosttest::ClearEditorCalls();
    ASSERT_TRUE(main_->SetActiveDevice(maintest::kAddress + 1));
    EXPECT_EQ(plchosttest::EditorCalls(), Calls{"3"});
}

}  // namespace
