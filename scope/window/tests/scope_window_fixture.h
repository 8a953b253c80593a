// Set-up of the oscilloscope window's tests: the application object's
// fixture with an active drive whose recorder has two active 16-bit channels
// ("Speed" on 0, "Current" on 1), 1200 buffer bytes, divider 1 and a base
// time of 0.0001 s; the firmware's variable list in "..\FIRMDATA"; the
// window's callbacks registered; and an outside plot tool behind a fake DDE
// server.
#pragma once

#include <string>
#include <vector>

#include "app/main/tests/main_fixture.h"
#include "sim/drive_recorder.h"
#include "toolkit/testdriver/gw_test_driver_kinds.h"

class GwCore;

namespace scopewintest {

// Type 4120 of firmware 1.3: the list file of class 4, version 1.30.
inline constexpr char kListFile[] = "FIRMDATA/4_001_30.MCW";
// "Speed" (kind 1 index 0), "Current" (kind 1 index 1, unit "variable", so
// "Nm" by control type 1), "Position" (kind 2 index 0), all at level 1, and
// "Torque" (kind 1 index 2) at level 5.
inline constexpr char kListText[] =
    "Speed, 1/min, 0, 1.0, 1, 1\n"
    "Current, variable, 8, 2.0, 1, 1\n"
    "Position, Incr, 16, 1.0, 2, 1\n"
    "Torque, none, 4, 1.0, 1, 5\n";
inline constexpr char kPlotTool[] = "/opt/plot/tool";

// Whether a toggle is on; whether an edit is read-only (false for a missing
// widget or one of another kind).
bool IsChecked(GwCore* widget);
bool IsReadOnly(GwCore* widget);

class ScopeWindowTest : public maintest::MainTest {
protected:
    void SetUp() override;
    void TearDown() override;

    sim::VirtualDrive& Drive() { return *drives_.at(maintest::kAddress); }
    sim::DriveRecorder& Recorder() { return Drive().AddRecorder(); }
    sim::DriveParameter& OnDrive(int number);
    // What the drive heard since its capture was cleared ("W 20068=0").
    std::vector<std::string> Heard();
    // Only the writes of Heard, in order.
    std::vector<std::string> Writes();
    // Closes the bus and activates the drive again at another rate.
    void ActivateAt(int32_t baud);

    // Loads "DigitalScope" under the main window, lists it online and shows
    // it; boxes are answered OK.
    GwCore* OpenScope();
    GwCore* Child(const std::string& name) const;
    // The texts "State" got since the test began.
    std::vector<std::string> StateTexts() const;
    // "kind: text" of the boxes shown since the last MarkBoxes.
    std::vector<std::string> NewBoxes() const;
    void MarkBoxes() { boxesSeen_ = gwtest::Boxes().size(); }

    GwCore* window_ = nullptr;
    gwtest::FakeDdeServer* plotServer_ = nullptr;

private:
    size_t boxesSeen_ = 0;
};

}  // namespace scopewintest
