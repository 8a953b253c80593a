#include "motor/tuning/tests/tuning_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "app/services/plot_tool_setting.h"
#include "motor/tuning/tuning_callbacks.h"
#include "parameters/parabase/para_write_lock.h"
#include "scope/plot/plot_window.h"
#include "sim/drive_recorder.h"
#include "sim/recorder_registers.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_rcmgr.h"

namespace tuningtest {
namespace {

// The recordable variables of the drive's firmware: name, unit, fraction
// bits, factor, kind, level.
constexpr char kListFile[] = "FIRMDATA/5_001_30.MCW";
constexpr char kListText[] =
    "isd.Soll, A, 0, 1.0, 1, 1\n"
    "isd.Ist, A, 0, 1.0, 1, 1\n"
    "usd.Soll, V, 0, 1.0, 1, 1\n";

sim::DriveParameter* PutFloat(sim::DriveTable& table, int number, float value) {
    sim::DriveParameter* p = table.PutFullRange(number, ("F" + std::to_string(number)).c_str(), "FLOAT32", F(value));
    p->minimum = F(-100000.0f);
    p->maximum = F(100000.0f);
    return p;
}

void PutFloatArray(sim::DriveTable& table, int number, std::vector<float> values, std::vector<float> defaults) {
    sim::DriveParameter* p = PutFloat(table, number, 0.0f);
    p->flags |= sim::kFlagArray;
    p->elements.clear();
    for (float v : values) p->elements.push_back(F(v));
    if (!defaults.empty()) p->default_value = F(defaults[0]);
}

}  // namespace

uint32_t F(float value) { return maintest::FloatBits(value); }

sim::DriveTable TuningTest::MakeTable() {
    sim::DriveTable table = maintest::ActivationTable(5012, 26);
    sim::PutRecorderRegisters(table);
    // Motor data and the identified model.
    const std::pair<int, float> floats[] = {
        {154, 4.0f},         {155, 400.0f}, {157, 1450.0f},    {158, 8.0f}, {160, 0.015625f},     {397, kCurrentLimit},
        {474, 0.001953125f}, {810, 0.0f},   {812, 0.0f},       {473, 0.0f}, {815, 0.0009765625f}, {817, 0.03125f},
        {818, 1.0f},         {840, 0.0f},   {841, 0.0078125f}, {842, 1.0f}, {843, 0.75f},         {844, 2.0f},
        {845, 0.1875f},      {846, 0.0f},   {847, -0.0625f},   {848, 0.0f}, {849, 0.0f},          {852, 0.0f},
        {120, 0.0f},         {832, 0.0f},   {896, 0.0f},
    };
    for (auto [number, value] : floats) PutFloat(table, number, value);
    PutFloatArray(table, 42, {0, 0, 0}, {});
    PutFloatArray(table, 43, {0, 0, 0}, {});
    PutFloatArray(table, 895, {9, 9, 9, 9}, {0.5f});
    // What the drive's identification unit answers a measurement with.
    PutFloatArray(table, 44, {0}, {});
    PutFloatArray(table, 833, {0, 0, 0, 0}, {});
    table.PutFullRange(410, "STATW", "USIGN16", 0);
    for (auto [number, value] : {std::pair{280, 10}, {281, 20}, {289, 30}, {290, 40}, {284, 7}, {260, 5}}) {
        sim::DriveParameter* p = table.PutFullRange(number, ("P" + std::to_string(number)).c_str(), "INT16", value);
        p->minimum = static_cast<uint32_t>(-1000);
        p->maximum = 1000;
    }
    table.Find(403)->value = 3;
    return table;
}

void TuningTest::SetUp() {
    WriteTreeFile(kListFile, kListText);
    DeviceWindowTest::SetUp();
    GwRcMgr::use_func_desc(MotorTuningCallbacks());
    Drive().AddRecorder();
    // The program's own plot window takes the recordings.
    SetPlotTool("intern");
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/plot.cgw").c_str()));
    GwRcMgr::use_func_desc(PlotWindowCallbacks());
}

void TuningTest::TearDown() {
    TheParaWriteLock().Reset();
    DeviceWindowTest::TearDown();
}

float TuningTest::DriveValue(int number, int element) {
    const sim::DriveParameter* p = Drive().Table().Find(number);
    const uint32_t bits = element < 0 ? p->value : p->elements.at(static_cast<size_t>(element));
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double TuningTest::Stored(int number, int element) {
    double value = 0.0;
    EXPECT_EQ(contexts_.back()->Base->GetValueDouble(number, &value, element), 0) << number;
    return value;
}

std::vector<std::string> TuningTest::Reads() {
    std::vector<std::string> reads;
    for (const std::string& t : Heard()) {
        if (t.rfind("R ", 0) == 0) reads.push_back(t);
    }
    return reads;
}

std::vector<std::string> TuningTest::Writes() {
    std::vector<std::string> writes;
    for (const std::string& t : Heard()) {
        if (t.rfind("W ", 0) == 0) writes.push_back(t);
    }
    return writes;
}

void TuningTest::Define(const std::string& name, const std::string& body) {
    EXPECT_TRUE(
        GwRcMgr::use_text("dialogframe " + name + " {\n rect = 0, 0, 400, 300\n" + body + "\n}\n", name + ".cgw"));
}

void TuningTest::SetState(int state, uint16_t status) {
    Drive().Table().Find(403)->value = static_cast<uint32_t>(state);
    Drive().Table().Find(410)->value = status;
}

}  // namespace tuningtest
