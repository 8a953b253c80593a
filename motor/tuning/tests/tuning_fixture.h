// Set-up of the tuning tests: a Pesco drive on the virtual line with the
// motor data, the controller parameters, the identification command and
// state, the auto-tuning parameters, the parameters a test freezes and the
// drive's recorder; device windows of the test's own on a setup context.
#pragma once

#include <string>
#include <vector>

#include "devicewin/tests/devicewin_fixture.h"

namespace tuningtest {

// Bits of single floats, as the drive keeps FLOAT32 values.
uint32_t F(float value);
using devicewintest::Count;
using devicewintest::InOrder;

// The motor of the rated-point tests: two pole pairs, 7.8125 mH leakage,
// 1.0 and 0.75 Ohm, a magnetising inductance 0.1875 - 0.0625 x flux^2, and a
// device current limit of 12 A.
inline constexpr float kCurrentLimit = 12.0f;

class TuningTest : public devicewintest::DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override;
    void SetUp() override;
    void TearDown() override;

    // The drive's value of `number` (element `element` of an array) as a
    // float.
    float DriveValue(int number, int element = -1);
    // A stored value of the last context's base.
    double Stored(int number, int element = 0);
    // The reads and writes the drive heard since the capture was cleared.
    std::vector<std::string> Reads();
    std::vector<std::string> Writes();
    // Defines a window of that name with the body (a dialog frame).
    void Define(const std::string& name, const std::string& body);
    // The drive's 403 and 410 answer these from now on.
    void SetState(int state, uint16_t status = 0);
};

}  // namespace tuningtest
