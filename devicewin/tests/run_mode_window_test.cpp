// The run-mode dependent widgets, the window of the active run mode and the
// installation of a run mode on the virtual drive, with its one-second waits
// on the virtual clock.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/notes/risk_note.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "devicewin/device_save.h"
#include "devicewin/run_mode_window.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "parameters/parabase/para_types.h"
#include "platform/system/clock.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

// Run mode 3 has setup page 7; the others none.
const int32_t kSetupPages[] = {0, 0, 0, 7};

class StatusContext : public TestContext {
public:
    using TestContext::TestContext;
    bool CheckStatusWordBit() override { return Running; }
    bool Running = false;
};

// The ticks of a widget's timer, by virtual time.
std::vector<uint32_t>& TickTimes() {
    static std::vector<uint32_t> times;
    return times;
}
int RecordTick(GwCore*, GwEvent*, GwUD) {
    TickTimes().push_back(platform::GetTickCount());
    return 1;
}
const GwFuncDesc kTickCallbacks[] = {{"RecordTick", RecordTick}, {nullptr, nullptr}};

class RunModeTest : public DeviceWindowTest {
public:
    void SetUp() override {
        DeviceWindowTest::SetUp();
        TickTimes().clear();
        GwRcMgr::use_func_desc(kTickCallbacks);
        ASSERT_TRUE(
            GwRcMgr::use_text("dialogframe 4_RunMode7 { }\ndialogframe 4_RunMode0 { }\n"
                              "dialogframe 4_AOP_Page { }\n",
                              "runmode.cgw"));
    }
    StatusContext* Context(bool online) {
        auto context = std::make_unique<StatusContext>(nullptr, *main_->ActiveParaBase(), online);
        context->SetupPageTable = kSetupPages;
        context->SetupPageTableLength = static_cast<int32_t>(std::size(kSetupPages));
        StatusContext* raw = context.get();
        contexts_.push_back(std::move(context));
        return raw;
    }
    void ReportRunMode(uint32_t mode) { Drive().Table().Find(kRunModeParameter)->value = mode; }
    std::vector<std::string> Listed() {
        std::vector<std::string> names;
        WindowHandler& windows = TheWindowHandler();
        for (GwCore* w = windows.First(); w != nullptr; w = windows.Next()) names.push_back(w->name());
        return names;
    }
    bool IsListed(const std::string& name) {
        for (const std::string& n : Listed()) {
            if (n == name) return true;
        }
        return false;
    }
};

TEST_F(RunModeTest, TheSelectionFollowsTheRunMode) {
    struct Case {
        const char* what;
        int mode;
        bool online;
        bool setup;
        bool hand;
    };
    const Case cases[] = {
        {"mode with a setup page", 3, true, true, false},
        {"mode without one", 2, true, false, false},
        {"beyond the table", 14, true, false, true},
        {"below positioning", 11, true, false, false},
        {"above positioning", 17, true, false, false},
        {"negative", -1, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* name : {"4_AOP_Page", "DeviceControl", "4_AOC_Jog", "PosModEditor"}) ListedOnlineWindow(name);
        ListedOnlineWindow("Bystander");
        StatusContext* context = Context(c.online);
        if (c.online) {
            ReportRunMode(static_cast<uint32_t>(c.mode));
        } else {
            // A signed run-mode parameter, as a file set may hold.
            ParameterEntry* e = context->Base->GetEntry(kRunModeParameter);
            e->type = kTypeInt16;
            e->value = c.mode;
        }
        OpenWindow("button Setup { enabled = no }\npicture PosModHandMode { }", context);
        W("Setup")->set_sensitive(!c.setup);
        ShowRunModeSelection(window_, context);
        EXPECT_EQ(W("Setup")->is_enabled(), c.setup);
        EXPECT_EQ(W("PosModHandMode")->is_shown(), c.hand);
        EXPECT_EQ(Listed(), (std::vector<std::string>{"Bystander"}));
        TheWindowHandler().Reset();
        window_->destroy();
    }
}

TEST_F(RunModeTest, AFailedReadChangesNothingElse) {
    StatusContext* context = Context(true);
    OpenWindow("button Setup { }\npicture PosModHandMode { visible = yes }", context);
    Drive().AddFault(sim::DriveFault::Silence().For("20151").Times(sim::kForever));
    MarkBoxes();
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    ShowRunModeSelection(window_, context);
    ASSERT_FALSE(NewBoxes().empty());
    EXPECT_EQ(NewBoxes()[0].kind, "error");
    EXPECT_TRUE(W("Setup")->is_enabled());
    EXPECT_TRUE(W("PosModHandMode")->is_shown());
}

TEST_F(RunModeTest, TheRunModeWindowOpensFreshByItsSetupPage) {
    struct Case {
        int mode;
        const char* window;
    };
    for (const Case& c : {Case{3, "4_RunMode7"}, Case{5, "4_RunMode0"}}) {
        SCOPED_TRACE(c.window);
        StatusContext* context = Context(true);
        ReportRunMode(static_cast<uint32_t>(c.mode));
        OpenWindow("button Call { }", context);
        GwCore* first = nullptr;
        for (int call = 0; call < 2; ++call) {
            EXPECT_EQ(CB_CallRunMode(W("Call"), nullptr, GwUD("4_RunMode")), 1);
            GwCore* opened = TheWindowHandler().FindByName(c.window);
            ASSERT_NE(opened, nullptr);
            EXPECT_EQ(opened->title(), std::to_string(c.mode));
            EXPECT_EQ(opened->user_data().pointer_as<DeviceSetupContext>(), context);
            EXPECT_EQ(opened->parent(), window_);
            EXPECT_TRUE(opened->is_visible());
            if (call == 0) {
                first = opened;
            } else {
                EXPECT_FALSE(GwRcMgr::is_valid_child(first));
            }
        }
        TheWindowHandler().Reset();
        window_->destroy();
    }
}

class InstallTest : public RunModeTest {
public:
    // The setup window with the application list showing the device's
    // value, and a polling widget whose ticks are recorded.
    StatusContext* OpenSetup(int selected, bool online = true) {
        StatusContext* context = Context(online);
        EXPECT_TRUE(GwRcMgr::use_text("dialogframe SetupMainX { button Setup { enabled = no } }\n", "setup.cgw"));
        setup_ = GwRcMgr::load(mainWindow_, "SetupMainX", 1);
        setup_->set_user_data(GwUD(static_cast<void*>(context)));
        setup_->show();
        context->Window = setup_;
        OpenWindow(
            "combo _PN_152 { items = \"None\", \"Speed\", \"Torque\", \"Position\" }\n"
            "button Install { }\nlabel Poll { on timer = RecordTick }",
            context);
        dynamic_cast<GwCombo*>(W("_PN_152"))->select(selected);
        W("Poll")->start_timer(100);
        Drive().ClearCapture();
        MarkBoxes();
        return context;
    }
    std::vector<std::string> HeardUpToSave() {
        std::vector<std::string> heard;
        for (const std::string& t : Heard()) {
            heard.push_back(t);
            if (t.rfind("W 20150", 0) == 0) break;
        }
        return heard;
    }
    // Yes to the question, and the risk note confirmed.
    static void Confirm() {
        gwtest::AnswerBox(GwRESULT_YES);
        gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteAdjustmentChanged);
    }
    size_t WritesOf(const std::string& code) {
        size_t n = 0;
        for (const std::string& t : Heard()) n += t.rfind("W " + code, 0) == 0;
        return n;
    }
    GwCore* setup_ = nullptr;
};

TEST_F(InstallTest, TheDriveTakesTheRunModeAtTheSecondRead) {
    Drive().Table().run_mode.enabled = true;
    Drive().Table().run_mode.reads_before = 1;
    for (const char* name : {"DeviceControl", "4_AOP_Page"}) ListedOnlineWindow(name);
    StatusContext* context = OpenSetup(3);
    context->Modified = true;
    // The main window's signature watch, which the save asks to check.
    auto* watch = new GwContainer(kMainContainerName, mainWindow_);
    watch->show();
    ASSERT_FALSE(BusTransferFlag);
    NewLogText();
    Confirm();
    EXPECT_EQ(CB_InstallRunMode(W("Install"), nullptr, GwUD()), 0);

    ASSERT_FALSE(NewBoxes().empty());
    EXPECT_EQ(NewBoxes()[0].kind, "question");
    EXPECT_NE(NewBoxes()[0].text.find("Change the setting to Position"), std::string::npos);
    EXPECT_NE(NewLogText().find("IgnoreNextRunModeChange adjusted"), std::string::npos);
    EXPECT_FALSE(IsListed("DeviceControl"));
    EXPECT_FALSE(IsListed("4_AOP_Page"));
    const std::vector<std::string> expected = {"W 20152=3", "R 20151", "W 20152=3", "R 20151", "W 20150=1"};
    ASSERT_EQ(HeardUpToSave(), expected);
    const std::vector<sim::HeardTelegram> telegrams = Drive().Capture().Telegrams();
    // Each read follows its write by the second's wait.
    for (size_t i : {1u, 3u}) {
        const uint64_t gap = telegrams[i].time_us - telegrams[i - 1].time_us;
        EXPECT_GE(gap, 1000000u);
        EXPECT_LT(gap, 1100000u);
    }
    for (uint32_t tick : TickTimes()) {
        EXPECT_FALSE(tick * 1000ull > telegrams[0].time_us && tick * 1000ull < telegrams[4].time_us) << tick;
    }
    EXPECT_EQ(main_->GetStoredRunMode(), 3);
    EXPECT_FALSE(context->Modified);
    EXPECT_FALSE(window_->is_visible());
    EXPECT_TRUE(setup_->child("Setup")->is_enabled());
    EXPECT_EQ(dynamic_cast<GwCombo*>(W("_PN_152"))->first_selected(), 3);
    // The save ran while the installation held the transfer flag: the watch
    // took its tick for a guarded one and did not start its timer.
    EXPECT_FALSE(watch->is_timer_running());
    EXPECT_FALSE(BusTransferFlag);
    EXPECT_FALSE(ActivityWindowOpen);
}

TEST_F(InstallTest, NothingIsWrittenWithoutATargetOrAgainstTheUser) {
    struct Case {
        const char* what;
        int selected;
        bool running;
        std::function<void()> answer;
        int result;
        const char* box;  // the first box's kind, null for none
    };
    const Case cases[] = {
        {"first entry", 0, false, nullptr, 1, nullptr},
        {"device running", 3, true, nullptr, 1, "info"},
        {"answered no", 3, false, [] { gwtest::AnswerBox(GwRESULT_NO); }, 0, "question"},
        {"risk note refused",
         3,
         false,
         [] {
             gwtest::AnswerBox(GwRESULT_YES);
             gwtest::AnswerModal(GwRESULT_CANCEL, kRiskNoteAdjustmentChanged);
         },
         0,
         "question"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StatusContext* context = OpenSetup(c.selected);
        context->Running = c.running;
        if (c.running) gwtest::AnswerBox(GwRESULT_OK);
        if (c.answer) c.answer();
        EXPECT_EQ(CB_InstallRunMode(W("Install"), nullptr, GwUD()), c.result);
        EXPECT_EQ(WritesOf("20152"), 0u);
        EXPECT_EQ(WritesOf("20150"), 0u);
        if (c.box == nullptr) {
            EXPECT_TRUE(NewBoxes().empty());
        } else {
            ASSERT_FALSE(NewBoxes().empty());
            EXPECT_EQ(NewBoxes()[0].kind, c.box);
        }
        if (c.result == 0) {
            // The list shows the device's value again.
            EXPECT_EQ(dynamic_cast<GwCombo*>(W("_PN_152"))->first_selected(), 2);
        }
        EXPECT_TRUE(window_->is_visible());
        window_->destroy();
        setup_->destroy();
    }
}

TEST_F(InstallTest, ARefusedSelectionStopsWithTheDeviceError) {
    OpenSetup(3);
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20152").Times(sim::kForever));
    Confirm();
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(CB_InstallRunMode(W("Install"), nullptr, GwUD()), 1);
    ASSERT_EQ(NewBoxes().size(), 2u);
    EXPECT_EQ(NewBoxes()[1].kind, "error");
    EXPECT_EQ(NewBoxes()[1].parent, GetMainWindow()->identifier());
    EXPECT_EQ(WritesOf("20150"), 0u);
    EXPECT_TRUE(window_->is_visible());
}

TEST_F(InstallTest, ADriveThatNeverFollowsIsReportedAndNotSaved) {
    Drive().Table().run_mode.enabled = true;
    Drive().Table().run_mode.reads_before = sim::kRunModeNeverFollows;
    BusTransferFlag = false;
    StatusContext* context = OpenSetup(3);
    context->Modified = true;
    Confirm();
    std::string activity;
    gwtest::AnswerBox(GwRESULT_OK, [&](const GwBoxRecord&) { activity = ActivityWindowOpen ? "open" : "closed"; });
    const uint32_t start = platform::GetTickCount();
    EXPECT_EQ(CB_InstallRunMode(W("Install"), nullptr, GwUD()), 0);
    EXPECT_GE(platform::GetTickCount() - start, 9000u);
    ASSERT_EQ(NewBoxes().size(), 2u);
    EXPECT_EQ(NewBoxes()[1].kind, "error");
    EXPECT_EQ(NewBoxes()[1].text, "Fehler bei beim Umschalten auf Betriebsart \"Position\"");
    EXPECT_EQ(activity, "open");
    EXPECT_EQ(WritesOf("20152"), 10u);  // the selection and one after each try
    EXPECT_EQ(WritesOf("20150"), 0u);
    EXPECT_TRUE(context->Modified);
    EXPECT_FALSE(window_->is_visible());
    EXPECT_FALSE(BusTransferFlag);
}

TEST_F(InstallTest, TheTransferFlagSetBeforeStaysSet) {
    Drive().Table().run_mode.enabled = true;
    OpenSetup(3);
    BusTransferFlag = true;
    Confirm();
    EXPECT_EQ(CB_InstallRunMode(W("Install"), nullptr, GwUD()), 0);
    EXPECT_TRUE(BusTransferFlag);
    EXPECT_EQ(main_->GetStoredRunMode(), 3);
}

}  // namespace
}  // namespace devicewintest
