// Set-up of the setup-context tests: a virtual drive at address 3 on the
// in-memory serial line, the serial bus, and a device base on it whose table
// entries the test defines beside the drive's parameters.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "bus/serial/tarn_bus.h"
#include "parameters/parabase/tests/parabase_fixture.h"
#include "platform/testing/memory_serial_line.h"
#include "sim/virtual_drive.h"

namespace familiestest {

inline constexpr int kAddress = 3;

class FamiliesTest : public parabasetest::ParaBaseTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Defines the parameter in the base's table with `tableValue` and on the
    // drive with `driveValue` (raw bits; FLOAT32 as float bits).
    void Both(int number, const char* name, char type, int32_t tableValue, uint32_t driveValue);
    // Defines it in the table only: a device read fails.
    void TableOnly(int number, const char* name, char type, int32_t tableValue);
    // Telegram codes the drive heard since the capture was cleared ("20092").
    std::string Heard() const;
    // A shown main window with boxes enabled; unscripted boxes answer OK.
    void EnableBoxes();

    platform::MemorySerialLine line_;
    std::unique_ptr<sim::VirtualDrive> drive_;
    std::unique_ptr<TarnBus> bus_;
    std::unique_ptr<ParaBase> base_;
};

uint32_t FloatBits(float f);

}  // namespace familiestest
