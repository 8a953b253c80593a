// The copy of a Ruvex drive's whole data between a file set and the device,
// through the shipped windows and callback tables: the chooser and its
// remembered paths, the parts a file set offers, the checks before the copy
// window opens, the hand-over for other families, what the drive hears and
// the files written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/notes/risk_note.h"
#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "app/shell/data_set_callbacks.h"
#include "app/shell/tests/shell_fixture.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "families/ruvex_data_set_copy.h"
#include "families/ruvex_side_windows.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "platform/system/clock.h"
#include "sim/drive_faults.h"
#include "sim/pos_program_channel.h"
#include "sim/ruvex_setup_parameters.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

constexpr uint32_t kRuvexType = 4001;
constexpr char kSetDir[] = "userdata/fileset";
constexpr char kSetPath[] = "..\\userdata\\fileset\\";
const std::string kToDevice = "4_CopyDataToDevice";
const std::string kToFile = "4_CopyDeviceToFile";
const std::string kEnd = sim::kPosProgramEndMarker;

// A family-4 drive with a small data set (120, 121 in group 1, 123 in group
// 3), the download handshake (80, 15), the store command 150, the script 89
// ("Drive script"), the listed parameters 727 to 730 and the program channel
// with program 01.
sim::DriveTable RuvexCopyTable(uint32_t type = kRuvexType) {
    sim::DriveTable table = maintest::ActivationTable(type);
    sim::PutRuvexSetupParameters(table, {0, 0, std::nullopt, "Drive script"});
    table.PutFullRange(15, "DLEND", "USIGN8", 0);
    sim::DriveParameter* handshake = table.PutFullRange(80, "DLHS", "INT16", 0);
    handshake->minimum = static_cast<uint32_t>(-32768);
    handshake->maximum = 32767;
    table.handshake.enabled = true;
    table.PutFullRange(120, "MODE", "USIGN8", 1)->sc_group = 1;
    table.PutFullRange(121, "DIR", "USIGN8", 0)->sc_group = 1;
    table.PutFullRange(123, "SPEED", "INT32", 1500)->sc_group = 3;
    table.PutFullRange(150, "STORE", "USIGN8", 0);
    table.PutFullRange(sim::kPosProgramChannelParameter, "POSPRG", "STRING", 0);
    table.pos_programs.programs = {{"01", {"POS100"}}};
    return table;
}

class RuvexCopyTest : public shelltest::ShellTest {
protected:
    void SetUp() override {
        RemoveCaches();
        ShellTest::SetUp();
        ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/ruvex.cgw").c_str()));
        ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/marlo.cgw").c_str()));
        std::filesystem::create_directories(testsupport::RuntimePath(kSetDir));
    }
    void TearDown() override {
        std::filesystem::remove_all(testsupport::RuntimePath(kSetDir));
        ShellTest::TearDown();
        RemoveCaches();
    }
    static void RemoveCaches() {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(testsupport::RuntimePath("FIRMDATA"), error)) {
            const std::string name = entry.path().filename().string();
            for (const char* type : {"4001_", "5001_", "8001_"}) {
                if (name.rfind(type, 0) == 0) std::filesystem::remove(entry.path());
            }
        }
    }
    void ActivateDrive(sim::DriveTable table = RuvexCopyTable()) {
        AddDrive(maintest::kAddress, std::move(table));
        Activate();
        // The program channel, on after the activation read it, answers an
        // empty text while no command queued a reply (a read of the whole
        // data set reads it too).
        Drive().Table().pos_programs.enabled = true;
        Drive().Table().pos_programs.idle_reply = "";
        ClearCaptures();
        NewBoxes();
    }
    sim::VirtualDrive& Drive() { return *drives_.at(maintest::kAddress); }
    GwCore* Caller() {
        if (caller_.get() == nullptr) caller_ = ListedOnlineWindow("RuvexCaller", frame_);
        return caller_.get();
    }
    // The device's base written as "<name>" of the file set after `change`.
    void WriteFileSet(const std::string& name, const std::function<void(ParaBase&)>& change = {}) {
        ParaBase file;
        file.InitFile((kSetPath + name).c_str());
        ASSERT_EQ(file.CopyBase(*main_->ActiveParaBase()), 0) << file.MessageBuffer;
        if (change) change(file);
        ASSERT_EQ(file.WriteFileBase(), 0) << file.MessageBuffer;
    }
    static void WriteSetFile(const std::string& name, const std::string& bytes) {
        testsupport::WriteFile(testsupport::RuntimePath(std::string(kSetDir) + "/" + name), bytes);
    }
    static std::filesystem::path SetFile(const std::string& name) {
        return testsupport::RuntimePath(std::string(kSetDir) + "/" + name);
    }
    // The data set "x.00D" of the device with 120 := 2, 123 := 7 and the
    // script "File script"; the device type as given (0: the drive's own).
    void WriteDataSet(uint16_t type = 0, float version = 0.0f) {
        WriteFileSet("x.00D", [type, version](ParaBase& file) {
            file.GetEntry(120)->value = 2;
            file.GetEntry(123)->value = 7;
            ASSERT_EQ(file.SetValueString(89, dstring("File script")), 0);
            if (type != 0) file.GetEntry(91)->value = type;
            if (version != 0.0f) ASSERT_EQ(file.SetValueFloat(92, version), 0);
        });
    }
    // The listed parameters "x.01D" with 727 to 730 := 1 to 4.
    void WriteListed() {
        WriteFileSet("x.01D", [](ParaBase& file) {
            for (int number = 727; number <= 730; ++number) file.GetEntry(number)->value = number - 726;
        });
    }
    // The chooser answered with the file, the risk note confirmed.
    int OpenToDevice(const std::string& name, GwCore* caller = nullptr) {
        gwtest::AnswerFile(kSetPath + name);
        gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteAdjustmentChanged);
        return CB_CopyFileData2Device(caller != nullptr ? caller : Caller(), nullptr, GwUD());
    }
    static GwToggle* Box(const std::string& window, const std::string& name) {
        return dynamic_cast<GwToggle*>(gwtest::Find(window + "/" + name));
    }
    // "checked enabled shown" of a box of the window, e.g. "1 1 1".
    static std::string BoxState(const std::string& window, const std::string& name) {
        GwToggle* box = Box(window, name);
        if (box == nullptr) return "missing";
        return std::to_string(box->is_checked()) + " " + std::to_string(box->is_enabled()) + " " +
               std::to_string(box->is_shown());
    }
    static void Check(const std::string& window, bool device, bool move, bool posmod) {
        Box(window, "device")->set_checked(device);
        Box(window, "move")->set_checked(move);
        Box(window, "posmod")->set_checked(posmod);
    }
    std::vector<std::string> Writes() {
        std::vector<std::string> writes;
        for (const std::string& t : Drive().Capture().TelegramTexts()) {
            if (t.rfind("W ", 0) == 0) writes.push_back(t);
        }
        return writes;
    }
    static std::vector<std::string> ActivityTexts() {
        std::vector<std::string> texts;
        for (const GwEffect& e : gwtest::Effects("text")) {
            if (e.value.find(" ...") != std::string::npos) texts.push_back(e.value);
        }
        return texts;
    }

    // The shipped CPU-load window on an online context of the drive, its
    // timer stopped: the test ticks it.
    GwCore* OpenCpuLoadWindow() {
        loadContext_ = std::make_unique<devicewintest::TestContext>(nullptr, *main_->ActiveParaBase(), true);
        GwCore* load = GwRcMgr::load(GetMainWindow(), "4_CPULoad", 1);
        if (load == nullptr) return nullptr;
        load->set_user_data(GwUD(static_cast<void*>(loadContext_.get())));
        load->show();
        load->stop_timer();
        return load;
    }

    GwRef<> caller_;
    std::unique_ptr<devicewintest::TestContext> loadContext_;
};

// --- opening the copy into the device ---

TEST_F(RuvexCopyTest, ChooserRemembersTheLastChoiceOfItsDirection) {
    ActivateDrive();
    WriteListed();
    gwtest::CancelFile();
    EXPECT_EQ(CB_CopyFileData2Device(Caller(), nullptr, GwUD()), 1);
    EXPECT_EQ(OpenToDevice("x.01d"), 1);
    gwtest::CancelFile();
    CB_CopyFileData2Device(Caller(), nullptr, GwUD());
    gwtest::CancelFile();
    CB_CopyDevice2File(Caller(), nullptr, GwUD());
    const std::vector<GwFileRequest>& requests = GwRecorder::FileRequests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0].id, "id");
    EXPECT_EQ(requests[0].title, "Choose parameter file");
    EXPECT_EQ(requests[0].filter, "Parameter files (*.00d *.01d *.prg)|*.00d;*.01d;*.prg|All files (*.*)|*|");
    EXPECT_EQ(requests[0].directory, GetUserDataDir());
    EXPECT_EQ(requests[0].parent, "MainWindow.RuvexCaller");
    EXPECT_EQ(requests[1].directory, GetUserDataDir());
    EXPECT_EQ(requests[2].directory, std::string(kSetPath) + "x.01d");
    // The other direction keeps its own path.
    EXPECT_EQ(requests[3].directory, GetUserDataDir());
    // Only the chosen file opened a window.
    EXPECT_EQ(TheWindowHandler().FindByName(kToDevice.c_str()), nullptr);
}

TEST_F(RuvexCopyTest, TheWindowOffersThePartsBesideTheChosenFile) {
    ActivateDrive();
    WriteListed();
    WriteSetFile("X.PRG", "GO 0\r\n");
    ASSERT_EQ(OpenToDevice("x.01d"), 1);
    ASSERT_NE(gwtest::Find(kToDevice), nullptr);
    EXPECT_EQ(BoxState(kToDevice, "device"), "0 0 1");
    EXPECT_FALSE(gwtest::Find(kToDevice + "/Script")->is_shown());
    EXPECT_EQ(BoxState(kToDevice, "move"), "1 1 1");
    EXPECT_EQ(BoxState(kToDevice, "posmod"), "1 1 1");
    gwtest::Find(kToDevice)->destroy();

    WriteDataSet();
    std::filesystem::remove(SetFile("X.PRG"));
    ASSERT_EQ(OpenToDevice("x.01d"), 1);
    EXPECT_EQ(BoxState(kToDevice, "device"), "1 1 1");
    EXPECT_TRUE(gwtest::Find(kToDevice + "/Script")->is_shown());
    EXPECT_EQ(gwtest::Find(kToDevice + "/Script")->text(), "File script");
    EXPECT_EQ(BoxState(kToDevice, "posmod"), "0 0 1");
}

TEST_F(RuvexCopyTest, DataSetOfAnotherDeviceTypeOpensNothing) {
    struct Case {
        uint16_t type;
        float version;
        std::vector<std::string> boxes;
        std::string move;  // "missing" when no window opened
    } cases[] = {
        {5123,
         0.0f,
         {"warning: The file belongs to device type Pesco5123, the device is of type Ruvex4001"},
         "missing"},
        {4123, 0.0f, {}, "1 1 1"},
        {4123, 205.0f, {}, "0 1 0"},
    };
    ActivateDrive();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        WriteDataSet(c.type, c.version);
        WriteListed();
        NewBoxes();
        gwtest::AnswerFile(std::string(kSetPath) + "x.00d");
        if (c.boxes.empty()) gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteAdjustmentChanged);
        CB_CopyFileData2Device(Caller(), nullptr, GwUD());
        EXPECT_EQ(NewBoxes(), c.boxes);
        EXPECT_EQ(BoxState(kToDevice, "move"), c.move);
        if (GwCore* window = gwtest::Find(kToDevice)) window->destroy();
    }
}

TEST_F(RuvexCopyTest, ChecksBeforeTheChooser) {
    ActivateDrive();
    WriteListed();
    // An open device control window: "No" ends, "Yes" closes it.
    const GwRef<> control(ListedOnlineWindow("DeviceControl", frame_));
    ASSERT_NE(TheWindowHandler().FindByName("DeviceControl"), nullptr);
    gwtest::AnswerBox(GwRESULT_NO);
    CB_CopyFileData2Device(Caller(), nullptr, GwUD());
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{"question: The device control window is open. Close it?"});
    EXPECT_TRUE(GwRecorder::FileRequests().empty());
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::CancelFile();
    CB_CopyFileData2Device(Caller(), nullptr, GwUD());
    EXPECT_EQ(TheWindowHandler().FindByName("DeviceControl"), nullptr);
    EXPECT_EQ(control.get(), nullptr);
    EXPECT_EQ(GwRecorder::FileRequests().size(), 1u);

    // A declined risk note opens nothing.
    NewBoxes();
    gwtest::AnswerFile(std::string(kSetPath) + "x.01d");
    gwtest::AnswerModal(0, kRiskNoteAdjustmentChanged);
    CB_CopyFileData2Device(Caller(), nullptr, GwUD());
    EXPECT_EQ(gwtest::Find(kToDevice), nullptr);

    // A running drive is told to stop first.
    Drive().Table().Find(403)->value = 0x3000;
    CB_CopyFileData2Device(Caller(), nullptr, GwUD());
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{"info: The active device is running. Stop it first!"});
    EXPECT_EQ(GwRecorder::FileRequests().size(), 2u);
}

TEST_F(RuvexCopyTest, TheDeviceIsBusyFromTheChooserToTheEnd) {
    ActivateDrive();
    WriteListed();
    GwCore* load = OpenCpuLoadWindow();
    ASSERT_NE(load, nullptr);
    bool busyInNote = false;
    gwtest::AnswerFile(std::string(kSetPath) + "x.01d");
    gwtest::ScriptModal(
        kRiskNoteAdjustmentChanged,
        [&](GwCore*) {
            busyInNote = DeviceBusyFlag;
            ClearCaptures();
            CB_Timer_CPU_LOAD(load, nullptr, GwUD());
            EXPECT_TRUE(Drive().Capture().TelegramTexts().empty());
            EXPECT_EQ(gwtest::Text("4_CPULoad/PN_170[0]"), "");
        },
        kRiskNoteConfirmed);
    CB_CopyFileData2Device(Caller(), nullptr, GwUD());
    EXPECT_TRUE(busyInNote);
    EXPECT_FALSE(DeviceBusyFlag);
    EXPECT_NE(gwtest::Find(kToDevice), nullptr);
    load->destroy();
}

TEST_F(RuvexCopyTest, SetupWindowsAndTheToolbarReachTheCopyCallbacks) {
    const struct {
        const char* window;
        const char* widget;
        GwCallback callback;
    } bindings[] = {
        {"3_SetupMain", "CopyToDevice", CB_CopyFileData2Device},
        {"3_SetupMain", "CopyToFile", CB_CopyDevice2File},
        {"4_SetupMain", "CopyToDevice", CB_CopyFileData2Device},
        {"4_SetupMain", "CopyToFile", CB_CopyDevice2File},
        {"4_SetupMain", "PosModProgramEditor", CB_4_CallProgramEditor},
        {"4_SetupMain", "ResetError", CB_4_ResetError},
        {"4_200_SetupMain", "CopyToDevice", CB_CopyFileData2Device},
        {"MainWindow", "TB_Fi2Dv", CB_CopyFileData2Device},
        {"MainWindow", "TB_Dv2Fi", CB_CopyDevice2File},
    };
    for (const auto& b : bindings) {
        SCOPED_TRACE(std::string(b.window) + "/" + b.widget);
        GwCore* window = std::string(b.window) == "MainWindow" ? frame_ : GwRcMgr::load(nullptr, b.window, 1);
        ASSERT_NE(window, nullptr);
        GwCore* widget = window->frame_child(b.widget);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(GwRcMgr::lookup_callback(widget, GwCB_ACTIVATE), b.callback);
        if (window != frame_) window->destroy();
    }
}

TEST_F(RuvexCopyTest, OtherFamiliesHandOver) {
    // Family 5: the script-window copy of its data set.
    ActivateDrive(maintest::ActivationTable(5001));
    ParaBase file;
    file.InitFile((std::string(kSetPath) + "p.00D").c_str());
    ASSERT_EQ(file.CopyBase(*main_->ActiveParaBase()), 0);
    ASSERT_EQ(file.WriteFileBase(), 0);
    gwtest::AnswerFile(std::string(kSetPath) + "p.00D");
    gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteAdjustmentChanged);
    EXPECT_EQ(CB_CopyFileData2Device(Caller(), nullptr, GwUD()), 1);
    EXPECT_NE(gwtest::Find("3_CopyDataToDevice"), nullptr);
    EXPECT_EQ(gwtest::Find(kToDevice), nullptr);
}

TEST_F(RuvexCopyTest, OtherFamiliesHandOverToThePlainCopy) {
    ActivateDrive(maintest::ActivationTable(8001));
    gwtest::CancelFile();
    EXPECT_EQ(CB_CopyFileData2Device(frame_->frame_child("TB_Fi2Dv"), nullptr, GwUD("4")), 1);
    gwtest::CancelFile();
    EXPECT_EQ(CB_CopyDevice2File(frame_->frame_child("TB_Dv2Fi"), nullptr, GwUD("2")), 1);
    const std::vector<GwFileRequest>& requests = GwRecorder::FileRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].id, "FileToDevice");
    EXPECT_EQ(requests[1].id, "DeviceToFile");
}

// --- copying into the device ---

const std::vector<std::string> kDataSetWrite = {
    "W 20080=FFFFFFFF", "W 20120=2", "W 20121=0", "W 20123=7", "W 20080=FFFFFFFE", "W 20015=1"};
const std::vector<std::string> kListedWrite = {"W 20728=2", "W 20729=3", "W 20727=1", "W 20730=4"};

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST_F(RuvexCopyTest, CopiesTheCheckedPartsIntoTheDevice) {
    struct Case {
        const char* what;
        bool device, move, posmod;
        std::vector<std::string> writes;
        std::vector<std::string> activities;
    } cases[] = {
        {"device",
         true,
         false,
         false,
         Join({kDataSetWrite, {"W 20089=S1", "W 20150=1"}}),
         {"Copying parameter sets ...", "Writing the data set to the device ..."}},
        {"move",
         false,
         true,
         false,
         Join({kListedWrite, {"W 20150=1"}}),
         {"Copying parameter sets ...", "Storing the parameters in the device ..."}},
        {"posmod",
         false,
         false,
         true,
         {"W 20751=%CLPxx", "W 20751=GO1", "W 20751=" + kEnd, "W 20751=%SAV"},
         {"Copying parameter sets ...", "Loading the positioning program into the device ..."}},
        {"all",
         true,
         true,
         true,
         Join({kDataSetWrite,
               {"W 20089=S1"},
               kListedWrite,
               {"W 20150=1", "W 20751=%CLPxx", "W 20751=GO1", "W 20751=" + kEnd, "W 20751=%SAV"}}),
         {}},
    };
    ActivateDrive();
    WriteDataSet();
    WriteListed();
    WriteSetFile("x.prg", "GO 1\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(OpenToDevice("x.00d"), 1);
        Check(kToDevice, c.device, c.move, c.posmod);
        gwtest::Find(kToDevice + "/Script")->set_text("S1");
        ClearCaptures();
        const size_t activitiesBefore = ActivityTexts().size();
        const uint64_t before = platform::TheClock().NowUs();
        ASSERT_TRUE(gwtest::Click(kToDevice + "/OK"));
        EXPECT_EQ(gwtest::Find(kToDevice), nullptr);
        std::vector<std::string> writes = Writes();
        EXPECT_EQ(writes, c.writes);
        if (!c.activities.empty()) {
            const std::vector<std::string> all = ActivityTexts();
            EXPECT_EQ(std::vector<std::string>(all.begin() + activitiesBefore, all.end()), c.activities);
        }
        if (c.posmod) EXPECT_GE(platform::TheClock().NowUs() - before, 1000000u);
        EXPECT_FALSE(BusTransferFlag);
    }
}

TEST_F(RuvexCopyTest, ARefusedDataSetAsksAgainAndAnUnreadableOneWritesNothing) {
    ActivateDrive();
    WriteDataSet();
    ASSERT_EQ(OpenToDevice("x.00d"), 1);
    Check(kToDevice, true, false, false);
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20120"));
    ClearCaptures();
    // The copy window is gone before the first write.
    gwtest::AnswerBox(GwRESULT_YES, [](const GwBoxRecord&) { EXPECT_EQ(gwtest::Find(kToDevice), nullptr); });
    ASSERT_TRUE(gwtest::Click(kToDevice + "/OK"));
    const std::vector<GwBoxRecord>& boxes = gwtest::Boxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().kind, "warning");
    EXPECT_EQ(boxes.back().text, "RS232 transmission error in parameter 120-MODE : \nInvalid new value for parameter!");
    EXPECT_EQ(boxes.back().parent, "MainWindow");
    const std::vector<std::string> writes = Writes();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), "W 20080=FFFFFFFF"), 2);
    EXPECT_EQ(writes.back(), "W 20150=1");

    // "No" ends the copy with what was done.
    ASSERT_EQ(OpenToDevice("x.00d"), 1);
    Check(kToDevice, true, true, false);
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20120"));
    ClearCaptures();
    gwtest::AnswerBox(GwRESULT_NO);
    ASSERT_TRUE(gwtest::Click(kToDevice + "/OK"));
    EXPECT_EQ(Writes(), (std::vector<std::string>{"W 20080=FFFFFFFF", "W 20120=2"}));

    // A data set that does not load: error 5 over the main window.
    ASSERT_EQ(OpenToDevice("x.00d"), 1);
    Check(kToDevice, true, false, false);
    testsupport::WriteFile(SetFile("x.00D"), "broken");
    ClearCaptures();
    NewBoxes();
    ASSERT_TRUE(gwtest::Click(kToDevice + "/OK"));
    EXPECT_TRUE(Writes().empty());
    ASSERT_EQ(gwtest::Boxes().back().kind, "error");
    EXPECT_EQ(gwtest::Boxes().back().parent, "MainWindow");
}

TEST_F(RuvexCopyTest, ATimerTickDuringTheCopyReadsNothing) {
    ActivateDrive();
    WriteSetFile("x.prg", "GO 1\r\n");
    GwCore* load = OpenCpuLoadWindow();
    ASSERT_NE(load, nullptr);
    ASSERT_EQ(OpenToDevice("x.prg"), 1);
    Check(kToDevice, false, false, true);
    bool transferDuringCopy = false;
    // Due inside the wait before the programs go out, which pumps events.
    gwtest::At(500, [&] {
        transferDuringCopy = BusTransferFlag;
        CB_Timer_CPU_LOAD(load, nullptr, GwUD());
    });
    ClearCaptures();
    ASSERT_TRUE(gwtest::Click(kToDevice + "/OK"));
    EXPECT_TRUE(transferDuringCopy);
    EXPECT_FALSE(BusTransferFlag);
    for (const std::string& t : Drive().Capture().TelegramTexts()) EXPECT_EQ(t.find("0170"), std::string::npos) << t;
    EXPECT_EQ(gwtest::Text("4_CPULoad/PN_170[0]"), "");
    load->destroy();
}

// --- copying from the device ---

TEST_F(RuvexCopyTest, TheWindowFromTheDeviceHoldsItsScript) {
    ActivateDrive();
    gwtest::AnswerFile(std::string(kSetPath) + "x.00d");
    EXPECT_EQ(CB_CopyDevice2File(Caller(), nullptr, GwUD()), 1);
    EXPECT_EQ(gwtest::Text(kToFile + "/Script"), "Drive script");
    EXPECT_EQ(BoxState(kToFile, "move"), "1 1 1");
    EXPECT_EQ(GwRecorder::FileRequests().back().directory, GetUserDataDir());
    gwtest::Find(kToFile)->destroy();

    // A failed read: error 5 and the calling window goes.
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20089"));
    gwtest::AnswerFile(std::string(kSetPath) + "x.00d");
    CB_CopyDevice2File(Caller(), nullptr, GwUD());
    EXPECT_EQ(GwRecorder::FileRequests().back().directory, std::string(kSetPath) + "x.00d");
    EXPECT_EQ(gwtest::Find(kToFile), nullptr);
    EXPECT_EQ(caller_.get(), nullptr);
    EXPECT_EQ(gwtest::Boxes().back().kind, "error");
}

// Called from the toolbar (or with the main window itself), a failed read
// of the script shows the error and leaves the main window.
TEST_F(RuvexCopyTest, AFailedReadOfTheScriptKeepsTheMainWindow) {
    ActivateDrive();
    for (GwCore* caller : {frame_->frame_child("TB_Dv2Fi"), frame_}) {
        ASSERT_NE(caller, nullptr);
        SCOPED_TRACE(caller->name());
        Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20089"));
        gwtest::AnswerFile(std::string(kSetPath) + "x.00d");
        NewBoxes();
        EXPECT_EQ(CB_CopyDevice2File(caller, nullptr, GwUD()), 1);
        EXPECT_EQ(gwtest::Find(kToFile), nullptr);
        const std::vector<std::string> boxes = NewBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].rfind("error: ", 0), 0u) << boxes[0];
        EXPECT_EQ(gwtest::Boxes().back().parent, "MainWindow");
        ASSERT_TRUE(GwRcMgr::is_valid_child(frame_));
        EXPECT_EQ(GetMainWindow(), frame_);
        EXPECT_TRUE(frame_->is_shown());
    }
}

TEST_F(RuvexCopyTest, CopyFromAVersion200DriveHidesThePositioningParts) {
    sim::DriveTable table = RuvexCopyTable();
    table.Find(92)->value = maintest::FloatBits(205.0f);
    ActivateDrive(std::move(table));
    gwtest::AnswerFile(std::string(kSetPath) + "x.00d");
    CB_CopyDevice2File(Caller(), nullptr, GwUD());
    EXPECT_EQ(BoxState(kToFile, "move"), "0 1 0");
    EXPECT_EQ(BoxState(kToFile, "posmod"), "0 1 0");
}

TEST_F(RuvexCopyTest, AnExistingFileSetIsOverwrittenOnlyAfterYes) {
    ActivateDrive();
    WriteSetFile("X.00D", "old");
    gwtest::AnswerFile(std::string(kSetPath) + "x.00d");
    CB_CopyDevice2File(Caller(), nullptr, GwUD());
    Check(kToFile, false, true, false);
    NewBoxes();
    ClearCaptures();
    // Only "move" checked, only the data set there: no question.
    ASSERT_TRUE(gwtest::Click(kToFile + "/OK"));
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_TRUE(std::filesystem::exists(SetFile("x.01D")));

    gwtest::AnswerFile(std::string(kSetPath) + "x.00d");
    CB_CopyDevice2File(Caller(), nullptr, GwUD());
    Check(kToFile, true, false, false);
    ClearCaptures();
    gwtest::AnswerBox(GwRESULT_NO);
    ASSERT_TRUE(gwtest::Click(kToFile + "/OK"));
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{"question: The file set already exists. Overwrite it?"});
    EXPECT_EQ(gwtest::Find(kToFile), nullptr);
    EXPECT_EQ(testsupport::ReadFile(SetFile("X.00D")), "old");
    EXPECT_TRUE(Drive().Capture().TelegramTexts().empty());
}

TEST_F(RuvexCopyTest, CopiesTheCheckedPartsIntoTheFileSet) {
    ActivateDrive();
    Drive().Table().Find(728)->value = 99;
    gwtest::AnswerFile(std::string(kSetPath) + "x.00d");
    CB_CopyDevice2File(Caller(), nullptr, GwUD());
    gwtest::Find(kToFile + "/Script")->set_text("Saved script");
    ClearCaptures();
    ASSERT_TRUE(gwtest::Click(kToFile + "/OK"));
    EXPECT_EQ(gwtest::Find(kToFile), nullptr);
    const std::vector<std::string> activities = ActivityTexts();
    ASSERT_FALSE(activities.empty());
    EXPECT_EQ(activities.back(), "Writing the data set to the file ...");

    for (const char* name : {"x.00D", "x.00T", "x.00X", "x.01D", "x.prg"}) {
        EXPECT_TRUE(std::filesystem::exists(SetFile(name))) << name;
    }
    ParaBase dataSet(dstring((std::string(kSetPath) + "x.00D").c_str()));
    ASSERT_NE(dataSet.TableLoaded, 0);
    dstring script;
    dataSet.GetValueString(89, script);
    EXPECT_STREQ(script.Text(), "Saved script");
    double speed = 0.0;
    dataSet.GetValueDouble(728, &speed);
    EXPECT_EQ(speed, 99.0);

    ParaBase listed(dstring((std::string(kSetPath) + "x.01D").c_str()));
    ASSERT_NE(listed.TableLoaded, 0);
    std::vector<int> used;
    for (int number = 0; number < 1000; ++number) {
        const ParameterEntry* e = listed.GetEntry(number);
        if (e != nullptr && listed.IsPresent(number) && e->transfer != 0) used.push_back(number);
    }
    EXPECT_EQ(used, (std::vector<int>{727, 728, 729, 730}));
    EXPECT_EQ(testsupport::ReadFile(SetFile("x.prg")), "POS100\r\n\r\n");
}

TEST_F(RuvexCopyTest, AFailedReadOfTheDataSetIsRepeatedOnOk) {
    ActivateDrive();
    gwtest::AnswerFile(std::string(kSetPath) + "x.00d");
    CB_CopyDevice2File(Caller(), nullptr, GwUD());
    Check(kToFile, true, false, false);
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20123"));
    gwtest::AnswerBox(GwRESULT_OK);
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20123"));
    gwtest::AnswerBox(2);  // Quit
    NewBoxes();
    ASSERT_TRUE(gwtest::Click(kToFile + "/OK"));
    const std::vector<std::string> boxes = NewBoxes();
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(SetFile("x.00D")));
}

}  // namespace
