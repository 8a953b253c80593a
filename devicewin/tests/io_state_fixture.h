// Set-up of the state-window tests: the shipped main window with its docking
// manager and the device windows' callbacks, and one virtual drive of the
// model's family on the in-memory serial line whose table holds what the I/O
// state and device messages windows read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/mainwindow/tests/main_window_fixture.h"
#include "sim/drive_table.h"

class GwCore;

namespace iostatetest {

inline constexpr uint16_t kRuvexType = 4120;
inline constexpr uint16_t kMarloType = 3120;
inline constexpr uint16_t kPescoType = 5012;
inline constexpr uint16_t kTalinType = 1012;  // family 6
inline constexpr uint16_t kWenzoType = 2012;  // family 7
// The value of a function parameter whose text is longer than five.
inline constexpr uint32_t kLongTextValue = 2;
// Parameter 151's stored run mode: the option character 'A'.
inline constexpr uint32_t kRunModeA = 'A';

// The table: the activation's parameters, the status words 495 (0x0001) and
// 419 (0x0001), the analogue values 416 (1.25), 417 (2.5) and 420 (-3.5) as
// FLOAT32, the slots 578 and 579 (0), the module word 583 (0), every
// terminal's function parameter (value 1, "ON"; texts "OFF", "ON",
// "LONGTEXT"), 151 (kRunModeA) and 205 (0).
sim::DriveTable StateTable(uint16_t type);

// Firmware version 2.10 in the table (parameters 90 and 92 and the record).
void Version210(sim::DriveTable& table);
// Takes the active device off the bus and back without closing its windows.
void SetActiveOnline(bool on);

class StateWindowTest : public mainwindowtest::MainWindowTest {
public:
    void SetUp() override;

    // Puts a drive of the type (its table adjusted) on the line at the rate,
    // opens the serial bus at that rate and makes the drive active, which
    // docks its family's state frames. The drive's requests are kept.
    void Connect(uint16_t type, const std::function<void(sim::DriveTable&)>& adjust = {}, int32_t baud = 9600);
    // The content container of a docked state frame (null when not docked).
    GwCore* Docked(const std::string& name);
    // The content of the docked I/O state window with both timers stopped,
    // so that the test runs every tick itself.
    GwCore* QuietWindow(const std::string& name);
    GwCore* W(const std::string& name);
    sim::DriveParameter* P(int number);
    void SetFloat(int number, float value);
    // The drive's telegrams since the last call (or the connection).
    std::vector<std::string> Heard();
    // Whether a read of the parameter was heard among them.
    static bool Read(const std::vector<std::string>& heard, int number);
    // Texts of the boxes shown since the last call.
    std::vector<std::string> NewBoxes();
    void RefuseReadsOf(int number, int times = 1);

    GwCore* window_ = nullptr;
    size_t boxesSeen_ = 0;
};

}  // namespace iostatetest
