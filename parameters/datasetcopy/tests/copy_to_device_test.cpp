// The copy of a data set from a file into the device: the first step's checks
// and chooser, and the telegrams the drive hears in the second step.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/notes/risk_note.h"
#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "parameters/datasetcopy/dataset_copy.h"
#include "parameters/datasetcopy/tests/copy_fixture.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using copytest::kMarloType;

constexpr char kPumpFile[] = "..\\userdata\\pump.00D";

class CopyToDeviceTest : public copytest::CopyTest {
protected:
    // The first step with `path` chosen and the risk note confirmed.
    void OpenScriptWindow(const std::string& path = kPumpFile) {
        gwtest::AnswerFile(path);
        gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteAdjustmentChanged);
        EXPECT_EQ(RunCopyFileData2Device(Caller(), nullptr, GwUD()), 1);
    }
    // The pump file: the device's set with 120 := 2 and the script "Line 2";
    // the device code 91 as given (0: the device's own).
    void WritePumpFile(uint16_t deviceCode = 0) {
        WriteFileSet("pump.00D", [deviceCode](ParaBase& file) {
            file.GetEntry(120)->value = 2;
            ASSERT_EQ(file.SetValueString(kScriptParameter, dstring("Line 2")), 0);
            if (deviceCode != 0) file.GetEntry(kDeviceCodeParameter)->value = deviceCode;
        });
    }
    static std::vector<std::string> ScriptWindowItems() {
        auto* list = dynamic_cast<GwCombo*>(gwtest::Get(std::string(kCopyDataToDeviceWindow) + "/Group"));
        std::vector<std::string> items;
        for (int i = 0; list != nullptr && i < list->count(); ++i) items.push_back(list->item_text(i));
        return items;
    }
};

TEST_F(CopyToDeviceTest, RunningDriveIsToldToStopFirst) {
    ActivateDrive();
    Drive().Table().Find(403)->value = 0x3000;  // state 3: running
    EXPECT_EQ(RunCopyFileData2Device(Caller(), nullptr, GwUD()), 1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"info: The active device is running. Stop it first!"});
    EXPECT_TRUE(GwRecorder::FileRequests().empty());
}

TEST_F(CopyToDeviceTest, ChooserStartsInTheFolderOfItsDirectionAndRemembersIt) {
    ActivateDrive();
    gwtest::AnswerFile("..\\TMP\\pump.00D");
    gwtest::AnswerModal(2, kRiskNoteAdjustmentChanged);  // the risk note refused
    RunCopyFileData2Device(Caller(), nullptr, GwUD());
    gwtest::CancelFile();  // ends before the risk note
    RunCopyFileData2Device(Caller(), nullptr, GwUD());
    gwtest::CancelFile();
    RunCopyDevice2File(Caller(), nullptr, GwUD());

    const std::vector<GwFileRequest>& requests = GwRecorder::FileRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].id, "id");
    EXPECT_EQ(requests[0].title, "Choose parameter file");
    EXPECT_EQ(requests[0].filter, "Parameter files (*.00d)|*.00d|All files (*.*)|*|");
    EXPECT_EQ(requests[0].parent, Caller()->identifier());
    struct Expected {
        int mode;
        std::string directory;
    };
    const Expected expected[] = {{1, GetUserDataDir()}, {1, "..\\TMP\\"}, {0, GetUserDataDir()}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(requests[i].mode, expected[i].mode) << i;
        EXPECT_EQ(requests[i].directory, expected[i].directory) << i;
    }
    EXPECT_EQ(RememberedCopyFolder(CopyDirection::kToDevice), "..\\TMP\\");
    EXPECT_EQ(ChosenCopyPath(), "..\\TMP\\pump.00D");
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
    EXPECT_EQ(gwtest::Find(kCopyDataToDeviceWindow), nullptr);
    EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
}

TEST_F(CopyToDeviceTest, FileOfAnotherDeviceClassIsRefusedNamingBothTypes) {
    ActivateDrive();
    WritePumpFile(4120);
    OpenScriptWindow();
    const std::string fileType = GetDeviceTypeName(4120);
    const std::string deviceType = GetDeviceTypeName(kMarloType);
    EXPECT_EQ(BoxTexts(),
              std::vector<std::string>{"warning: The file belongs to device type " + fileType +
                                       ", the device is of type " + deviceType});
    EXPECT_EQ(gwtest::Find(kCopyDataToDeviceWindow), nullptr);
}

TEST_F(CopyToDeviceTest, KindsFiveToSevenPassTheClassCheck) {
    ActivateDrive(copytest::CopyTable(1120));  // kind 6
    WritePumpFile(5120);                       // kind 5
    OpenScriptWindow();
    EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
    EXPECT_TRUE(gwtest::IsVisible(kCopyDataToDeviceWindow));
}

TEST_F(CopyToDeviceTest, FileThatDoesNotLoadEndsAfterError5) {
    ActivateDrive();
    OpenScriptWindow("..\\userdata\\missing.00D");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"error: Cannot open file \"..\\userdata\\missing.00D\"!"});
    EXPECT_EQ(gwtest::Find(kCopyDataToDeviceWindow), nullptr);
}

TEST_F(CopyToDeviceTest, ScriptWindowShowsTheFilesScriptAndItsGroups) {
    ActivateDrive();
    WritePumpFile();
    OpenScriptWindow("..\\userdata\\PUMP.00D");
    ASSERT_TRUE(gwtest::IsVisible(kCopyDataToDeviceWindow));
    EXPECT_EQ(gwtest::Text(std::string(kCopyDataToDeviceWindow) + "/Script"), "Line 2");
    EXPECT_EQ(ScriptWindowItems(), (std::vector<std::string>{"Alle", "1 (Motor)", "3 (Limits)"}));
    EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
}

// --- the second step, on the telegrams the drive heard ---

struct DeviceCopyCase {
    const char* name;
    bool plcProject;
    bool saveIt;
    uint32_t plcState;  // what 452 reads
    std::vector<std::string> telegrams;
};

const std::vector<std::string> kDataSetWrite = {
    "W 20080=FFFFFFFF",
    "W 20120=2",
    "W 20121=0",
    "W 20123=5DC",
    "W 20080=FFFFFFFE",
    "R 20080",
    "W 20015=1",
};

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

class DeviceCopyTest : public CopyToDeviceTest, public ::testing::WithParamInterface<DeviceCopyCase> {};

TEST_P(DeviceCopyTest, WritesTheSetTheScriptAndTheStoreAroundAStoppedPlc) {
    const DeviceCopyCase& c = GetParam();
    ActivateDrive(copytest::CopyTable(kMarloType, c.plcProject));
    Drive().Table().Find(kPlcStateParameter)->value = c.plcState;
    WritePumpFile();
    OpenScriptWindow();
    if (c.saveIt) gwtest::Toggle(std::string(kCopyDataToDeviceWindow) + "/SaveIt");
    ClearCaptures();
    gwtest::Click(std::string(kCopyDataToDeviceWindow) + "/Copy");
    EXPECT_EQ(Heard(), c.telegrams);
    ASSERT_FALSE(ActivityTexts().empty());
    EXPECT_EQ(ActivityTexts().back(), "Writing the data set to the device ...");
    EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
    EXPECT_EQ(gwtest::Find(kCopyDataToDeviceWindow), nullptr);
    EXPECT_FALSE(BusTransferFlag);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeviceCopyTest,
    ::testing::Values(
        DeviceCopyCase{"PlcRunningAndSaved",
                       true,
                       true,
                       2,
                       Join({{"W 20450=0"}, kDataSetWrite, {"W 20089=Line 2", "W 20150=1", "R 20452", "W 20450=1"}})},
        DeviceCopyCase{
            "PlcStoppedNotSaved", true, false, 0, Join({{"W 20450=0"}, kDataSetWrite, {"W 20089=Line 2", "R 20452"}})},
        DeviceCopyCase{"NoPlcSaved", false, true, 2, Join({kDataSetWrite, {"W 20089=Line 2", "W 20150=1"}})},
        DeviceCopyCase{"NoPlcNotSaved", false, false, 2, Join({kDataSetWrite, {"W 20089=Line 2"}})}),
    [](const ::testing::TestParamInfo<DeviceCopyCase>& info) { return std::string(info.param.name); });

TEST_F(CopyToDeviceTest, OnlyTheChosenGroupGoesToTheDevice) {
    ActivateDrive();
    WritePumpFile();
    OpenScriptWindow();
    const std::string group = std::string(kCopyDataToDeviceWindow) + "/Group";
    gwtest::Select(group, 0);  // "Alle" off
    gwtest::Select(group, 2);  // group 3
    gwtest::Replace(std::string(kCopyDataToDeviceWindow) + "/Script", "Line 3");
    ClearCaptures();
    gwtest::Click(std::string(kCopyDataToDeviceWindow) + "/Copy");
    EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
    EXPECT_EQ(Heard(),
              (std::vector<std::string>{
                  "W 20080=FFFFFFFF", "W 20123=5DC", "W 20080=FFFFFFFE", "R 20080", "W 20015=1", "W 20089=Line 3"}));
}

// A "No" to warning 5 after a failed set, or a set refused before anything
// was sent, ends the copy: no script, no store, no PLC restart.
struct StopCase {
    const char* name;
    bool plcProject;
    bool refusedClass;  // a file of kind 5 into a drive of kind 6, question 160 answered "No"
    std::vector<std::string> telegrams;
    std::string box;
};

class StoppedCopyTest : public CopyToDeviceTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StoppedCopyTest, NothingFollowsTheSet) {
    const StopCase& c = GetParam();
    sim::DriveTable table = copytest::CopyTable(c.refusedClass ? 1120 : kMarloType, c.plcProject);
    if (!c.refusedClass) table.handshake.result = 120;  // the drive refuses the set
    ActivateDrive(table);
    WritePumpFile(c.refusedClass ? 5120 : 0);
    OpenScriptWindow();
    gwtest::Toggle(std::string(kCopyDataToDeviceWindow) + "/SaveIt");
    ClearCaptures();
    bool flagWhileAsked = false;
    gwtest::AnswerBox(GwRESULT_NO, [&](const GwBoxRecord&) { flagWhileAsked = BusTransferFlag; });
    gwtest::Click(std::string(kCopyDataToDeviceWindow) + "/Copy");
    EXPECT_EQ(Heard(), c.telegrams);
    ASSERT_EQ(BoxTexts().size(), 1u) << ::testing::PrintToString(BoxTexts());
    EXPECT_EQ(BoxTexts()[0], c.box);
    EXPECT_TRUE(flagWhileAsked);
    EXPECT_FALSE(BusTransferFlag);
}

const std::vector<std::string> kRefusedSetWrite = {
    "W 20080=FFFFFFFF",
    "W 20120=2",
    "W 20121=0",
    "W 20123=5DC",
    "W 20080=FFFFFFFE",
    "R 20080",
};
constexpr char kRefusedSetBox[] = "warning: New value of parameter 120-MODE  is out of valid range!";
constexpr char kOtherClassBox[] = "question: The file belongs to another device class. Load it anyway?";

INSTANTIATE_TEST_SUITE_P(
    Cases, StoppedCopyTest,
    ::testing::Values(StopCase{"FailedSetNoPlc", false, false, kRefusedSetWrite, kRefusedSetBox},
                      StopCase{
                          "FailedSetWithPlc", true, false, Join({{"W 20450=0"}, kRefusedSetWrite}), kRefusedSetBox},
                      StopCase{"RefusedClassNoPlc", false, true, {}, kOtherClassBox},
                      StopCase{"RefusedClassWithPlc", true, true, {"W 20450=0"}, kOtherClassBox}),
    [](const ::testing::TestParamInfo<StopCase>& info) { return std::string(info.param.name); });

TEST_F(CopyToDeviceTest, FailedScriptWriteShowsTheDevicesErrorText) {
    ActivateDrive();
    WritePumpFile();
    OpenScriptWindow();
    gwtest::Toggle(std::string(kCopyDataToDeviceWindow) + "/SaveIt");
    Drive().AddFault(sim::DriveFault::Nak(0x40).For("20089").Times(sim::kForever));
    ClearCaptures();
    gwtest::AnswerBox(GwRESULT_YES);  // once more
    gwtest::AnswerBox(GwRESULT_NO);
    gwtest::Click(std::string(kCopyDataToDeviceWindow) + "/Copy");
    const std::string box =
        "warning: RS232 transmission error in parameter 89-SCRPT: \nInvalid writeaccess to parameter!";
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{box, box}));
    const std::vector<std::string> heard = Heard();
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "W 20089=Line 2"), 2);
    EXPECT_EQ(heard.back(), "R 00085") << "nothing after the second try";
}

}  // namespace
