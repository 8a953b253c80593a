// The side functions of the Ruvex setup windows against a family-4 virtual
// drive: the program editor online (upload, editor, question, download and
// the repeat after a failed download) and for a file, the CPU-load timer and
// its interval by baud rate, the two resets, the bus-system marks and the
// two visibility rules.
#include "families/ruvex_side_windows.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/user_level.h"
#include "devicewin/tests/devicewin_fixture.h"
#include "families/pos_program_editor_dialog.h"
#include "families/tests/pos_program_drive.h"
#include "parameters/parabase/para_base.h"
#include "platform/files/paths.h"
#include "platform/system/clock.h"
#include "platform/system/program_start.h"
#include "sim/drive_faults.h"
#include "sim/pos_program_channel.h"
#include "sim/ruvex_setup_parameters.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

const std::string kEnd = sim::kPosProgramEndMarker;
const std::string kExchange = kPosProgramExchangeFile;

const GwFuncDesc kSideCallbacks[] = {
    {"CB_Timer_CPU_LOAD", CB_Timer_CPU_LOAD},
    {nullptr, nullptr},
};

constexpr char kCpuLoadWindow[] =
    "timer = 1000\n on timer = CB_Timer_CPU_LOAD\n"
    " label PN_170[0] { }\n label PN_170[1] { }\n label PN_170[2] { }\n label PN_170[3] { }\n"
    " label PN_171[0] { }\n label PN_171[3] { }\n label PN_172[0] { }\n label PN_172[1] { }";

class RuvexSideTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = PosProgramDriveTable();
        sim::PutRuvexSetupParameters(table, options_);
        table.pos_programs.programs = {{"01", {"POS100"}}};
        return table;
    }
    void SetUp() override {
        // The cached base of an earlier test would hide the parameters this
        // test's drive has or lacks.
        RemoveCachedBases();
        DeviceWindowTest::SetUp();
        GwRcMgr::use_func_desc(kSideCallbacks);
    }
    static void RemoveCachedBases() {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(testsupport::RuntimePath("FIRMDATA"), error)) {
            if (entry.path().filename().string().rfind("4012_", 0) == 0) std::filesystem::remove(entry.path());
        }
    }
    std::vector<std::string>& ChannelLog() { return Drive().Table().Find(sim::kPosProgramChannelParameter)->text_log; }
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const GwBoxRecord& box : NewBoxes()) texts.push_back(box.text);
        return texts;
    }
    std::vector<std::string> Writes() {
        std::vector<std::string> writes;
        for (const std::string& t : Heard()) {
            if (t.rfind("W ", 0) == 0) writes.push_back(t);
        }
        return writes;
    }
    // The editor: one entry of `saves` per start, in order; a text is
    // written into the exchange file with a later time, none leaves it.
    void UseEditor(std::vector<std::optional<std::string>> saves) {
        saves_ = std::move(saves);
        platform::SetProgramStartHandler([this](const platform::ProgramStart&) {
            statesDuringEdit_.push_back(GetMainWindow()->frame_state());
            const size_t start = starts_++;
            if (start < saves_.size() && saves_[start].has_value()) {
                const std::string exchange = platform::FindExisting(kExchange).value_or("");
                const auto before = std::filesystem::last_write_time(exchange);
                testsupport::WriteFile(exchange, *saves_[start]);
                std::filesystem::last_write_time(exchange, before + std::chrono::milliseconds(1));
            }
            if (afterStart_) afterStart_(start);
            return 0;
        });
    }
    GwCore* OpenOnline(const std::string& body) { return OpenWindow(body, MakeContext(true)); }

    sim::RuvexSetupOptions options_;
    std::vector<std::optional<std::string>> saves_;
    std::function<void(size_t)> afterStart_;
    size_t starts_ = 0;
    std::vector<int> statesDuringEdit_;
};

const platform::ProgramStart kOnlineEditorStart{"notepad.exe", {"/p", kExchange}, true};

TEST_F(RuvexSideTest, ProgramEditorDownloadsAChangedFileAfterYesAndWaits) {
    UseEditor({std::string("GO 1\r\n")});
    OpenOnline("button Edit { }");
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_YES);
    const uint64_t before = platform::TheClock().NowUs();
    EXPECT_EQ(CB_4_CallProgramEditor(W("Edit"), nullptr, GwUD()), 1);
    EXPECT_GE(platform::TheClock().NowUs() - before, 1500000u);
    EXPECT_EQ(platform::RecordedProgramStarts(), (std::vector<platform::ProgramStart>{kOnlineEditorStart}));
    EXPECT_EQ(statesDuringEdit_, (std::vector<int>{GwSTATE_MINIMIZED}));
    EXPECT_EQ(GetMainWindow()->frame_state(), GwSTATE_MAXIMIZED);
    const std::vector<GwBoxRecord> boxes = NewBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The positioning program was changed. Load it into the device?");
    EXPECT_EQ(boxes[0].parent, "MainWindow.DevWin");
    EXPECT_EQ(ChannelLog(), (std::vector<std::string>{"%DIR", "%RDP01", "%CLPxx", "GO1", kEnd, "%SAV"}));
    const std::vector<GwEffect> activity = gwtest::Effects("text");
    bool shown = false;
    for (const GwEffect& e : activity) shown |= e.value == "Loading the positioning program into the device ...";
    EXPECT_TRUE(shown);
}

TEST_F(RuvexSideTest, ProgramEditorEndsOnAnUnchangedFileAFailedUploadOrNo) {
    UseEditor({std::nullopt});
    OpenOnline("button Edit { }");
    MarkBoxes();
    CB_4_CallProgramEditor(W("Edit"), nullptr, GwUD());
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(platform::RecordedProgramStarts().size(), 1u);
    EXPECT_EQ(ChannelLog(), (std::vector<std::string>{"%DIR", "%RDP01"}));

    Drive().Table().pos_programs.refused = {"%DIR"};
    CB_4_CallProgramEditor(W("Edit"), nullptr, GwUD());
    EXPECT_EQ(platform::RecordedProgramStarts().size(), 1u);
    Drive().Table().pos_programs.refused.clear();

    starts_ = 0;
    UseEditor({std::string("GO 2\r\n")});
    ChannelLog().clear();
    gwtest::AnswerBox(GwRESULT_NO);
    CB_4_CallProgramEditor(W("Edit"), nullptr, GwUD());
    EXPECT_EQ(ChannelLog(), (std::vector<std::string>{"%DIR", "%RDP01"}));
}

// A failed download shows 109 and reopens the editor on the same file; the
// second time the question comes without the file being touched, and a
// successful download ends the loop.
TEST_F(RuvexSideTest, ProgramEditorRepeatsAfterAFailedDownloadUntilItSucceeds) {
    UseEditor({std::string("GO 1\r\n"), std::nullopt});
    Drive().Table().pos_programs.refused = {"%SAV"};
    afterStart_ = [this](size_t start) {
        if (start == 1) Drive().Table().pos_programs.refused.clear();
    };
    OpenOnline("button Edit { }");
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::AnswerBox(GwRESULT_OK);
    gwtest::AnswerBox(GwRESULT_OK);
    gwtest::AnswerBox(GwRESULT_YES);
    CB_4_CallProgramEditor(W("Edit"), nullptr, GwUD());
    EXPECT_EQ(platform::RecordedProgramStarts(),
              (std::vector<platform::ProgramStart>{kOnlineEditorStart, kOnlineEditorStart}));
    const std::vector<std::string> texts = Texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "The positioning program was changed. Load it into the device?");
    EXPECT_EQ(texts[1], "The positioning program could not be stored in the device (1 lines read)");
    EXPECT_EQ(texts[2], "The positioning program could not be loaded into the device!");
    EXPECT_EQ(texts[3], "The positioning program was changed. Load it into the device?");
    // One upload, two downloads: the second sends the same file again.
    EXPECT_EQ(ChannelLog(),
              (std::vector<std::string>{
                  "%DIR", "%RDP01", "%CLPxx", "GO1", kEnd, "END", kEnd, "%CLPxx", "GO1", kEnd, "%SAV"}));
    EXPECT_EQ(Drive().Table().pos_programs.saved, (std::vector<std::vector<std::string>>{{"GO1"}}));
}

TEST_F(RuvexSideTest, ProgramEditorOnAFileEditsTheProgramFileBesideIt) {
    UseEditor({std::nullopt});
    TestContext* context = MakeContext(false);
    context->Base->SetPath(kDFilePath, "C:\\sets\\axis.00D");
    OpenWindow("button Edit { }", context);
    ClearCaptures();
    CB_4_CallProgramEditor(W("Edit"), nullptr, GwUD());
    EXPECT_EQ(platform::RecordedProgramStarts(),
              (std::vector<platform::ProgramStart>{{"notepad.exe", {"\"C:\\sets\\axis.prg\""}, true}}));
    EXPECT_EQ(statesDuringEdit_, (std::vector<int>{GwSTATE_MINIMIZED}));
    EXPECT_EQ(GetMainWindow()->frame_state(), GwSTATE_MAXIMIZED);
    EXPECT_TRUE(Heard().empty());
}

TEST_F(RuvexSideTest, CpuLoadTickShowsEveryElementAndRestartsItsTimer) {
    OpenOnline(kCpuLoadWindow);
    ClearCaptures();
    EXPECT_EQ(CB_Timer_CPU_LOAD(window_, nullptr, GwUD()), 1);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"R 701700000004", "R 701710000004", "R 20172"}));
    const std::vector<std::pair<const char*, const char*>> shown = {
        {"PN_170[0]", "11"},
        {"PN_170[1]", "22"},
        {"PN_170[2]", "33"},
        {"PN_170[3]", "44"},
        {"PN_171[0]", "55"},
        {"PN_171[3]", "88"},
        {"PN_172[0]", "42"},
        {"PN_172[1]", ""},  // a scalar has element 0 only
    };
    for (const auto& [name, text] : shown) EXPECT_EQ(W(name)->text(), text) << name;
    EXPECT_TRUE(window_->is_timer_running());
    EXPECT_EQ(window_->timer_interval(), 2500u);

    // A new value reaches the window with the next tick.
    Drive().Table().Find(172)->value = 7;
    CB_Timer_CPU_LOAD(window_, nullptr, GwUD());
    EXPECT_EQ(W("PN_172[0]")->text(), "7");
}

TEST_F(RuvexSideTest, CpuLoadTickRefusedByTheGuardChangesNothing) {
    OpenOnline(kCpuLoadWindow);
    window_->start_timer(300);
    ClearCaptures();
    DeviceBusyFlag = true;
    CB_Timer_CPU_LOAD(window_, nullptr, GwUD());
    DeviceBusyFlag = false;
    EXPECT_TRUE(Heard().empty());
    EXPECT_EQ(W("PN_170[0]")->text(), "");
    EXPECT_EQ(window_->timer_interval(), 300u);
}

TEST_F(RuvexSideTest, CpuLoadTimerWaits1500MsWithoutAnOnlineDevice) {
    main_->UncoupleAllDevices();
    ASSERT_FALSE(main_->HasOnlineDevice());
    EXPECT_EQ(TheRuvexSideWindowsState().CpuLoadTimer.ComputeInterval(), 1500u);
}

class RuvexCpuLoadRateTest : public RuvexSideTest, public ::testing::WithParamInterface<std::pair<int32_t, uint32_t>> {
public:
    RuvexCpuLoadRateTest() { baud_ = GetParam().first; }
};

TEST_P(RuvexCpuLoadRateTest, TheIntervalFollowsTheBaudRate) {
    OpenOnline(kCpuLoadWindow);
    CB_Timer_CPU_LOAD(window_, nullptr, GwUD());
    EXPECT_EQ(window_->timer_interval(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Rates, RuvexCpuLoadRateTest,
                         ::testing::Values(std::pair<int32_t, uint32_t>{9600, 2500},
                                           std::pair<int32_t, uint32_t>{19200, 1250},
                                           std::pair<int32_t, uint32_t>{38400, 1000}));

TEST_F(RuvexSideTest, ResetsWriteTheirParameterAndOnlyTheCpuLoadResetReports) {
    struct Case {
        const char* what;
        int (*callback)(GwCore*, GwEvent*, GwUD);
        const char* code;
        bool refused;
        std::vector<std::string> writes;
        std::vector<std::string> texts;
    } cases[] = {
        {"CPU load", CB_4_ResetCPULoad, "20173", false, {"W 20173=1"}, {}},
        {"CPU load refused",
         CB_4_ResetCPULoad,
         "20173",
         true,
         {"W 20173=1"},
         {"RS232 transmission error in parameter 173-CPURS: \nInvalid new value for parameter!"}},
        {"error", CB_4_ResetError, "20074", false, {"W 20074=1"}, {}},
        {"error refused", CB_4_ResetError, "20074", true, {"W 20074=1"}, {}},
    };
    OpenOnline("button Reset { }");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.refused) Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For(c.code));
        ClearCaptures();
        MarkBoxes();
        EXPECT_EQ(c.callback(W("Reset"), nullptr, GwUD()), 1);
        EXPECT_EQ(Writes(), c.writes);
        const std::vector<GwBoxRecord> boxes = NewBoxes();
        ASSERT_EQ(boxes.size(), c.texts.size());
        if (!boxes.empty()) {
            EXPECT_EQ(boxes[0].text, c.texts[0]);
            EXPECT_EQ(boxes[0].parent, "MainWindow.DevWin");
        }
    }
}

TEST_F(RuvexSideTest, CpuLoadIsConsideredFromUserLevelFive) {
    OpenOnline("button CPU_Load { }");
    for (const auto& [level, shown] : {std::pair{5, true}, std::pair{4, false}, std::pair{6, true}}) {
        SetUserLevel(static_cast<uint16_t>(level));
        EXPECT_EQ(CB_ShowActValues(window_, nullptr, GwUD()), 1);
        EXPECT_EQ(W("CPU_Load")->is_shown(), shown) << level;
    }
}

constexpr char kBusPage[] = "label NoCM_CAN1 { }\n label NoCM_CAN2 { }\n label NoProfibus { }\n container PRSEL { }";

// One drive per case: the protocol text 654 (absent when empty) and the
// module types of the slots, 579 and 578, to the marks shown.
struct BusCase {
    const char* what;
    std::optional<std::string> protocol;
    uint32_t slot2;
    uint32_t slot1;
    bool can1;
    bool can2;
    bool profibus;
    friend void PrintTo(const BusCase& c, std::ostream* os) { *os << c.what; }
};

class RuvexBusSystemTest : public RuvexSideTest, public ::testing::WithParamInterface<BusCase> {
public:
    RuvexBusSystemTest() {
        options_.protocol = GetParam().protocol;
        options_.slot2 = GetParam().slot2;
        options_.slot1 = GetParam().slot1;
    }
};

TEST_P(RuvexBusSystemTest, MarksTheModulesTheDriveLacks) {
    const BusCase& c = GetParam();
    OpenOnline(kBusPage);
    MarkBoxes();
    EXPECT_EQ(CB_DvFctShowBusSystemRuvex(window_, nullptr, GwUD()), 1);
    EXPECT_EQ(W("NoCM_CAN1")->is_shown(), c.can1);
    EXPECT_EQ(W("NoCM_CAN2")->is_shown(), c.can2);
    EXPECT_EQ(W("NoProfibus")->is_shown(), c.profibus);
    EXPECT_TRUE(window_->is_shown());
    EXPECT_TRUE(NewBoxes().empty());
    // The preselection follows the presence of 654.
    EXPECT_EQ(CB4_ShowPRESEL(W("PRSEL"), nullptr, GwUD()), 1);
    EXPECT_EQ(W("PRSEL")->is_shown(), c.protocol.has_value());
}

INSTANTIATE_TEST_SUITE_P(Modules, RuvexBusSystemTest,
                         ::testing::Values(BusCase{"CAN module without 654", std::nullopt, 6, 0, false, true, true},
                                           BusCase{"CAN module, other protocol", "XYZ", 1, 0, true, true, true},
                                           BusCase{"CAN module in slot 1", "COPEN", 0, 1, false, true, true},
                                           BusCase{"no module", std::nullopt, 0, 0, true, true, true},
                                           BusCase{"second CAN and Profibus", "CTARN", 2, 3, true, false, false}));

TEST_F(RuvexSideTest, BusSystemPageHidesItselfAfterAFailedRead) {
    OpenOnline(kBusPage);
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20579"));
    MarkBoxes();
    EXPECT_EQ(CB_DvFctShowBusSystemRuvex(window_, nullptr, GwUD()), 1);
    EXPECT_FALSE(window_->is_shown());
    const std::vector<GwBoxRecord> boxes = NewBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "RS232 transmission error in parameter 579-OPT2 : \nDevice canceled last telegram!");
    EXPECT_EQ(boxes[0].parent, "MainWindow");
}

TEST_F(RuvexSideTest, PreselectionWithoutItsWidgetShowsError7) {
    OpenOnline("label Other { }");
    MarkBoxes();
    EXPECT_EQ(CB4_ShowPRESEL(W("Other"), nullptr, GwUD()), 0);
    const std::vector<GwBoxRecord> boxes = NewBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("A window or one of its elements could not be loaded", 0), 0u) << boxes[0].text;
}

}  // namespace
}  // namespace devicewintest
