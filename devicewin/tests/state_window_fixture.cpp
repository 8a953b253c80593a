#include "devicewin/tests/state_window_fixture.h"

#include <algorithm>

#include "app/services/program_flags.h"
#include "bus/serial/tarn_bus.h"
#include "devicewin/device_window_callbacks.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace statewintest {

namespace {

sim::DriveParameter* Put(sim::DriveTable& table, int number, const char* name, const char* type, uint32_t value) {
    return table.PutFullRange(number, name, type, value);
}

sim::DriveParameter* PutFloat(sim::DriveTable& table, int number, const char* name, float value) {
    sim::DriveParameter* p = table.PutFullRange(number, name, "FLOAT32", maintest::FloatBits(value));
    p->minimum = maintest::FloatBits(-1e6f);
    p->maximum = maintest::FloatBits(1e6f);
    return p;
}

uint32_t TypeAt(int address) {
    switch (address) {
        case kMarloAddress:
        case kMarlo200Address:
            return 3120;
        case kWenzoAddress:
            return 5013;
        case kPescoAddress:
            return 5012;
        case kZovAddress:
            return 9001;
        default:
            return maintest::kTypeNumber;
    }
}

uint32_t VersionAt(int address) { return address == kRuvex200Address || address == kMarlo200Address ? 41 : 26; }

}  // namespace

sim::DriveTable StateWindowTable(uint32_t typeNumber, uint32_t versionSteps) {
    sim::DriveTable table = maintest::ActivationTable(typeNumber, versionSteps);
    Put(table, 74, "ERES", "USIGN8", 0);
    sim::DriveParameter* error = Put(table, 95, "ERRNO", "USIGN8", kOvercurrent);
    error->flags |= sim::kFlagValueTexts;
    error->minimum = 0;
    error->maximum = 7;
    error->value_texts = {{2, "Fixed fault, detail"}, {5, "Overcurrent, phase U"}, {6, ",abc,def"}, {7, ""}};
    Put(table, 150, "SAVE", "USIGN8", 0);
    Put(table, 410, "STAT2", "USIGN16", 0);
    Put(table, 412, "FEAT", "USIGN16", 0);
    PutFloat(table, 405, "UZK", 565.4f);
    for (int number : {14, 75, 76, 77, 79, 293, 400, 401, 406, 408, 409, 752, 754, 755, 756, 940, 950, 951, 997, 999}) {
        if (typeNumber / 1000 == 9 && (number == 400 || number == 401 || number == 406)) continue;
        sim::DriveParameter* p = Put(table, number, "VAL", "INT16", static_cast<uint32_t>(number));
        p->minimum = static_cast<uint32_t>(-32768);
        p->maximum = 32767;
    }
    Put(table, 300, "CTRL", "USIGN8", 0);
    Put(table, 844, "SCALE", "USIGN16", 3000);
    Put(table, 766, "PUNIT", "STRING", 0)->text = "mm";
    Put(table, 902, "VUNIT", "STRING", 0)->text = "m/s";
    Put(table, 792, "DUNIT", "STRING", 0)->text = "deg";
    Put(table, 793, "NUNIT", "STRING", 0)->text = "rps";
    Put(table, 757, "PSTAT", "USIGN8", 3);
    Put(table, 744, "PPROG", "USIGN8", 2);
    PutFloat(table, 745, "PLINE", 17.8f);
    Put(table, 650, "CDS", "USIGN16", 4);
    Put(table, 278, "CHDS", "USIGN16", 2);
    Put(table, 776, "ACDS", "USIGN16", 3);
    if (typeNumber / 1000 == 9) {
        PutFloat(table, 400, "FREQ", 123.456f);
        PutFloat(table, 406, "FREF", -1.5f);
        const std::vector<std::vector<float>> arrays = {{3.14159f, -1.5f, 123.456f, 0.0f, 7.0f},
                                                        {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.25f}};
        for (int i = 0; i < 2; ++i) {
            sim::DriveParameter* array = PutFloat(table, 401 + i, i == 0 ? "POS" : "CUR", 0.0f);
            array->flags |= sim::kFlagArray;
            for (float f : arrays[static_cast<size_t>(i)]) array->elements.push_back(maintest::FloatBits(f));
        }
    }
    return table;
}

void StateWindowTest::SetUp() {
    ASSERT_NE(GwRcMgr::use_func_desc(DeviceWindowCallbacks()), 0);
    MainWindowTest::SetUp();
    ShowDeviceErrorFlag = true;  // as the shipped profile sets it at start-up
    for (const char* type : {"bin/Type3.xdl", "bin/Type5.xdl", "bin/Type9.xdl"}) WriteTreeFile(type, "");
}

void StateWindowTest::TearDown() {
    MainWindowTest::TearDown();
    for (auto& [address, drive] : drives_) {
        const std::string stem = platform::Format(
            "FIRMDATA/%u_%06.2f", drive->Table().type_number, static_cast<double>(drive->Table().version) / 20.0);
        for (const char* extension : {"D", "X", "T"}) RemoveTreeFile(stem + extension);
    }
}

sim::VirtualDrive& StateWindowTest::AddModel(int address) {
    sim::DriveTable table = StateWindowTable(TypeAt(address), VersionAt(address));
    // Pesco's status word is 8-bit, Wenzo's 16-bit.
    if (address == kPescoAddress) table.PutFullRange(410, "STAT2", "USIGN8", 0);
    return AddDrive(address, std::move(table));
}

void StateWindowTest::ActivateModel(int address) {
    if (main_->GetActiveBus() == nullptr) {
        ASSERT_TRUE(main_->OpenTarnBus(baud_, 1, true));
        for (auto& [at, drive] : drives_) {
            const float version = static_cast<float>(drive->Table().version) / 20.0f;
            main_->GetSerialBus()->AddDevice(at, static_cast<uint16_t>(drive->Table().type_number), version);
        }
        RebuildDeviceList();
    }
    ActivateAt(address);
    MarkBoxes();
}

sim::DriveParameter& StateWindowTest::Parameter(int address, int number) {
    sim::DriveParameter* p = DriveAt(address).Table().Find(number);
    EXPECT_NE(p, nullptr) << number;
    return *p;
}

GwCore* StateWindowTest::Pane(const std::string& name) {
    GwCore* frame = frame_->child(name);
    GwCore* content = frame != nullptr ? frame->child(name) : nullptr;
    EXPECT_NE(content, nullptr) << name;
    return content;
}

GwCore* StateWindowTest::In(const std::string& pane, const std::string& widget) {
    GwCore* window = Pane(pane);
    GwCore* child = window != nullptr ? window->child(widget) : nullptr;
    EXPECT_NE(child, nullptr) << pane << "/" << widget;
    return child;
}

std::string StateWindowTest::Value(const std::string& pane, const std::string& group) {
    GwCore* g = In(pane, group);
    GwCore* value = g != nullptr ? g->child("value") : nullptr;
    return value != nullptr ? value->text() : "<none>";
}

std::string StateWindowTest::Unit(const std::string& pane, const std::string& group) {
    GwCore* g = In(pane, group);
    GwCore* unit = g != nullptr ? g->child("unit") : nullptr;
    return unit != nullptr ? unit->text() : "<none>";
}

void StateWindowTest::Tick(const std::string& pane) {
    GwCore* window = Pane(pane);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->is_timer_running()) << pane;
    gwtest::Advance(window->timer_interval());
}

void StateWindowTest::MarkBoxes() { boxesSeen_ = gwtest::Boxes().size(); }

std::vector<GwBoxRecord> StateWindowTest::NewBoxes() const {
    const std::vector<GwBoxRecord>& boxes = gwtest::Boxes();
    return {boxes.begin() + static_cast<std::ptrdiff_t>(std::min(boxesSeen_, boxes.size())), boxes.end()};
}

std::vector<std::string> StateWindowTest::Heard(int address) { return DriveAt(address).Capture().TelegramTexts(); }

}  // namespace statewintest
