#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/main/editor_context.h"
#include "app/notes/risk_note.h"
#include "app/services/program_flags.h"
#include "parameters/parabase/para_base.h"
#include "paratools/editor/parameter_editor.h"
#include "paratools/editor/parameter_editor_state.h"
#include "paratools/editor/tests/editor_fixture.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/testdriver/gw_test_driver.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

namespace editortest {
namespace {

class StoreTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        // The adjustment-changed risk note is confirmed unless a test says no.
        gwtest::SetDefaultModalResult(kRiskNoteConfirmed);
    }
    // An Offline or File editor with MODE1 changed to 42 in the dialog.
    void OpenChanged(int mode) {
        OpenEditor(mode);
        ASSERT_TRUE(gwtest::SelectTreeEntry("ParameterEditor/GroupTree", "Root"));
        List()->deselect_all();
        List()->select(RowOf(kByteParameter));
        gwtest::PressKey("ParameterEditor/ParaList", GwKEY_RETURN);
        gwtest::Replace("ParaEdit/Val", "42");
        gwtest::Click("ParaEdit/OK");
        ASSERT_TRUE(GetParameterEditor()->Changed);
        ClearCaptures();
        GwRecorder::Clear();
    }
    bool Sent(const std::string& request) {
        const std::vector<std::string> r = Requests();
        return std::find(r.begin(), r.end(), request) != r.end();
    }
    size_t IndexOf(const std::string& request) {
        const std::vector<std::string> r = Requests();
        return static_cast<size_t>(std::find(r.begin(), r.end(), request) - r.begin());
    }
    void Store() { gwtest::Fire("ParameterEditor/StoreDevice", "activate"); }
    uint32_t DriveValue(int number) { return drives_.at(maintest::kAddress)->Table().Find(number)->value; }
    std::vector<std::string> written_extra_;
};

TEST_F(StoreTest, OfflineStoreSendsTheDataSetAndClearsTheMark) {
    OpenChanged(kEditorModeOffline);
    Store();
    EXPECT_EQ(DriveValue(kByteParameter), 42u);
    EXPECT_FALSE(GetParameterEditor()->Changed);
    EXPECT_EQ(gwtest::Text("ParameterEditor/State_Changed"), "");
    EXPECT_TRUE(gwtest::Boxes().empty()) << BoxTexts()[0];
}

TEST_F(StoreTest, NoDeviceRunningDeviceOrRefusedNoteSendNothing) {
    OpenChanged(kEditorModeOffline);
    drives_.at(maintest::kAddress)->Table().Find(403)->value = 3u << 12;  // running
    gwtest::AnswerBox(GwRESULT_OK);
    Store();
    ASSERT_EQ(BoxTexts(), std::vector<std::string>{"info: The active device is running. Stop it first!"});
    EXPECT_EQ(DriveValue(kByteParameter), 3u);
    drives_.at(maintest::kAddress)->Table().Find(403)->value = 0;

    gwtest::AnswerModal(2, kRiskNoteAdjustmentChanged);
    ClearCaptures();
    Store();
    EXPECT_EQ(Requests(), std::vector<std::string>{"R20403"});
    EXPECT_EQ(DriveValue(kByteParameter), 3u);

    main_->UncoupleAllDevices();
    GwRecorder::Clear();
    ClearCaptures();
    gwtest::AnswerBox(GwRESULT_OK);
    Store();
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "warning");
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(GetParameterEditor()->Changed);
    EXPECT_EQ(gwtest::Text("ParameterEditor/State_Changed"), "Parameters changed");
}

TEST_F(StoreTest, RefusedDataSetKeepsTheChangedMark) {
    OpenChanged(kEditorModeOffline);
    drives_.at(maintest::kAddress)->Table().handshake.result = kByteParameter;
    gwtest::AnswerBox(GwRESULT_NO);  // no retry
    Store();
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "warning");
    EXPECT_TRUE(GetParameterEditor()->Changed);
    EXPECT_EQ(gwtest::Text("ParameterEditor/State_Changed"), "Parameters changed");
}

TEST_F(StoreTest, StoreDeviceDataWritesOnlyForKindsThreeAndEight) {
    OpenEditor(kEditorModeOnline);
    ClearCaptures();
    gwtest::Fire("ParameterEditor/StoreDeviceData", "activate");
    EXPECT_TRUE(Requests().empty());
    gwtest::Close(editor_);
    ownBase_ = std::make_unique<ParaBase>(*main_->ActiveParaBase());
    ASSERT_EQ(ownBase_->SetValueU16(91, 3120), 0);
    OpenEditorOn(ownBase_.get(), kEditorModeOffline);
    ClearCaptures();
    gwtest::Fire("ParameterEditor/StoreDeviceData", "activate");
    EXPECT_EQ(Requests(), std::vector<std::string>{"W20150"});
    EXPECT_EQ(DriveValue(150), 1u);
}

TEST_F(StoreTest, ClosingAsksToStoreAndAFailedStoreKeepsTheEditor) {
    OpenChanged(kEditorModeOffline);
    drives_.at(maintest::kAddress)->Table().handshake.result = kByteParameter;
    gwtest::AnswerBox(GwRESULT_YES);  // store the changes
    gwtest::AnswerBox(GwRESULT_NO);   // no retry
    EXPECT_FALSE(gwtest::Close(editor_));
    ASSERT_NE(GetParameterEditor(), nullptr);
    EXPECT_TRUE(GetParameterEditor()->Changed);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "question");
    EXPECT_EQ(gwtest::Boxes()[0].text, "The parameters were changed. Store the changes?");

    drives_.at(maintest::kAddress)->Table().handshake.result = 0;
    GwRecorder::Clear();
    gwtest::AnswerBox(GwRESULT_YES);
    EXPECT_TRUE(gwtest::Close(editor_));
    EXPECT_EQ(GetParameterEditor(), nullptr);
    EXPECT_EQ(DriveValue(kByteParameter), 42u);
}

TEST_F(StoreTest, FileModeClosingAsksQuestion45) {
    OpenChanged(kEditorModeFile);
    gwtest::AnswerBox(GwRESULT_NO);
    EXPECT_TRUE(gwtest::Close(editor_));
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "The parameter base was changed. Store the changes in its file?");
    EXPECT_TRUE(Requests().empty());
}

TEST_F(StoreTest, StoreToFileAsksBeforeOverwritingAndWritesTheSet) {
    OpenEditor(kEditorModeOnline);
    const std::string existing = testsupport::RuntimePath("userdata/exist.00D").string();
    const std::string fresh = testsupport::RuntimePath("userdata/fresh.00D").string();
    WriteTreeFile("userdata/exist.00D", std::string(64000, '\0'));
    written_extra_ = {fresh,
                      testsupport::RuntimePath("userdata/fresh.00X").string(),
                      testsupport::RuntimePath("userdata/fresh.00T").string()};
    gwtest::AnswerFile(existing);
    gwtest::AnswerBox(GwRESULT_NO);
    gwtest::AnswerFile(fresh);
    gwtest::Fire("ParameterEditor/SaveAsDevice", "activate");
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "The file set already exists. Overwrite it?");
    EXPECT_EQ(std::filesystem::file_size(fresh), 64000u);
    EXPECT_EQ(GwRecorder::FileRequests().at(0).title, "Store parameter file");
    EXPECT_EQ(GwRecorder::FileRequests().at(0).filter, "*.??D");
    // Online mode read the data set first.
    EXPECT_TRUE(Sent("R20100"));
    for (const std::string& path : written_extra_) std::filesystem::remove(path);
}

TEST_F(StoreTest, StoreToFileFirstAsksToCloseDeviceControl) {
    OpenEditor(kEditorModeOnline);
    ListedOnlineWindow("DeviceControl");
    gwtest::AnswerBox(GwRESULT_NO);
    gwtest::Fire("ParameterEditor/SaveAsDevice", "activate");
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].text, "The device control window is open. Close it?");
    EXPECT_TRUE(GwRecorder::FileRequests().empty());
}

TEST_F(StoreTest, FailedFileWriteShowsWarning10) {
    OpenEditor(kEditorModeFile);
    gwtest::AnswerFile(testsupport::RuntimePath("no/such/dir/x.00D").string());
    gwtest::AnswerBox(GwRESULT_OK);
    gwtest::Fire("ParameterEditor/SaveAsDevice", "activate");
    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "warning");
}

class PlcStoreTest : public StoreTest {
protected:
    sim::DriveTable Table() override {
        sim::DriveTable table = EditorTable();
        table.PutFullRange(468, "PLCPJ", "USIGN16", 1);
        sim::DriveParameter* run = table.PutFullRange(450, "PLCRN", "FLOAT32", maintest::FloatBits(1.0f));
        run->minimum = maintest::FloatBits(-1e6f);
        run->maximum = maintest::FloatBits(1e6f);
        table.PutFullRange(452, "PLCST", "USIGN8", plcState_);
        return table;
    }
    uint32_t plcState_ = 2;
};

// The data set as the drive hears it: the download handshake around the
// changed value, the end of the download and its check.
const std::vector<std::string> kDataSet = {"W20080", "W20100", "W20080", "R20080", "R30015"};

TEST_F(PlcStoreTest, PlcIsStoppedAroundTheDataSetAndStartedWhenItWasStopped) {
    OpenChanged(kEditorModeOffline);
    Store();
    std::vector<std::string> expected = {"R20403", "W20450"};
    expected.insert(expected.end(), kDataSet.begin(), kDataSet.end());
    expected.insert(expected.end(), {"R20452", "W20450"});
    EXPECT_EQ(Requests(), expected);
    EXPECT_EQ(DriveValue(450), maintest::FloatBits(1.0f));
    EXPECT_FALSE(GetParameterEditor()->Changed);
}

class PlcRunningStoreTest : public PlcStoreTest {
protected:
    PlcRunningStoreTest() { plcState_ = 1; }
};

TEST_F(PlcRunningStoreTest, PlcThatDidNotStopIsNotStartedAgain) {
    OpenChanged(kEditorModeOffline);
    Store();
    std::vector<std::string> expected = {"R20403", "W20450"};
    expected.insert(expected.end(), kDataSet.begin(), kDataSet.end());
    expected.push_back("R20452");
    EXPECT_EQ(Requests(), expected);
    EXPECT_EQ(DriveValue(450), maintest::FloatBits(0.0f));
}

}  // namespace
}  // namespace editortest
