#include "devicewin/tests/devicewin_fixture.h"

#include <algorithm>

#include "bus/serial/tarn_bus.h"
#include "devicewin/device_window_callbacks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_widget_store.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {

namespace {

constexpr char kDescriptionFile[] =
    "[parameterdescription]\nP012=Speed set point\nP092=Firmware version\nP420=Field of words\n"
    "[ParaMenu]\nMOTOR=Motor data\n"
    "[ScopeEntryIntroduction]\nSpeed=Actual speed of the motor\n"
    "[ValueTextDispatcher]\nCOMP=CompanionTexts\n"
    "[CompanionTexts]\n0=Zero\n1=One\n2=Two\n3=Three\n4=Four\n5=Five\n6=Six\n7=Seven\n8=Eight\n9=Nine\n";

sim::DriveParameter* Ranged(sim::DriveTable& table, int number, const char* name, const char* type, uint32_t value,
                            int32_t minimum, int32_t maximum) {
    sim::DriveParameter* p = table.PutFullRange(number, name, type, value);
    p->minimum = static_cast<uint32_t>(minimum);
    p->maximum = static_cast<uint32_t>(maximum);
    return p;
}

}  // namespace

sim::DriveTable DeviceWindowTable() {
    sim::DriveTable table = maintest::ActivationTable();
    sim::DriveParameter* units = table.PutFullRange(kUnits, "UNITS", "USIGN8", 0);
    units->value_texts = {{0, "-"}, {1, "rpm"}, {2, "mm"}};
    units->flags |= sim::kFlagValueTexts;
    sim::DriveParameter* groups = Ranged(table, kKeypadGroups, "KPGRP", "USIGN8", 0, 0, 1);
    groups->flags |= sim::kFlagValueTexts;
    groups->value_texts = {{0, "DRIVE"}, {1, "MOTOR"}};
    sim::DriveParameter* speed = Ranged(table, kSpeed, "SPEED", "INT16", 5, -32768, 32767);
    speed->unit_index = 1;
    speed->kind = '2';
    speed->read_level = 3;
    speed->write_level = 5;
    speed->keypad_group = 1;
    Ranged(table, 14, "POS", "INT16", 1, -100, 100)->unit_index = 2;
    Ranged(table, kList, "LIST", "USIGN8", 5, 2, 9);
    Ranged(table, kCompanion, "COMP", "USIGN8", 4, 0, 9);
    sim::DriveParameter* toggles = Ranged(table, kToggles, "TGLS", "USIGN16", 0, 0, 1000);
    toggles->flags |= sim::kFlagArray;
    toggles->elements = {0, 3};
    Ranged(table, kBits, "BITS", "USIGN16", 0x8002, 0, 65535);
    Ranged(table, kRadio, "RADIO", "USIGN8", 200, 0, 255);
    Ranged(table, kWideRadio, "WIDE", "USIGN16", 3, 0, 256);
    Ranged(table, kReal, "REAL", "INT32Q16", 808714, 0, 100 * 65536);
    Ranged(table, kHexWord, "HEXW", "USIGN16", 0, 0, 65535)->flags |= sim::kFlagHex;
    table.PutFullRange(kText, "TEXT", "STRING", 0)->text = "abc";
    Ranged(table, kStatus, "STAT", "USIGN16", 0xF4, 0, 65535);
    Ranged(table, kLocked, "LOCKD", "USIGN16", 4, 0, 100)->write_level = 15;
    sim::DriveParameter* mode = Ranged(table, kModeText, "MTXT", "USIGN8", 1, 0, 3);
    mode->flags |= sim::kFlagValueTexts;
    mode->value_texts = {{0, "Off"}, {1, "Speed mode"}, {2, "Torque"}, {3, "  Off mode"}};
    Ranged(table, kSelect, "SEL", "USIGN8", 1, 1, 5);
    for (int number : {kTable, kSignedTable}) {
        sim::DriveParameter* array = Ranged(table,
                                            number,
                                            number == kTable ? "TAB" : "STAB",
                                            number == kTable ? "USIGN16" : "INT16",
                                            0,
                                            number == kTable ? 0 : -1000,
                                            1000);
        array->flags |= sim::kFlagArray;
        array->elements = {0, 0, 0, 0, 0};
    }
    Ranged(table, kGroupIndex, "GRPIX", "USIGN16", 2, 0, 5);
    sim::DriveParameter* hexTable = Ranged(table, kHexTable, "HTAB", "USIGN16", 0, 0, 65535);
    hexTable->flags |= sim::kFlagArray | sim::kFlagHex;
    hexTable->elements = {0, 0, 0};
    Ranged(table, kSave, "SAVE", "USIGN8", 0, 0, 1);
    sim::DriveParameter* application = Ranged(table, kApplication, "APPL", "USIGN8", 2, 0, 5);
    application->flags |= sim::kFlagValueTexts;
    application->value_texts = {{0, "None"}, {1, "Speed"}, {2, "Torque"}, {3, "Position"}, {4, "Table"}, {5, "Bus"}};
    Ranged(table, kIdentMode, "MIDNT", "USIGN8", 0, 0, 2);
    Ranged(table, kCommand, "CMD", "USIGN16", 0, 0, 100);
    return table;
}

sim::DriveParameter* PutWordField(sim::DriveTable& table, std::vector<uint32_t> elements) {
    sim::DriveParameter* field = Ranged(table, kWordField, "FLD", "USIGN16", 0, 0, 65535);
    field->flags |= sim::kFlagArray;
    field->elements = std::move(elements);
    field->elements.resize(100, 0);
    return field;
}

void DeviceWindowTest::SetUp() {
    MainTest::SetUp();
    GwRcMgr::use_func_desc(DeviceWindowCallbacks());
    WriteTreeFile("LANGUAGE/044/tarn_std.PIT", kDescriptionFile);
    auto drive = std::make_unique<sim::VirtualDrive>(MakeTable(), maintest::kAddress, baud_);
    drive->AttachTo(line_);
    drives_[maintest::kAddress] = std::move(drive);
    ASSERT_TRUE(main_->OpenTarnBus(baud_, 1, true));
    const sim::DriveTable& table = Drive().Table();
    main_->GetSerialBus()->AddDevice(
        maintest::kAddress, static_cast<uint16_t>(table.type_number), static_cast<float>(table.version) / 20.0f);
    RebuildDeviceList();
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    ASSERT_TRUE(main_->SetActiveDevice(maintest::kAddress));
    ClearCaptures();
}

void DeviceWindowTest::TearDown() {
    contexts_.clear();
    MainTest::TearDown();
}

void DeviceWindowTest::DestroyAndFree(GwCore* window) {
    window->destroy();
    for (size_t i = 0; i <= kGwGraveyardLimit; ++i) (new GwCore(GwDIALOGFRAME_CLASS, "Later", nullptr))->destroy();
}

bool InOrder(const std::vector<std::string>& heard, const std::vector<std::string>& expected) {
    size_t at = 0;
    for (const std::string& t : heard) {
        if (at < expected.size() && t == expected[at]) ++at;
    }
    return at == expected.size();
}

size_t Count(const std::vector<std::string>& heard, const std::string& text) {
    return static_cast<size_t>(std::count(heard.begin(), heard.end(), text));
}

TestContext* DeviceWindowTest::MakeContext(bool online) {
    contexts_.push_back(std::make_unique<TestContext>(nullptr, *main_->ActiveParaBase(), online));
    return contexts_.back().get();
}

GwCore* DeviceWindowTest::OpenWindow(const std::string& body, DeviceSetupContext* context) {
    EXPECT_TRUE(GwRcMgr::use_text("dialogframe DevWin {\n rect = 0, 0, 600, 400\n" + body + "\n}\n", "devwin.cgw"));
    window_ = GwRcMgr::load(mainWindow_, "DevWin", 1);
    EXPECT_NE(window_, nullptr);
    if (window_ == nullptr) return nullptr;
    if (context != nullptr) window_->set_user_data(GwUD(static_cast<void*>(context)));
    window_->show();
    return window_;
}

GwCore* DeviceWindowTest::OpenCase(bool online, const std::string& body, const std::string& widget) {
    MarkBoxes();
    OpenWindow(body, MakeContext(online));
    return W(widget);
}

GwCore* DeviceWindowTest::W(const std::string& path) {
    GwCore* widget = window_ != nullptr ? window_->child(path) : nullptr;
    EXPECT_NE(widget, nullptr) << path;
    return widget;
}

void DeviceWindowTest::MarkBoxes() { boxesSeen_ = gwtest::Boxes().size(); }

std::vector<GwBoxRecord> DeviceWindowTest::NewBoxes() const {
    const std::vector<GwBoxRecord>& boxes = gwtest::Boxes();
    return {boxes.begin() + static_cast<std::ptrdiff_t>(std::min(boxesSeen_, boxes.size())), boxes.end()};
}

std::vector<std::string> DeviceWindowTest::Heard() { return Drive().Capture().TelegramTexts(); }

}  // namespace devicewintest
