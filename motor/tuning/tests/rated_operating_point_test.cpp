// The operating point of a rated point on one motor model, worked through
// the search steps by hand for four rated points: one that fits, two short
// of voltage (with and without a lower speed) and one with a reserve.
#include "motor/tuning/rated_operating_point.h"

#include <gtest/gtest.h>

namespace {

// Two pole pairs, 7.8125 mH leakage, 1.0 and 0.75 Ohm, and a magnetising
// inductance of 0.1875 H that falls with the square of the flux (values a
// drive's single floats hold exactly).
RatedPointMotor FixtureMotor() {
    RatedPointMotor motor;
    motor.polePairs = 2.0;
    motor.leakageInductance = 0.0078125;
    motor.statorResistance = 1.0;
    motor.rotorResistance = 0.75;
    motor.inductanceOverFlux = {0.1875, 0.0, -0.0625, 0.0, 0.0};
    return motor;
}

double Torque(double powerKw, double speed) { return powerKw * 1000.0 / (speed * 0.10471975803375244); }

TEST(RatedOperatingPointTest, StatusFluxAndReducedPointOfFourRatedPoints) {
    struct Case {
        const char* name;
        double voltage, current, powerKw, speed;
        OperatingPointStatus status;
        double flux;
        double neededLineVoltage;  // statuses 1 and 2
        double reducedTorque;      // status 1
        double reducedSpeed;       // status 1
    } const cases[] = {
        {"fits", 100, 4, 1, 500, OperatingPointStatus::kReached, 0.6161393396010196, 0, 0, 0},
        {"short, speed kept",
         100,
         4,
         1,
         1450,
         OperatingPointStatus::kTorqueReduced,
         0.19065369230625986,
         210.05089518716855,
         3.052732742475839,
         1450},
        {"short, lower speed",
         100,
         10,
         1,
         1450,
         OperatingPointStatus::kTorqueReduced,
         0.10025203323320399,
         143.853477522096,
         4.07971269148651,
         1355.6648645965042},
        {"reserve",
         200,
         8,
         1,
         500,
         OperatingPointStatus::kVoltageReserve,
         1.1608622582476282,
         139.36864392004745,
         0,
         0},
    };
    const RatedPointMotor motor = FixtureMotor();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RatedOperatingPoint point =
            CalcOperatingPoint(c.voltage, c.current, c.speed, Torque(c.powerKw, c.speed), motor);
        EXPECT_EQ(point.status, c.status);
        EXPECT_NEAR(point.flux, c.flux, 1e-9 * c.flux);
        if (c.status == OperatingPointStatus::kReached) continue;
        EXPECT_NEAR(point.neededLineVoltage, c.neededLineVoltage, 1e-9 * c.neededLineVoltage);
        if (c.status != OperatingPointStatus::kTorqueReduced) continue;
        EXPECT_NEAR(point.reducedTorque, c.reducedTorque, 1e-9 * c.reducedTorque);
        EXPECT_NEAR(point.reducedSpeed, c.reducedSpeed, 1e-9 * c.reducedSpeed);
    }
}

}  // namespace
