#include "app/shell/data_set_callbacks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/mainwindow/main_window.h"
#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "app/shell/tests/shell_fixture.h"
#include "parameters/parabase/para_base.h"
#include "platform/system/clock.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using shelltest::ShellTest;

bool TreeFileExists(const std::string& relative) { return std::filesystem::exists(testsupport::RuntimePath(relative)); }

size_t CountRequests(const std::vector<std::string>& requests, const std::string& start) {
    size_t n = 0;
    for (const std::string& r : requests) n += r.rfind(start, 0) == 0;
    return n;
}

// The drive with the download handshake of parameter 80.
sim::DriveTable HandshakeTable(uint32_t type = maintest::kTypeNumber) {
    sim::DriveTable table = maintest::ActivationTable(type);
    sim::DriveParameter* handshake = table.PutFullRange(80, "DLHS", "INT16", 0);
    handshake->minimum = 0xFFFF8000u;
    handshake->maximum = 0x7FFF;
    table.PutFullRange(4, "CMD", "USIGN16", 0);
    table.handshake.enabled = true;
    return table;
}

class DataSetTest : public ShellTest {
protected:
    sim::VirtualDrive& Drive() { return *drives_.at(maintest::kAddress); }
};

TEST_F(DataSetTest, DeviceToFileAsksBeforeOverwritingAndNoChoosesAgain) {
    AddDrive(maintest::kAddress, HandshakeTable());
    MakeFileSet("Old");
    const std::string old = testsupport::ReadFile(testsupport::RuntimePath("userdata/Old.00D"));
    const std::string cache = main_->ActiveParaBase()->GetPath(kDFilePath);
    gwtest::AnswerFile("..\\userdata\\Old.00D");
    gwtest::AnswerBox(GwRESULT_NO);
    gwtest::AnswerFile("..\\userdata\\New.00D");
    CopyDevice2File();
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{"question: The file set already exists. Overwrite it?"});
    EXPECT_TRUE(TreeFileExists("userdata/New.00D"));
    EXPECT_EQ(std::filesystem::file_size(testsupport::RuntimePath("userdata/New.00D")), 64000u);
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("userdata/Old.00D")), old);
    // The device's base keeps its cache.
    EXPECT_EQ(main_->ActiveParaBase()->GetPath(kDFilePath), cache);
    std::filesystem::remove(testsupport::RuntimePath("userdata/New.00D"));
    std::filesystem::remove(testsupport::RuntimePath("userdata/New.00X"));
    std::filesystem::remove(testsupport::RuntimePath("userdata/New.00T"));
}

TEST_F(DataSetTest, AFailedDeviceReadWritesNoFile) {
    Activate();
    Drive().AddFault(sim::DriveFault::Silence().Times(sim::kForever));
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    gwtest::AnswerFile("..\\userdata\\Lost.00D");
    CopyDevice2File();
    const std::vector<std::string> boxes = NewBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.front().rfind("error: ", 0), 0u) << boxes.front();
    EXPECT_FALSE(TreeFileExists("userdata/Lost.00D"));
}

TEST_F(DataSetTest, FileToDeviceNeedsTheRiskNoteAndRetriesAFailedWriteWhileAskedTo) {
    AddDrive(maintest::kAddress, HandshakeTable());
    MakeFileSet("Set");
    SetUserLevel(4);
    gwtest::AnswerFile("..\\userdata\\Set.00D");
    gwtest::AnswerModal(0, "RiskNote_AdjustmentChanged");
    CopyFileData2Device();
    EXPECT_EQ(CountRequests(Requests(), "W20080"), 0u);

    // Two sets the drive refuses: the first answered "retry", the second not.
    Drive().Table().handshake.result = 91;
    gwtest::AnswerFile("..\\userdata\\Set.00D");
    gwtest::AnswerModal(6, "RiskNote_AdjustmentChanged");
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::AnswerBox(GwRESULT_NO);
    CopyFileData2Device();
    const std::vector<std::string> boxes = NewBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    for (const std::string& box : boxes) EXPECT_EQ(box.rfind("warning: ", 0), 0u) << box;

    Drive().Table().handshake.result = 0;
    ClearCaptures();
    gwtest::AnswerFile("..\\userdata\\Set.00D");
    gwtest::AnswerModal(6, "RiskNote_AdjustmentChanged");
    CopyFileData2Device();
    EXPECT_TRUE(NewBoxes().empty());
    const std::vector<std::string> requests = Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.front(), "W20080");
    EXPECT_EQ(CountRequests(requests, "W20080"), 2u);
    bool announced = false;
    for (const GwEffect& e : gwtest::Effects("text")) announced |= e.value == "Writing the data set to the device ...";
    EXPECT_TRUE(announced);
}

TEST_F(DataSetTest, FileToDeviceNamesAnUnreadableOrEmptyFile) {
    Activate();
    WriteTreeFile("userdata/Empty.00D", std::string(64000, '\0'));
    WriteTreeFile("userdata/Empty.00T", "");
    WriteTreeFile("userdata/Empty.00X", "");
    SetUserLevel(5);
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    gwtest::AnswerFile("..\\userdata\\Missing.00D");
    CopyFileData2Device();
    gwtest::AnswerFile("..\\userdata\\Empty.00D");
    CopyFileData2Device();
    const std::vector<std::string> boxes = NewBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].rfind("warning: ", 0), 0u) << boxes[0];
    EXPECT_NE(boxes[0].find("Missing.00D"), std::string::npos) << boxes[0];
    EXPECT_EQ(boxes[1], "info: The parameter file holds no data!");
    EXPECT_EQ(CountRequests(Requests(), "W20080"), 0u);
}

TEST_F(DataSetTest, PrintingAFileStartsInTheUserDataDirectoryAndOpensTheWizardOnlyWithData) {
    MakeFileSet("Print");
    WriteTreeFile("userdata/Empty.00D", std::string(64000, '\0'));
    WriteTreeFile("userdata/Empty.00T", "");
    WriteTreeFile("userdata/Empty.00X", "");
    Define("dialogframe PrintPara0 { }\n");
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    for (const char* path : {"..\\TMP\\Missing.00D", "..\\userdata\\Empty.00D"}) {
        gwtest::AnswerFile(path);
        EXPECT_EQ(CB_PrintParaFile(nullptr, nullptr, GwUD()), 1);
    }
    const std::vector<std::string> boxes = NewBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].rfind("warning: ", 0), 0u) << boxes[0];
    EXPECT_EQ(boxes[1], "info: The parameter file holds no data!");
    EXPECT_EQ(gwtest::Find("PrintPara0"), nullptr);

    gwtest::AnswerFile("..\\userdata\\Print.00D");
    EXPECT_EQ(CB_PrintParaFile(nullptr, nullptr, GwUD()), 1);
    GwCore* wizard = gwtest::Find("PrintPara0");
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(wizard->user_data().pointer(), &PrintParaBase());
    EXPECT_TRUE(PrintParaBase().TableLoaded);
    for (const GwFileRequest& request : GwRecorder::FileRequests()) EXPECT_EQ(request.directory, GetUserDataDir());
}

TEST_F(DataSetTest, DevicePrintOpensTheWizardOnTheActiveBase) {
    Activate();
    Define("dialogframe PrintPara0 { }\n");
    EXPECT_EQ(CB_PrintADevPara(nullptr, nullptr, GwUD()), 1);
    GwCore* wizard = Listed("PrintPara0");
    ASSERT_NE(wizard, nullptr);
    EXPECT_TRUE(TheWindowHandler().IsOnlineWindow(wizard));
    EXPECT_EQ(wizard->user_data().pointer(), main_->ActiveParaBase());
}

TEST_F(DataSetTest, PartialBaseEditorOwnsItsBaseAndIsTitledWithTheFile) {
    MakeFileSet("Part");
    gwtest::CancelFile();
    EXPECT_EQ(CB_MakeParcialBase(nullptr, nullptr, GwUD()), 0);
    for (int round = 0; round < 2; ++round) {
        gwtest::AnswerFile("..\\userdata\\Part.00D");
        EXPECT_EQ(CB_MakeParcialBase(nullptr, nullptr, GwUD()), 1);
    }
    GwCore* window = Listed("ChooseUsedPara");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetPartialBaseTitle(), "Partial parameter base");
    EXPECT_EQ(window->title(), "Partial parameter base [..\\userdata\\Part.00D]");
    EXPECT_FALSE(TheWindowHandler().IsOnlineWindow(window));
    auto* base = window->user_data().pointer_as<ParaBase>();
    ASSERT_NE(base, nullptr);
    EXPECT_TRUE(base->TableLoaded);
    EXPECT_EQ(TheWindowHandler().Count(), 1);
}

class NewArchiveTest : public DataSetTest {
protected:
    // A drive whose variable list lies in "..\FIRMDATA", so the engine
    // attaches without a box.
    void Start(bool descriptionId) {
        sim::DriveTable table = maintest::ActivationTable();
        table.PutFullRange(112, descriptionId ? "DSLID" : "SCNAM", "USIGN16", 0);
        sim::DriveParameter* time = table.PutFullRange(304, "SCTB", "FLOAT32", maintest::FloatBits(1.0f));
        time->minimum = maintest::FloatBits(-1e6f);
        time->maximum = maintest::FloatBits(1e6f);
        AddDrive(maintest::kAddress, table);
        WriteTreeFile("FIRMDATA/4_001_30.MCW", "Speed, 1/min, 8, 2.0, 1, 1\n");
        Activate();
        main_->FoundDevices()[0] = maintest::kAddress;
    }
};

TEST_F(NewArchiveTest, DeletesTheCacheAndTheDescriptionFileOnlyForADescriptionId) {
    for (bool descriptionId : {true, false}) {
        SCOPED_TRACE(descriptionId ? "DSLID" : "no DSLID");
        drives_.clear();
        main_->UncoupleAllDevices();
        main_->CloseTarnBus();
        RemoveCache();
        Start(descriptionId);
        ParaBase* base = main_->ActiveParaBase();
        ASSERT_NE(base->GetDescriptionFile(), nullptr);
        WriteTreeFile("TMP/desc file;rm x.PIT", "[parameterdescription]\n");
        WriteTreeFile("TMP/desc", "kept");
        base->SetPath(kDescriptionFilePath, "..\\TMP\\desc file;rm x.PIT");
        const std::string cache = base->GetPath(kDFilePath);
        EXPECT_EQ(CB_NewParameterArchiv(nullptr, nullptr, GwUD()), 1);
        EXPECT_TRUE(NewBoxes().empty());
        EXPECT_EQ(TreeFileExists("TMP/desc file;rm x.PIT"), !descriptionId);
        EXPECT_TRUE(TreeFileExists("TMP/desc"));
        // Activated again, with the descriptions read from the device anew.
        ASSERT_NE(main_->ActiveParaBase(), nullptr);
        EXPECT_EQ(main_->GetActiveAddress(), maintest::kAddress);
        EXPECT_GT(CountRequests(Requests(), "R30"), 0u);
        EXPECT_EQ(std::string(main_->ActiveParaBase()->GetPath(kDFilePath)), cache);
    }
}

class ResetTest : public DataSetTest {
protected:
    // Starts of the signature watch's timer, which the fixture stopped.
    static size_t ContainerTimerStarts() {
        size_t n = 0;
        for (const GwEffect& e : gwtest::Effects("timer start")) n += e.widget == "MainWindow.MainContainer";
        return n;
    }
};

TEST_F(ResetTest, WritesTheFamilysCodeWaitsWithTimersHeldAndReadsBack) {
    struct Case {
        uint16_t type;
        uint32_t code;
        uint32_t seconds;
    };
    for (const Case& c : {Case{4120, 850, 16}, Case{3120, 815, 11}}) {
        SCOPED_TRACE(c.type);
        drives_.clear();
        main_->UncoupleAllDevices();
        main_->CloseTarnBus();
        RemoveCache();
        AddDrive(maintest::kAddress, HandshakeTable(c.type));
        Activate();
        SetUserLevel(5);
        gwtest::AnswerBox(GwRESULT_YES);
        // What the user sees and what the timers see during the wait.
        std::vector<bool> modalDuringWait;
        double end = -1.0;
        double lastValue = -1.0;
        for (uint32_t at = 500; at < c.seconds * 1000; at += 1000) {
            gwtest::At(at, [&] {
                modalDuringWait.push_back(ModalFlag);
                auto* indicator = dynamic_cast<GwSlider*>(gwtest::Find("ProgressMessage/Indicator"));
                if (indicator == nullptr) return;
                end = indicator->end();
                lastValue = indicator->value();
            });
        }
        const uint32_t before = platform::GetTickCount();
        const size_t watchStarts = ContainerTimerStarts();
        EXPECT_EQ(CB_ResetDeviceParaSet(frame_, nullptr, GwUD()), 1);
        const uint32_t elapsed = platform::GetTickCount() - before;
        EXPECT_EQ(NewBoxes(), std::vector<std::string>{"question: Reset the device?"});
        EXPECT_EQ(modalDuringWait, std::vector<bool>(c.seconds, true));
        EXPECT_FALSE(ModalFlag);
        EXPECT_EQ(end, c.seconds - 1.0);
        EXPECT_EQ(lastValue, c.seconds - 1.0);
        EXPECT_GE(elapsed, c.seconds * 1000);
        EXPECT_LT(elapsed, (c.seconds + 2) * 1000);
        const std::vector<std::string> requests = Requests();
        const auto reset = std::find(requests.begin(), requests.end(), "W20004");
        ASSERT_NE(reset, requests.end());
        ASSERT_NE(reset + 1, requests.end());
        EXPECT_EQ(*(reset + 1), "R20004");
        EXPECT_EQ(Drive().Table().Find(4)->value, c.code);
        // Then the signature check ran, and its watch goes on.
        EXPECT_GT(ContainerTimerStarts(), watchStarts);
        bool progress = false;
        for (const GwEffect& e : gwtest::Effects("text")) progress |= e.value == "Resetting the device ...";
        EXPECT_TRUE(progress);
    }
}

TEST_F(ResetTest, CodesAndWaitsByFamily) {
    struct Case {
        int family;
        uint16_t code;
        int wait;
    };
    const Case cases[] = {
        {3, 815, 11}, {4, 850, 16}, {5, 850, 11}, {6, 850, 11}, {7, 850, 11}, {8, 815, 11}, {0, 815, 11}};
    for (const Case& c : cases) {
        const ResetStep step = ResetStepOf(c.family);
        EXPECT_EQ(step.code, c.code) << c.family;
        EXPECT_EQ(step.waitSeconds, c.wait) << c.family;
    }
}

TEST_F(ResetTest, NoAnswerAfterTheResetIsError88) {
    AddDrive(maintest::kAddress, HandshakeTable());
    Activate();
    SetUserLevel(5);
    Drive().AddFault(sim::DriveFault::Silence().For("20004").Times(sim::kForever));
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    CB_ResetDeviceParaSet(frame_, nullptr, GwUD());
    const std::vector<std::string> boxes = NewBoxes();
    ASSERT_GE(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], "error: The device did not answer after the reset!");
}

TEST_F(ResetTest, ARunningDeviceIsNotResetAndWithoutADeviceOnlyTheSignatureIsChecked) {
    sim::DriveTable table = HandshakeTable();
    table.Find(403)->value = 0x3000;  // state 3: running
    AddDrive(maintest::kAddress, table);
    Activate();
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    const size_t watchStarts = ContainerTimerStarts();
    CB_ResetDeviceParaSet(frame_, nullptr, GwUD());
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{"info: The device is running. Stop it first!"});
    EXPECT_EQ(CountRequests(Requests(), "W20004"), 0u);
    EXPECT_EQ(ContainerTimerStarts(), watchStarts);

    main_->UncoupleAllDevices();
    ClearCaptures();
    CB_ResetDeviceParaSet(frame_, nullptr, GwUD());
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_EQ(CountRequests(Requests(), "W20004"), 0u);
}

}  // namespace
