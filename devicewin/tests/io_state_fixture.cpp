#include "devicewin/tests/io_state_fixture.h"

#include <cstdio>

#include "app/main/main_object.h"
#include "bus/serial/tarn_bus.h"
#include "devicewin/device_window_callbacks.h"
#include "parameters/parabase/para_base.h"
#include "sim/drive_faults.h"
#include "sim/virtual_drive.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace iostatetest {

namespace {

// Parameter 210 has its own texts, with others for run mode 'A'.
constexpr char kDescriptionFile[] =
    "[parameterdescription]\nP092=Firmware version\n"
    "[ValueTextDispatcher]\nF210=InputTexts\n"
    "[InputTexts]\nON=Enable\n"
    "[RunModeA-InputTexts]\nON=Enable in A\n";

constexpr int kFunctionParameters[] = {180, 181, 200, 210, 211, 212, 213, 214, 215, 216, 217, 218, 219, 220, 221,
                                       224, 225, 226, 240, 241, 242, 243, 244, 245, 246, 247, 250, 251, 252};

void Float(sim::DriveTable& table, int number, const char* name, float value) {
    sim::DriveParameter* p = table.PutFullRange(number, name, "FLOAT32", maintest::FloatBits(value));
    p->minimum = maintest::FloatBits(-1e6f);
    p->maximum = maintest::FloatBits(1e6f);
}

}  // namespace

sim::DriveTable StateTable(uint16_t type) {
    sim::DriveTable table = maintest::ActivationTable(type, maintest::kVersionSteps);
    table.PutFullRange(495, "IOSTA", "USIGN16", 0x0001);
    table.PutFullRange(419, "IOST2", "USIGN16", 0x0001);
    Float(table, 416, "ISA0V", 1.25f);
    Float(table, 417, "ISA1V", 2.5f);
    Float(table, 420, "OSA0V", -3.5f);
    table.PutFullRange(578, "SLOT1", "USIGN16", 0);
    table.PutFullRange(579, "SLOT0", "USIGN16", 0);
    table.PutFullRange(583, "IOEXT", "USIGN16", 0);
    for (int number : kFunctionParameters) {
        char name[8];
        std::snprintf(name, sizeof name, "F%d", number);
        sim::DriveParameter* p = table.PutFullRange(number, name, "USIGN8", 1);
        p->maximum = 2;
        p->flags |= sim::kFlagValueTexts;
        p->value_texts = {{0, "OFF"}, {1, "ON"}, {2, "LONGTEXT"}};
    }
    table.PutFullRange(151, "MODE", "USIGN16", kRunModeA);
    table.PutFullRange(205, "DMSG", "USIGN8", 0);
    return table;
}

void Version210(sim::DriveTable& table) {
    table.version = 42;
    for (int number : {90, 92}) table.Find(number)->value = maintest::FloatBits(2.1f);
}

namespace {

struct OnlineSwitch : ParaBase {
    using ParaBase::SetOnline;
};

}  // namespace

void SetActiveOnline(bool on) {
    void (ParaBase::*setOnline)(bool) = &OnlineSwitch::SetOnline;
    (GetMain()->ActiveParaBase()->*setOnline)(on);
}

void StateWindowTest::SetUp() {
    // Before the docking manager loads the state templates, which bind by
    // name.
    GwRcMgr::use_func_desc(DeviceWindowCallbacks());
    MainWindowTest::SetUp();
    WriteTreeFile("LANGUAGE/044/tarn_std.PIT", kDescriptionFile);
    for (int typeClass = 1; typeClass <= 5; ++typeClass)
        WriteTreeFile("bin/Type" + std::to_string(typeClass) + ".xdl", "");
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
}

void StateWindowTest::Connect(uint16_t type, const std::function<void(sim::DriveTable&)>& adjust, int32_t baud) {
    sim::DriveTable table = StateTable(type);
    if (adjust) adjust(table);
    auto drive = std::make_unique<sim::VirtualDrive>(std::move(table), maintest::kAddress, baud);
    drive->AttachTo(line_);
    drives_[maintest::kAddress] = std::move(drive);
    ASSERT_TRUE(main_->OpenTarnBus(baud, 1, true));
    const sim::DriveTable& t = drives_[maintest::kAddress]->Table();
    main_->GetSerialBus()->AddDevice(
        maintest::kAddress, static_cast<uint16_t>(t.type_number), static_cast<float>(t.version) / 20.0f);
    RebuildDeviceList();
    drives_[maintest::kAddress]->ClearCapture();
    ASSERT_TRUE(main_->SetActiveDevice(maintest::kAddress));
}

GwCore* StateWindowTest::Docked(const std::string& name) {
    GwCore* frame = frame_->child(name);
    return frame != nullptr ? frame->child(name) : nullptr;
}

GwCore* StateWindowTest::QuietWindow(const std::string& name) {
    window_ = Docked(name);
    EXPECT_NE(window_, nullptr) << name;
    if (window_ == nullptr) return nullptr;
    window_->stop_timer();
    W("enpo")->stop_timer();
    Heard();
    NewBoxes();
    return window_;
}

GwCore* StateWindowTest::W(const std::string& name) {
    GwCore* widget = window_ != nullptr ? window_->child(name) : nullptr;
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

sim::DriveParameter* StateWindowTest::P(int number) { return drives_.at(maintest::kAddress)->Table().Find(number); }

void StateWindowTest::SetFloat(int number, float value) { P(number)->value = maintest::FloatBits(value); }

std::vector<std::string> StateWindowTest::Heard() {
    sim::VirtualDrive& drive = *drives_.at(maintest::kAddress);
    std::vector<std::string> heard = drive.Capture().TelegramTexts();
    drive.ClearCapture();
    return heard;
}

bool StateWindowTest::Read(const std::vector<std::string>& heard, int number) {
    char text[16];
    std::snprintf(text, sizeof text, "R 20%03d", number);
    for (const std::string& t : heard) {
        if (t == text) return true;
    }
    return false;
}

std::vector<std::string> StateWindowTest::NewBoxes() {
    std::vector<std::string> texts;
    const std::vector<GwBoxRecord>& boxes = gwtest::Boxes();
    for (size_t i = boxesSeen_; i < boxes.size(); ++i) texts.push_back(boxes[i].text);
    boxesSeen_ = boxes.size();
    return texts;
}

void StateWindowTest::RefuseReadsOf(int number, int times) {
    char code[8];
    std::snprintf(code, sizeof code, "20%03d", number);
    drives_.at(maintest::kAddress)->AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For(code).Times(times));
}

}  // namespace iostatetest
