// Shared set-up of the oscilloscope engine tests: a virtual drive with the
// recorder's parameters on an in-memory serial line, the serial bus, a scope
// parameter base that knows the parameters' descriptions, a main window for
// message boxes, and the application hooks.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/services/services_hooks.h"
#include "bus/serial/tarn_bus.h"
#include "platform/testing/memory_serial_line.h"
#include "scope/recorder/scope_base.h"
#include "sim/virtual_drive.h"

namespace scopetest {

inline constexpr int kAddress = 5;
// The variable list file of the drive's firmware (class 5, version 3.10).
inline constexpr char kListFile[] = "FIRMDATA/5_003_10.MCW";
inline constexpr char kListPath[] = "..\\FIRMDATA\\5_003_10.MCW";
// Variables: kind 1 index 0 "Speed", kind 1 index 1 "Current" (unit
// "variable"), kind 2 index 0 "Position" (factor from the factor table,
// which the time base 1.0 of parameter 304 makes {2}), kind 1 index 2
// "Torque" (level 5).
inline constexpr char kListText[] =
    "Speed, 1/min, 8, 2.0, 1, 1\n"
    "Current, variable, 8, 2.0, 1, 1\n"
    "Position, Incr, 16, 0, 2, 1\n"
    "Torque, none, 4, 1.0, 1, 5\n";

// The window as the base sees it: records the slider and can ask to stop at
// its n-th slider move.
class FakeWindow : public ScopeWindowLink {
public:
    bool HasEngine() override { return engine; }
    bool IsStopRequested() override { return stopAtMove > 0 && static_cast<int>(moves.size()) >= stopAtMove; }
    void SetSlider(float percent) override { moves.push_back(percent); }
    void ResetSlider() override { ++resets; }

    bool engine = true;
    int stopAtMove = 0;
    std::vector<float> moves;
    int resets = 0;
};

class Hooks : public ServicesHooks {
public:
    const char* ActiveBusName() override { return "RS232"; }
    const char* ActiveBusErrorText() override { return ""; }
    ParaBase* ActiveParaBase() override { return active; }
    ParaBase* WorkingParaBase() override { return nullptr; }
    const char* ParaBaseErrorText(ParaBase* base) override { return base->MessageBuffer; }
    bool ParaBaseHasBus(ParaBase*) override { return false; }
    bool IsParaWriteLockHeld() override { return false; }
    void UncoupleAllDevices() override {}

    ParaBase* active = nullptr;
};

class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    sim::DriveParameter& OnDrive(int number) { return *drive_->Table().Find(number); }
    // Sets a value in the drive and reads it into the base.
    void SetOnDrive(int number, uint32_t raw);
    // A value as the drive holds it.
    uint32_t DriveValue(int number) { return OnDrive(number).value; }
    void WriteList(const std::string& text = kListText);
    // "kind: text" of every box shown so far.
    std::vector<std::string> BoxTexts() const;
    // The telegram codes the drive heard, in order ("20062", "20110=2", ...):
    // reads as their code, writes as code=value.
    std::vector<std::string> Telegrams() const;
    // A runtime file's bytes.
    static std::string Runtime(const std::string& relative);
    static bool RuntimeExists(const std::string& relative);

    platform::MemorySerialLine line_;
    std::unique_ptr<sim::VirtualDrive> drive_;
    std::unique_ptr<TarnBus> bus_;
    FakeWindow window_;
    std::unique_ptr<ScopeBase> base_;
    Hooks hooks_;
};

}  // namespace scopetest
