#include "motor/ident/tests/ident_fixture.h"

#include <algorithm>
#include <bit>
#include <filesystem>
#include <utility>

#include "app/notes/risk_note.h"
#include "motor/ident/ident_callbacks.h"
#include "motor/ident/ident_parameters.h"
#include "platform/base/format.h"
#include "sim/drive_recorder.h"
#include "sim/recorder_registers.h"
#include "testsupport/test_env.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace identtest {

namespace {

constexpr char kListText[] =
    "isd.Soll, A, 0, 1.0, 1, 1\n"
    "isd.Ist, A, 0, 1.0, 1, 1\n"
    "usd.Soll, V, 0, 1.0, 1, 1\n";

sim::DriveParameter* PutFloat(sim::DriveTable& table, int number, float value, size_t elements = 0) {
    sim::DriveParameter* p =
        table.PutFullRange(number, platform::Format("P%d", number).c_str(), "FLOAT32", std::bit_cast<uint32_t>(value));
    p->minimum = std::bit_cast<uint32_t>(-1e9f);
    p->maximum = std::bit_cast<uint32_t>(1e9f);
    if (elements > 0) {
        p->flags |= sim::kFlagArray;
        p->elements.assign(elements, std::bit_cast<uint32_t>(value));
    }
    return p;
}

}  // namespace

sim::DriveTable IdentTest::MakeTable() {
    sim::DriveTable table = maintest::ActivationTable(typeNumber_, kVersionSteps);
    // The recorder's registers, with settings of their own to be kept
    // around a run: channel 2 on variable 2, trigger level 12, mode 1,
    // pre-trigger 400.
    sim::PutRecorderRegisters(table);
    const std::pair<int, uint32_t> settings[] = {{24, 0x20}, {25, 2}, {64, 12}, {65, 1}, {67, 400}};
    for (const auto& [number, value] : settings) table.Find(number)->value = value;
    // The motor of the induction motor run and the drive's controllers.
    const std::pair<int, float> scalars[] = {
        {15, 0.0f},     {120, 0.0f},   {832, 0.0f}, {153, 0.0f},   {154, 4.0f},    {155, 400.0f}, {156, 50.0f},
        {157, 1450.0f}, {158, 8.0f},   {160, 0.0f}, {397, 10.0f},  {350, 0.0001f}, {800, 0.0f},   {801, 0.0f},
        {802, 0.0f},    {810, 0.0f},   {812, 0.0f}, {815, 0.001f}, {817, 0.0f},    {818, 0.0f},   {838, 0.0f},
        {840, 0.0f},    {841, 0.0f},   {842, 0.0f}, {843, 0.0f},   {844, 0.0f},    {845, 0.0f},   {846, 0.0f},
        {847, 0.0f},    {848, 0.0f},   {849, 0.0f}, {850, 0.19f},  {851, 0.0f},    {852, 0.0f},   {454, 0.0f},
        {460, 0.0f},    {461, 0.002f}, {473, 0.0f}, {474, 0.002f}, {106, 3.0f},    {260, 5.0f},   {44, 0.0f},
    };
    for (const auto& [number, value] : scalars) PutFloat(table, number, value);
    PutFloat(table, 42, 0.0f, 3);
    PutFloat(table, 43, 0.0f, 3);
    PutFloat(table, 833, 0.0f, 4);
    sim::DriveParameter* peak = PutFloat(table, 409, 0.0f, 2);
    peak->elements[1] = std::bit_cast<uint32_t>(20.0f);
    table.PutFullRange(150, "SAVE", "USIGN8", 0);
    // Ready: 3 for families 5 to 7, 2 in the high nibble for family 4.
    table.Find(403)->value = typeNumber_ == kRuvexType ? 2u << 12 : 3u;
    table.motor_ident.enabled = true;
    if (typeNumber_ == kRuvexType) table.motor_ident.reset_time_parameter = 802;
    return table;
}

void IdentTest::SetUp() {
    WriteTreeFile(platform::Format("FIRMDATA/%d_002_15.MCW", typeNumber_ / 1000), kListText);
    std::filesystem::remove(testsupport::RuntimePath("TMP/ident.txt"));
    DeviceWindowTest::SetUp();
    Drive().AddRecorder();
}

void IdentTest::TearDown() {
    std::filesystem::remove(testsupport::RuntimePath("TMP/ident.txt"));
    DeviceWindowTest::TearDown();
}

void IdentTest::Open(const std::string& body, bool online, bool confirmRisk) {
    OpenWindow(body, MakeContext(online));
    ClearCaptures();
    MarkBoxes();
    if (confirmRisk) gwtest::AnswerModal(kRiskNoteConfirmed, kRiskNoteTuning);
}

void IdentTest::UseSynchronousMotor() {
    Unit().motor.induction = false;
    Unit().motor.rs = 0.5;
    Unit().motor.ls = 0.005;
    const std::pair<int, float> data[] = {{153, 1.0f}, {154, 1.5f}, {156, 50.0f}, {157, 1500.0f}, {158, 5.0f}};
    for (const auto& [number, value] : data) SetValue(number, value);
}

int IdentTest::Start() { return CB_5_IdentMotor(DeviceWindowTest::W("Start"), nullptr, GwUD()); }

float IdentTest::Value(int number) { return std::bit_cast<float>(Drive().Table().Find(number)->value); }

float IdentTest::Element(int number, size_t element) {
    return std::bit_cast<float>(Drive().Table().Find(number)->elements.at(element));
}

void IdentTest::SetValue(int number, float value) {
    Drive().Table().Find(number)->value = std::bit_cast<uint32_t>(value);
}

std::vector<std::string> IdentTest::Writes() {
    std::vector<std::string> writes;
    for (const std::string& t : Heard()) {
        if (t.rfind("W ", 0) == 0) writes.push_back(t);
    }
    return writes;
}

std::vector<float> IdentTest::WrittenValues(int number, int element) {
    std::vector<float> values;
    const std::string scalar = platform::Format("W 2%04d=", number);
    const std::string array = element >= 0 ? platform::Format("W 70%03d%05d01=", number, element) : std::string("-");
    for (const std::string& t : Writes()) {
        std::string hex;
        if (t.rfind(scalar, 0) == 0) hex = t.substr(scalar.size());
        if (t.rfind(array, 0) == 0) hex = t.substr(array.size());
        if (!hex.empty()) values.push_back(std::bit_cast<float>(static_cast<uint32_t>(std::stoul(hex, nullptr, 16))));
    }
    return values;
}

std::string IdentTest::IdentLog() { return testsupport::ReadFile(testsupport::RuntimePath("TMP/ident.txt")); }

std::string IdentTest::W(int number, float value) {
    return platform::Format("W 2%04d=%X", number, std::bit_cast<uint32_t>(value));
}

std::string IdentTest::R(int number) { return platform::Format("R 2%04d", number); }

std::string IdentTest::WE(int number, int element, float value) {
    return platform::Format("W 70%03d%05d01=%08X", number, element, std::bit_cast<uint32_t>(value));
}

std::vector<std::string> IdentTest::BoxTexts() {
    std::vector<std::string> texts;
    for (const GwBoxRecord& box : NewBoxes()) texts.push_back(box.kind + ": " + box.text);
    return texts;
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

}  // namespace identtest
