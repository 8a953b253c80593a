// The host's answers to the control's events, fired by the recording control
// through the events the host registered: the program into and out of the
// device and the archive, the control's cancel and its project name.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "platform/com/com_variant.h"
#include "plceditor/interface/sindel_ids.h"
#include "plchost/plc_control_events.h"
#include "plchost/plc_editor_host.h"
#include "plchost/plc_host_state.h"
#include "plchost/plc_word_file.h"
#include "plchost/tests/plc_host_fixture.h"
#include "sim/drive_faults.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace plchosttest {
namespace {

using platform::VariantFromBool;
using platform::VariantFromString;
using Texts = std::vector<std::string>;

std::string Words(uint32_t first, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += FormatPlcWord(first + static_cast<uint32_t>(i));
    return text;
}

class PlcEventsTest : public PlcHostTest {
protected:
    void SetUp() override {
        PlcHostTest::SetUp();
        OpenFromDeviceWindow();
        ClearEditorCalls();
        ClearCaptures();
        MarkBoxes();
    }
    // The drive's requests that concern the PLC's load: the run switch, the
    // load state and the first block write of each program parameter.
    Texts LoadTraffic() {
        Texts texts;
        for (const std::string& text : Drive().Capture().TelegramTexts()) {
            if (text.rfind("W 20450", 0) == 0 || text.rfind("R 20452", 0) == 0) texts.push_back(text);
            if (text.rfind("W 706", 0) == 0 && text.substr(7, 5) == "00000") texts.push_back(text.substr(0, 7));
        }
        return texts;
    }
    void FireToDevice() { FireEditorEvent(sindel::kPlcFileToDevice, {VariantFromString(kPlcOutFile)}); }
    // A data set file of the active device in the user data folder.
    std::string MakeArchive(const std::string& name) {
        ParaBase copy(*main_->ActiveParaBase());
        const std::string path = "..\\userdata\\" + name;
        copy.InitFile(path.c_str());
        EXPECT_EQ(copy.WriteFileBase(), 0);
        return path;
    }
};

TEST_F(PlcEventsTest, ProgramIntoTheDeviceStartsOnlyWhenLoaded) {
    WritePlcOut(Words(0x3000, 768));
    FireToDevice();
    EXPECT_EQ(LoadTraffic(), (Texts{"W 20450=0", "W 70600", "W 70601", "W 70602", "R 20452", "W 20450=1"}));
    EXPECT_EQ(Program(2).elements.back(), 0x3000u + 767u);
    EXPECT_TRUE(NewBoxTexts().empty());
    EXPECT_TRUE(std::filesystem::exists(CachePath("X"))) << "the device's file set is written again";

    ClearCaptures();
    Drive().Table().plc.load_state_after_load = 1;
    FireToDevice();
    EXPECT_EQ(LoadTraffic(), (Texts{"W 20450=0", "W 70600", "W 70601", "W 70602", "R 20452"})) << "450 stays 0";
}

TEST_F(PlcEventsTest, FailedLoadNeverStartsTheProgram) {
    WritePlcOut(Words(0x3000, 768));
    Drive().AddFault(sim::DriveFault::Nak(0x0080).For("706010000012").Times(sim::kForever));
    FireToDevice();
    EXPECT_EQ(LoadTraffic(), (Texts{"W 20450=0", "W 70600", "W 70601"}));
    ASSERT_EQ(NewBoxTexts().size(), 1u);
    EXPECT_EQ(NewBoxTexts()[0].substr(0, 29), "error: RS232 transmission err");
}

TEST_F(PlcEventsTest, ProgramIntoTheDeviceIsRefusedBeforeAnythingIsWritten) {
    WritePlcOut(Words(0x3000, 768));
    FireEditorEvent(sindel::kPlcFileToDevice, {VariantFromString("")});
    EXPECT_TRUE(LoadTraffic().empty());

    Drive().Table().Find(403)->value = 0x3000;  // running
    FireToDevice();
    EXPECT_TRUE(LoadTraffic().empty());
    EXPECT_EQ(NewBoxTexts(), Texts{"info: The active device is running. Stop it first!"});

    MarkBoxes();
    *main_->ActiveParaBase()->GetEntry(468) = ParameterEntry{};
    FireToDevice();
    EXPECT_TRUE(LoadTraffic().empty());
    EXPECT_EQ(NewBoxTexts(), Texts{"error: The device holds no PLC project!"});
}

TEST_F(PlcEventsTest, ProgramFromTheDeviceAnswersTheFileName) {
    for (int i = 0; i < sim::kPlcProgramWords; ++i) Program(1).elements[i] = 0xB000 + i;
    EXPECT_EQ(FireEditorPathEvent(sindel::kPlcFileFromDevice), kPlcInFile);
    EXPECT_EQ(PlcInBytes().substr(2560, 10), "0000B000\r\n");

    MarkBoxes();
    *main_->ActiveParaBase()->GetEntry(468) = ParameterEntry{};
    EXPECT_EQ(FireEditorPathEvent(sindel::kPlcFileFromDevice), " ");
    EXPECT_EQ(NewBoxTexts(), Texts{"error: The device holds no PLC project!"});
}

TEST_F(PlcEventsTest, FailedReadFromTheDeviceAnswersNoFile) {
    Drive().AddFault(sim::DriveFault::Nak(0x0008).For("706000000099").Times(sim::kForever));
    EXPECT_EQ(FireEditorPathEvent(sindel::kPlcFileFromDevice), "") << "a failed export";
}

TEST_F(PlcEventsTest, ProjectNameGoesToTheDeviceOrIsKeptOffline) {
    FirmwareTextsReloadRequest = false;
    FireEditorEvent(sindel::kPlcUpDateProjName, {VariantFromString("Conveyor"), VariantFromBool(true)});
    EXPECT_EQ(Drive().Table().Find(468)->text, "Conveyor");
    EXPECT_TRUE(FirmwareTextsReloadRequest);
    EXPECT_EQ(ThePlcHostState().ProjectName, "");

    FirmwareTextsReloadRequest = false;
    FireEditorEvent(sindel::kPlcUpDateProjName, {VariantFromString("Sorter"), VariantFromBool(false)});
    EXPECT_EQ(ThePlcHostState().ProjectName, "Sorter");
    EXPECT_EQ(Drive().Table().Find(468)->text, "Conveyor");
    EXPECT_TRUE(FirmwareTextsReloadRequest);

    Drive().AddFault(sim::DriveFault::Nak(0x0080).Times(sim::kForever));
    FireEditorEvent(sindel::kPlcUpDateProjName, {VariantFromString("Mixer"), VariantFromBool(true)});
    ASSERT_EQ(NewBoxTexts().size(), 1u);
    EXPECT_EQ(NewBoxTexts()[0].substr(0, 7), "error: ");
}

TEST_F(PlcEventsTest, ProgramIntoTheArchiveTakesTheOfflineProjectName) {
    const std::string archive = MakeArchive("Line.00D");
    WritePlcOut(Words(0x4000, 300));
    FireEditorEvent(sindel::kPlcUpDateProjName, {VariantFromString("Sorter"), VariantFromBool(false)});
    gwtest::AnswerFile(archive);
    FireEditorEvent(sindel::kPlcFileToArchiv, {VariantFromString(kPlcOutFile)});
    const GwFileRequest& request = GwRecorder::FileRequests().back();
    EXPECT_EQ(request.id, "id");
    EXPECT_EQ(request.title, "Geräteeinstellung wählen");
    EXPECT_EQ(request.filter, "Geräteeinstellung (*.00d)|*.00d");
    EXPECT_EQ(request.directory, GetUserDataDir());
    EXPECT_TRUE(NewBoxTexts().empty());

    ParaBase stored;
    stored.InitFile(archive.c_str());
    ASSERT_EQ(stored.ReadFileBase(), 0);
    dstring name;
    stored.GetValueString(468, name);
    EXPECT_STREQ(name.Text(), "Sorter");
    uint32_t word = 0;
    stored.GetValueU32(sim::kPlcProgramFirstParameter + 1, &word, 43);
    EXPECT_EQ(word, 0x4000u + 299u);
    EXPECT_TRUE(Program(0).elements[0] == 0) << "the device is not touched";

    MarkBoxes();
    gwtest::AnswerFile("..\\userdata\\Missing.00D");
    FireEditorEvent(sindel::kPlcFileToArchiv, {VariantFromString(kPlcOutFile)});
    ASSERT_EQ(NewBoxTexts().size(), 1u);
    EXPECT_EQ(NewBoxTexts()[0].substr(0, 7), "error: ");
}

TEST_F(PlcEventsTest, ArchiveChooserStartsInTheFileBasesFolder) {
    const std::string archive = MakeArchive("Press.00D");
    OpenDeviceWindow(false);
    contexts_.back()->Base->InitFile(archive.c_str());
    gwtest::Click(W("Editor"));
    gwtest::CancelFile();
    FireEditorEvent(sindel::kPlcFileToArchiv, {VariantFromString(kPlcOutFile)});
    const GwFileRequest& request = GwRecorder::FileRequests().back();
    EXPECT_EQ(request.directory, "..\\userdata\\");
    EXPECT_EQ(request.preset, "Press.00D");
}

TEST_F(PlcEventsTest, ProgramFromTheArchiveAnswersTheFileName) {
    ParaBase copy(*main_->ActiveParaBase());
    for (int i = 0; i < sim::kPlcProgramWords; ++i) copy.SetValueU32(sim::kPlcProgramFirstParameter, 0xC000 + i, i);
    std::filesystem::create_directories(testsupport::RuntimePath("userdata/sub"));
    copy.InitFile("..\\userdata\\sub\\Old.00D");
    ASSERT_EQ(copy.WriteFileBase(), 0);

    gwtest::CancelFile();
    EXPECT_EQ(FireEditorPathEvent(sindel::kPlcFileFromArchiv), " ") << "cancel leaves the answer";
    EXPECT_EQ(GwRecorder::FileRequests().back().directory, GetUserDataDir());

    gwtest::AnswerFile("..\\userdata\\sub\\Old.00D");
    EXPECT_EQ(FireEditorPathEvent(sindel::kPlcFileFromArchiv), kPlcInFile);
    EXPECT_EQ(PlcInBytes().substr(0, 10), "0000C000\r\n");

    gwtest::CancelFile();
    FireEditorPathEvent(sindel::kPlcFileFromArchiv);
    EXPECT_EQ(GwRecorder::FileRequests().back().directory, "..\\userdata\\sub\\") << "the folder of the last choice";
}

}  // namespace
}  // namespace plchosttest
