#include "scope/window/tests/scope_window_fixture.h"

#include "app/services/plot_tool_setting.h"
#include "app/services/window_handler.h"
#include "bus/serial/tarn_bus.h"
#include "scope/window/scope_window.h"
#include "sim/drive_table.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace scopewintest {

namespace {

// The recorder's parameters. 70..73 cannot be written at level 6; 350 is
// 0.0001 s; 304 is 1.0.
constexpr char kRecorderTable[] = R"(
drive type=4120 version=26 status=0
param 20  CFG0  USIGN16 max=0xFF value=0x20
param 21  VAR0  USIGN16 max=255
param 22  CFG1  USIGN16 max=0xFF value=0x20
param 23  VAR1  USIGN16 max=255 value=1
param 24  CFG2  USIGN16 max=0xFF
param 25  VAR2  USIGN16 max=255
param 26  CFG3  USIGN16 max=0xFF
param 27  VAR3  USIGN16 max=255
param 36  SCAUX INT32   min=-100000 max=100000
param 60  SCDIV USIGN16 max=999 value=1
param 62  SCLEN USIGN16 max=4000 default=1200 value=1200
param 64  TRLEV INT16
param 65  TRMOD INT16   min=-2 max=10 value=4
param 66  TRCH  USIGN8  max=3
param 67  PRETR FIXPT16 max=2000
param 68  SCCTL USIGN16 max=3
param 70  ACT0  INT16   write=15
param 71  ACT1  INT16   write=15
param 72  ACT2  INT16   write=15
param 73  ACT3  INT16   write=15
param 110 SCXFR USIGN8  max=2
param 300 CTYPE USIGN8  max=9 value=1
param 304 SCTB  FLOAT32 value=0x3F800000
param 350 BASET FLOAT32 value=0x38D1B717
)";
constexpr int kRecorderParameters[] = {20, 21, 22, 23, 24, 25, 26, 27, 36,  60,  62,  64,
                                       65, 66, 67, 68, 70, 71, 72, 73, 110, 300, 304, 350};

constexpr char kDescriptionFile[] =
    "[parameterdescription]\nP092=Firmware version\n"
    "[ScopeEntryIntroduction]\nSpeed=Actual speed\nCurrent=Motor current\n";

}  // namespace

bool IsChecked(GwCore* widget) {
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    return toggle != nullptr && toggle->is_checked();
}

bool IsReadOnly(GwCore* widget) {
    auto* edit = dynamic_cast<GwEdit*>(widget);
    return edit != nullptr && edit->is_read_only();
}

void ScopeWindowTest::SetUp() {
    maintest::MainTest::SetUp();
    ASSERT_NE(GwRcMgr::use_func_desc(ScopeWindowCallbacks()), 0);
    WriteTreeFile("LANGUAGE/044/tarn_std.PIT", kDescriptionFile);
    WriteTreeFile(kListFile, kListText);
    std::string error;
    std::optional<sim::DriveTable> recorder = sim::DriveTable::Parse(kRecorderTable, "scope", &error);
    ASSERT_TRUE(recorder.has_value()) << error;
    sim::DriveTable table = maintest::ActivationTable();
    for (int number : kRecorderParameters) table.Put(*recorder->Find(number));
    AddDrive(maintest::kAddress, std::move(table)).AddRecorder();
    SetPlotTool("extern");
    SetExternalPlotTool(kPlotTool);
    plotServer_ = &gwtest::StartDdeServer(kPlotTool);
    Activate();
}

void ScopeWindowTest::TearDown() {
    if (window_ != nullptr && window_->is_alive()) window_->destroy();
    window_ = nullptr;
    maintest::MainTest::TearDown();
}

sim::DriveParameter& ScopeWindowTest::OnDrive(int number) { return *Drive().Table().Find(number); }

std::vector<std::string> ScopeWindowTest::Heard() { return Drive().Capture().TelegramTexts(); }

std::vector<std::string> ScopeWindowTest::Writes() {
    std::vector<std::string> writes;
    for (const std::string& text : Heard()) {
        if (text.rfind("W ", 0) == 0) writes.push_back(text);
    }
    return writes;
}

void ScopeWindowTest::ActivateAt(int32_t baud) {
    main_->CloseTarnBus();
    Drive().SetBaud(baud);
    ASSERT_TRUE(main_->OpenTarnBus(baud, 1, true));
    main_->GetSerialBus()->AddDevice(
        maintest::kAddress, static_cast<uint16_t>(Drive().Table().type_number), Drive().Table().version / 20.0f);
    RebuildDeviceList();
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    ASSERT_TRUE(main_->SetActiveDevice(maintest::kAddress));
    ClearCaptures();
}

GwCore* ScopeWindowTest::OpenScope() {
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    window_ = GwRcMgr::load(mainWindow_, kScopeWindowName, 1);
    EXPECT_NE(window_, nullptr);
    if (window_ == nullptr) return nullptr;
    EXPECT_EQ(TheWindowHandler().Add(window_, 1), 1);
    window_->show();
    return window_;
}

GwCore* ScopeWindowTest::Child(const std::string& name) const {
    return window_ != nullptr && window_->is_alive() ? window_->child(name) : nullptr;
}

std::vector<std::string> ScopeWindowTest::StateTexts() const {
    std::vector<std::string> texts;
    for (const GwEffect& effect : gwtest::Effects("text")) {
        if (effect.widget.size() >= 6 && effect.widget.compare(effect.widget.size() - 6, 6, ".State") == 0)
            texts.push_back(effect.value);
    }
    return texts;
}

std::vector<std::string> ScopeWindowTest::NewBoxes() const {
    std::vector<std::string> texts;
    const std::vector<GwBoxRecord>& boxes = gwtest::Boxes();
    for (size_t i = boxesSeen_; i < boxes.size(); ++i) texts.push_back(boxes[i].kind + ": " + boxes[i].text);
    return texts;
}

}  // namespace scopewintest
