// Set-up of the docked state and value window tests: the shipped definitions
// with the device windows' callbacks bound, the main window with its docking
// work area, and virtual drives of several families on the in-memory line,
// whose tables hold what the windows read.
#pragma once

#include <string>
#include <vector>

#include "app/mainwindow/tests/main_window_fixture.h"
#include "toolkit/core/gw_recorder.h"

class GwCore;

namespace statewintest {

// Addresses of the drives, one per model.
inline constexpr int kRuvexAddress = 3;
inline constexpr int kMarloAddress = 4;
inline constexpr int kWenzoAddress = 5;
inline constexpr int kPescoAddress = 6;
inline constexpr int kZovAddress = 7;
inline constexpr int kRuvex200Address = 8;
inline constexpr int kMarlo200Address = 9;

// The error code parameter's value texts: 2 "Fixed fault, detail", 5
// "Overcurrent, phase U", 6 ",abc,def", 7 "" (value 5 at start).
inline constexpr uint32_t kOvercurrent = 5;
inline constexpr uint32_t kLeadingComma = 6;

// The Zov drive (type class 9000) adds 400 = 123.456, 406 = -1.5 and the
// FLOAT32 arrays 401 {3.14159, -1.5, 123.456, 0, 7} and 402 {1 .. 6, 7.25}.
// Every drive also holds what the value windows read, each number as its own
// value where it is a plain number (75 = 75, 755 = 755 ...), 300 = 0, 151
// named "MODE", the texts 766 "mm", 902 "m/s", 792 "deg", 793 "rps", 757 =
// 3, 744 = 2, 745 = 17.8, 650 = 4, 278 = 2, 776 = 3.
// A drive table of the type with what the state and value windows read.
sim::DriveTable StateWindowTable(uint32_t typeNumber, uint32_t versionSteps = 26);

class StateWindowTest : public mainwindowtest::MainWindowTest {
public:
    void SetUp() override;
    // Removes the cache files of the drives, so no later test activates a
    // drive from a table of this one.
    void TearDown() override;

    // Adds the drive of a model (by its address) and opens the bus once.
    sim::VirtualDrive& AddModel(int address);
    // Activates the drive at the address; its family's frames dock.
    void ActivateModel(int address);
    sim::VirtualDrive& DriveAt(int address) { return *drives_.at(address); }
    sim::DriveParameter& Parameter(int address, int number);
    // The content container of a docked frame, asserting it exists.
    GwCore* Pane(const std::string& name);
    GwCore* In(const std::string& pane, const std::string& widget);
    // The "value" and "unit" texts of a group.
    std::string Value(const std::string& pane, const std::string& group);
    std::string Unit(const std::string& pane, const std::string& group);
    // Runs the pane's timer once (its current interval on the virtual clock).
    void Tick(const std::string& pane);
    void MarkBoxes();
    std::vector<GwBoxRecord> NewBoxes() const;
    std::vector<std::string> Heard(int address);

    // The serial bus's rate (the drives must run at it).
    int32_t baud_ = 9600;

private:
    size_t boxesSeen_ = 0;
};

}  // namespace statewintest
