// The encoder-offset detection of the identification unit: 4.0 on the
// command parameter of a family 5 to 7 drive, and what a family-4 drive does
// with the same value.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sim/drive_table.h"
#include "sim/motor_ident_unit.h"

namespace {

uint32_t FloatBits(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

float StateAt(sim::DriveTable& table, uint64_t at_us) {
    table.ApplyDueValues(at_us);
    table.BeforeValueRead(sim::kMotorIdentStateParameter);
    float value;
    const uint32_t bits = table.Find(sim::kMotorIdentStateParameter)->value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

sim::DriveTable UnitTable(uint32_t typeNumber) {
    sim::DriveTable table;
    table.type_number = typeNumber;
    for (int number : {sim::kMotorIdentCommandParameter, sim::kMotorIdentStateParameter, 800, 801, 802}) {
        sim::DriveParameter* p = table.PutFullRange(number, "F", "FLOAT32", 0);
        p->minimum = FloatBits(-1000.0f);
        p->maximum = FloatBits(1000.0f);
    }
    table.motor_ident.enabled = true;
    return table;
}

TEST(EncoderOffsetDetection, RunsOnFamiliesFiveToSevenAndEndsAsSet) {
    for (float end : {2.0f, 0.0f, 3.0f}) {
        SCOPED_TRACE(end);
        sim::DriveTable table = UnitTable(5012);
        table.motor_ident.encoder_offset_us = 1500000;
        table.motor_ident.encoder_offset_end = end;
        ASSERT_EQ(table.WriteValue(sim::kMotorIdentCommandParameter, FloatBits(4.0f)), 0);
        EXPECT_EQ(StateAt(table, 1499999), 1.0f);
        EXPECT_EQ(StateAt(table, 1500000), end);
        EXPECT_EQ(table.motor_ident.encoder_offset_runs, 1);
        // Not a step of the identification: the current controller stays.
        EXPECT_TRUE(table.motor_ident.step_commands.empty());
        EXPECT_EQ(table.Find(800)->value, 0u);
    }
}

TEST(EncoderOffsetDetection, OnFamilyFourTheValueIsTheIdentificationsFirstStep) {
    sim::DriveTable table = UnitTable(4120);
    table.motor_ident.reset_time_parameter = 802;
    ASSERT_EQ(table.WriteValue(sim::kMotorIdentCommandParameter, FloatBits(4.0f)), 0);
    EXPECT_EQ(table.motor_ident.encoder_offset_runs, 0);
    EXPECT_EQ(table.motor_ident.step_commands, std::vector<double>{4.0});
    EXPECT_EQ(table.Find(800)->value, FloatBits(table.motor_ident.first_step_gain));
}

}  // namespace
