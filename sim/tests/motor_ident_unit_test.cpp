// The identification unit of the PC-side identification: its two motors and
// its answers to the command parameter on the drive's clock.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <complex>
#include <vector>

#include "sim/drive_table.h"

namespace {

sim::DriveTable UnitTable() {
    sim::DriveTable table;
    for (int number : {44, 120, 800, 801, 832}) {
        sim::DriveParameter* p = table.PutFullRange(number, "F", "FLOAT32", 0);
        p->minimum = std::bit_cast<uint32_t>(-1e9f);
        p->maximum = std::bit_cast<uint32_t>(1e9f);
    }
    for (auto [number, count] : {std::pair{42, 3}, {43, 3}, {833, 4}}) {
        sim::DriveParameter* p = table.PutFullRange(number, "A", "FLOAT32", 0);
        p->flags |= sim::kFlagArray;
        p->elements.assign(static_cast<size_t>(count), 0);
    }
    table.motor_ident.enabled = true;
    return table;
}

float StateAt(sim::DriveTable& table, uint64_t at_us) {
    table.ApplyDueValues(at_us);
    return std::bit_cast<float>(table.Find(832)->value);
}

TEST(MotorIdentUnitTest, TheInductionMotorIsTheTCircuitWithAFallingMagnetisingInductance) {
    const sim::SimMotor motor;  // Rs 1, Rr 0.8, Ls 0.01, Lh 0.2 up to 4 A
    const std::complex<double> j(0.0, 1.0);
    for (double omega : {0.5, 6.0, 300.0}) {
        // Below the knee: the circuit's admittance (Rr + jwLt) / N.
        const double lt = 0.21;
        const std::complex<double> n = 1.0 * 0.8 + j * omega * (1.0 * lt + 0.01 * 0.8 + 0.2 * 0.8) +
                                       (j * omega) * (j * omega) * (0.01 * lt + 0.2 * 0.01);
        const std::complex<double> expected = n / (0.8 + j * omega * lt);
        EXPECT_NEAR(std::abs(motor.Impedance(1.0, omega) - expected), 0.0, 1e-9 * std::abs(expected)) << omega;
    }
    // Above it the inductance is the one at its own magnetising current.
    const double omega = 1.2;
    const double lh = motor.MagnetisingFor(11.0, omega);
    const double im = 11.0 * std::abs(std::complex<double>(0.8, omega * 0.01)) /
                      std::abs(std::complex<double>(0.8, omega * (0.01 + lh)));
    EXPECT_GT(im, 4.0);
    EXPECT_NEAR(lh, 0.2 * 4.0 / im, 1e-12);
    EXPECT_EQ(motor.MagnetisingAt(3.0), 0.2);

    sim::SimMotor magnet;
    magnet.induction = false;
    magnet.rs = 0.5;
    magnet.ls = 0.005;
    EXPECT_EQ(magnet.Impedance(2.0, 100.0), std::complex<double>(0.5, 0.5));
}

TEST(MotorIdentUnitTest, CommandsAnswerOnTheClock) {
    sim::DriveTable table = UnitTable();
    table.Find(832)->value = std::bit_cast<uint32_t>(2.0f);
    // The reset: 0 after its delay, the command done.
    table.motor_ident.reset_delay_us = 200000;
    ASSERT_EQ(table.WriteValue(120, std::bit_cast<uint32_t>(1.0f)), 0);
    EXPECT_EQ(StateAt(table, 100000), 2.0f);
    EXPECT_EQ(StateAt(table, 200000), 0.0f);
    EXPECT_EQ(std::bit_cast<float>(table.Find(120)->value), 0.0f);

    // The first step sets the current controller and fills the recorder.
    ASSERT_EQ(table.WriteValue(120, std::bit_cast<uint32_t>(3.0f)), 0);
    EXPECT_EQ(StateAt(table, 300000), 1.0f);
    EXPECT_EQ(StateAt(table, 200000 + table.motor_ident.first_step_us), 2.0f);
    EXPECT_EQ(std::bit_cast<float>(table.Find(800)->value), 12.5f);
    EXPECT_EQ(std::bit_cast<float>(table.Find(801)->value), 1.25f);
    EXPECT_FALSE(table.samples.empty());

    // A measurement: the response at 42[0] and 44 after 43[2] seconds.
    table.Find(42)->elements[0] = std::bit_cast<uint32_t>(2.0f);
    table.Find(43)->elements[2] = std::bit_cast<uint32_t>(3.0f);
    table.Find(44)->value = std::bit_cast<uint32_t>(50.0f);
    ASSERT_EQ(table.WriteValue(120, std::bit_cast<uint32_t>(2.0f)), 0);
    const uint64_t start = table.NowUs();
    EXPECT_EQ(StateAt(table, start + 2999999), 1.0f);
    EXPECT_EQ(StateAt(table, start + 3000000), 2.0f);
    const std::complex<double> v = table.motor_ident.motor.Impedance(2.0, 2 * M_PI * 50.0) * 2.0;
    const std::vector<uint32_t>& e = table.Find(833)->elements;
    EXPECT_EQ(std::bit_cast<float>(e[0]), static_cast<float>(v.imag()));
    EXPECT_EQ(std::bit_cast<float>(e[1]), static_cast<float>(v.real()));
    EXPECT_EQ(std::bit_cast<float>(e[2]), 0.0f);
    EXPECT_EQ(std::bit_cast<float>(e[3]), 2.0f);
    EXPECT_EQ(table.motor_ident.step_commands, (std::vector<double>{3.0, 2.0}));
}

TEST(MotorIdentUnitTest, ScriptedStepsFailStayOrDrop) {
    struct Case {
        sim::MotorIdentFault fault;
        float state;  // 2 s after the start
    } cases[] = {
        {sim::MotorIdentFault::kFail, 3.0f},
        {sim::MotorIdentFault::kStayRunning, 1.0f},
        {sim::MotorIdentFault::kDropOnce, 0.0f},
    };
    for (const Case& c : cases) {
        sim::DriveTable table = UnitTable();
        table.Find(43)->elements[2] = std::bit_cast<uint32_t>(1.0f);
        table.motor_ident.scripts.push_back({0, c.fault});
        ASSERT_EQ(table.WriteValue(120, std::bit_cast<uint32_t>(2.0f)), 0);
        EXPECT_EQ(StateAt(table, 2000000), c.state);
        // The next step runs as usual.
        ASSERT_EQ(table.WriteValue(120, std::bit_cast<uint32_t>(2.0f)), 0);
        EXPECT_EQ(StateAt(table, 3000000), 2.0f);
    }
}

}  // namespace
