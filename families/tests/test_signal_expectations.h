// What a drive hears of a current-controller test signal, shared by the tests
// of the family-4 runs and of the controller set-up run: the recorder set up
// for a signal that scales with 10 A, and the signal of amplitude 10.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/drive_table.h"
#include "sim/recorder_registers.h"

namespace testsignaltest {

// The settings read (into the setup file), the recording stopped, channels 0
// to 2 on with their variables and 3 off, the record time, trigger channel 0,
// the rising edge at level 3, and the start.
inline const std::vector<std::string> kRecorderSetUp = {
    "R 20067",
    "W 20068=0",
    "W 20021=0",
    "W 20023=1",
    "W 20025=2",
    "W 20026=0",
    "W 20060=0",
    "W 20066=0",
    "W 20065=2",
    "W 20064=3",
    "W 20068=1",
};

// 42[0..2] := 0, 2, 10, 43[0..2] := 0, 3, 1 and 120 := 2.
inline const std::vector<std::string> kSignal = {
    "W 700420000001=00000000",
    "W 700420000101=40000000",
    "W 700420000201=41200000",
    "W 700430000001=00000000",
    "W 700430000101=40400000",
    "W 700430000201=3F800000",
    "W 20120=40000000",
};

// The recorder's settings on the drive (its control and transfer registers
// and actual values aside).
inline std::vector<uint32_t> RecorderSettings(const sim::DriveTable& table) {
    std::vector<uint32_t> values;
    for (int number : sim::RecorderRegisterNumbers()) {
        if (number != 68 && number != 110 && (number < 70 || number > 73)) values.push_back(table.Find(number)->value);
    }
    return values;
}

}  // namespace testsignaltest
