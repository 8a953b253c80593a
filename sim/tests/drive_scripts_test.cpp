// Scripted reads, command parameters, the family-3 identification and the
// family fixture drives.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sim/drive_table.h"

namespace {

using sim::ReadStep;

uint32_t FloatBits(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

// What `count` reads of `number` answer, each at `at_us` on the drive clock.
std::vector<uint32_t> Reads(sim::DriveTable& table, int number, int count, uint64_t at_us) {
    std::vector<uint32_t> values;
    for (int i = 0; i < count; ++i) {
        table.ApplyDueValues(at_us);
        table.BeforeValueRead(number);
        values.push_back(table.Find(number)->value);
    }
    return values;
}

sim::DriveTable StateTable() {
    sim::DriveTable table;
    table.PutFullRange(403, "STATE", "USIGN16", 0x1000);
    sim::DriveParameter* command = table.PutFullRange(163, "IDENT", "FLOAT32", 0);
    command->minimum = FloatBits(0.0f);
    command->maximum = FloatBits(1.0f);
    table.PutFullRange(167, "IDPRG", "USIGN8", 0);
    table.PutFullRange(4, "CMD", "USIGN16", 0);
    return table;
}

TEST(ReadScript, StepsByReadsAndByTimeThenTheLastValueStays) {
    sim::DriveTable table = StateTable();
    table.ScriptReads(403,
                      {ReadStep::ForReads(0x1000, 2), ReadStep::Until(0x7000, 5000), ReadStep::ForReads(0x3000, 1)});
    EXPECT_EQ(Reads(table, 403, 2, 0), (std::vector<uint32_t>{0x1000, 0x1000}));
    EXPECT_EQ(Reads(table, 403, 3, 4999), (std::vector<uint32_t>{0x7000, 0x7000, 0x7000}));
    // The time has passed: the next step's one read, then its value for good.
    EXPECT_EQ(Reads(table, 403, 3, 5000), (std::vector<uint32_t>{0x3000, 0x3000, 0x3000}));
    // A read of another parameter does not move the script.
    table.ScriptReads(403, {ReadStep::ForReads(1, 1), ReadStep::Forever(2)});
    Reads(table, 167, 3, 6000);
    EXPECT_EQ(Reads(table, 403, 3, 6000), (std::vector<uint32_t>{1, 2, 2}));
}

TEST(ReadScript, AStepWhoseTimeIsOverIsPassedWithoutARead) {
    sim::DriveTable table = StateTable();
    table.ScriptReads(403, {ReadStep::Until(0x2000, 1000), ReadStep::Until(0x5000, 2000), ReadStep::Forever(0xB000)});
    EXPECT_EQ(Reads(table, 403, 1, 2500), (std::vector<uint32_t>{0xB000}));
    // A write ends the script.
    table.ScriptReads(403, {ReadStep::Forever(0x2000)});
    EXPECT_EQ(table.WriteValue(403, 0x5000), 0);
    EXPECT_EQ(Reads(table, 403, 1, 3000), (std::vector<uint32_t>{0x5000}));
}

TEST(CommandScript, WrittenValueStartsItsReadsOrItsReturnToZero) {
    sim::DriveTable table = StateTable();
    table.ScriptCommand(4, 7, {ReadStep::ForReads(7, 2), ReadStep::Until(9, 1000), ReadStep::Forever(0)});
    table.ScriptCommandReturn(4, 3, 500);
    table.ApplyDueValues(10000);
    ASSERT_EQ(table.WriteValue(4, 5), 0);  // no script for 5
    EXPECT_EQ(Reads(table, 4, 2, 10000), (std::vector<uint32_t>{5, 5}));
    ASSERT_EQ(table.WriteValue(4, 7), 0);
    // Times count from the write at 10000.
    EXPECT_EQ(Reads(table, 4, 3, 10500), (std::vector<uint32_t>{7, 7, 9}));
    EXPECT_EQ(Reads(table, 4, 2, 11000), (std::vector<uint32_t>{0, 0}));

    ASSERT_EQ(table.WriteValue(4, 3), 0);
    EXPECT_EQ(Reads(table, 4, 1, 11499), (std::vector<uint32_t>{3}));
    EXPECT_EQ(Reads(table, 4, 1, 11500), (std::vector<uint32_t>{0}));
}

TEST(Identification, ClimbsOnTheClockAndEndsWith163AtZero) {
    sim::DriveTable table = StateTable();
    table.identification.enabled = true;
    table.identification.duration_us = 10'000'000;
    table.ApplyDueValues(1'000'000);
    ASSERT_EQ(table.WriteValue(163, FloatBits(1.0f)), 0);
    EXPECT_EQ(table.identification.starts, 1);
    EXPECT_EQ(Reads(table, 167, 1, 1'000'000), (std::vector<uint32_t>{0}));
    EXPECT_EQ(Reads(table, 167, 1, 5'000'000), (std::vector<uint32_t>{40}));
    EXPECT_EQ(Reads(table, 163, 1, 5'000'000), (std::vector<uint32_t>{FloatBits(1.0f)}));
    EXPECT_EQ(Reads(table, 167, 1, 11'000'000), (std::vector<uint32_t>{100}));
    EXPECT_EQ(Reads(table, 163, 1, 11'000'000), (std::vector<uint32_t>{0}));
    EXPECT_EQ(Reads(table, 167, 1, 20'000'000), (std::vector<uint32_t>{100}));
}

TEST(Identification, EndsEarlyOrIsStoppedWhereItIs) {
    sim::DriveTable table = StateTable();
    table.identification.enabled = true;
    table.identification.ends_at = 60;
    table.ApplyDueValues(0);
    ASSERT_EQ(table.WriteValue(163, FloatBits(1.0f)), 0);
    EXPECT_EQ(Reads(table, 167, 1, 9'000'000), (std::vector<uint32_t>{60}));
    EXPECT_EQ(Reads(table, 163, 1, 9'000'000), (std::vector<uint32_t>{0}));

    table.identification.ends_at = 100;
    ASSERT_EQ(table.WriteValue(163, FloatBits(1.0f)), 0);  // at 9 s
    EXPECT_EQ(Reads(table, 167, 1, 11'000'000), (std::vector<uint32_t>{20}));
    table.ApplyDueValues(12'000'000);
    ASSERT_EQ(table.WriteValue(163, 0), 0);
    EXPECT_EQ(Reads(table, 167, 1, 19'000'000), (std::vector<uint32_t>{30}));
    EXPECT_EQ(Reads(table, 163, 1, 19'000'000), (std::vector<uint32_t>{0}));
    EXPECT_EQ(table.identification.starts, 2);
}

TEST(Identification, OffLeaves163AndProgressAlone) {
    sim::DriveTable table = StateTable();
    ASSERT_EQ(table.WriteValue(163, FloatBits(1.0f)), 0);
    EXPECT_EQ(Reads(table, 167, 1, 50'000'000), (std::vector<uint32_t>{0}));
    EXPECT_EQ(Reads(table, 163, 1, 50'000'000), (std::vector<uint32_t>{FloatBits(1.0f)}));
}

TEST(StopCommand, EndsAStateFiveOrSevenAfterItsTime) {
    struct Case {
        const char* name;
        bool highNibble;
        uint32_t state;    // 403 before the write
        uint32_t written;  // to 15
        uint32_t before;   // 403 just before the time is up
        uint32_t after;    // and from then on
    } cases[] = {
        {"5, family 4", true, 0x5012, FloatBits(1.0f), 0x5012, 0x2012},
        {"7, family 4", true, 0x7000, FloatBits(1.0f), 0x7000, 0x2000},
        {"7, family 5", false, 0x30007, FloatBits(1.0f), 0x30007, 0x30002},
        {"3 stays", true, 0x3000, FloatBits(1.0f), 0x3000, 0x3000},
        {"0.0 written", true, 0x5000, 0, 0x5000, 0x5000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::DriveTable table = StateTable();
        sim::DriveParameter* command = table.PutFullRange(15, "CMD15", "FLOAT32", 0);
        command->minimum = FloatBits(0.0f);
        command->maximum = FloatBits(10.0f);
        table.PutFullRange(403, "STATE", "USIGN32", c.state);
        table.control_word.high_nibble = c.highNibble;
        table.stop.enabled = true;
        table.stop.after_us = 2'000'000;
        table.ApplyDueValues(1'000'000);
        ASSERT_EQ(table.WriteValue(15, c.written), 0);
        EXPECT_EQ(Reads(table, 403, 1, 2'999'999), (std::vector<uint32_t>{c.before}));
        EXPECT_EQ(Reads(table, 403, 1, 3'000'000), (std::vector<uint32_t>{c.after}));
        EXPECT_EQ(table.stop.stops, c.after != c.before ? 1 : 0);
    }
    // Off, the write is only a write.
    sim::DriveTable table = StateTable();
    table.PutFullRange(15, "CMD15", "USIGN8", 0);
    table.Find(403)->value = 0x5000;
    ASSERT_EQ(table.WriteValue(15, 1), 0);
    EXPECT_EQ(Reads(table, 403, 1, 50'000'000), (std::vector<uint32_t>{0x5000}));
}

TEST(FamilyFixtures, LoadWithWhatTheSetupWindowsRead) {
    struct Case {
        const char* file;
        uint32_t type;
        std::vector<int> parameters;
    };
    const Case cases[] = {
        {"marlo_drive.tbl", 3012, {90, 91, 92, 151, 152, 163, 167, 300, 403, 844, 960, 961, 971, 977}},
        {"ruvex_drive.tbl", 4012, {90,  91,  92,  151, 152, 403, 46,  700, 701, 711, 712, 763, 764, 766,
                                   767, 768, 817, 819, 823, 824, 825, 826, 827, 828, 829, 855, 858}},
        {"pesco_drive.tbl", 5123, {90,  91,  92,  151, 152, 272, 274, 308, 403, 761, 765, 773,
                                   774, 775, 780, 781, 782, 783, 784, 785, 786, 787, 788, 789,
                                   790, 791, 792, 793, 794, 796, 432, 476, 482, 803, 852}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string error;
        auto table = sim::DriveTable::Load(sim::StockFixturePath(c.file), &error);
        ASSERT_TRUE(table.has_value()) << error;
        EXPECT_EQ(table->type_number, c.type);
        EXPECT_EQ(table->Find(91)->value, c.type);
        for (int number : c.parameters) EXPECT_NE(table->Find(number), nullptr) << number;
        EXPECT_EQ(table->Find(151)->value_texts, table->Find(152)->value_texts);
    }
    std::string error;
    auto marlo = sim::DriveTable::Load(sim::StockFixturePath("marlo_drive.tbl"), &error);
    EXPECT_EQ(marlo->Find(300)->value_texts, (std::map<int, std::string>{{0, "VFC"}, {1, "FOR"}, {2, "SFC"}}));
    EXPECT_EQ(marlo->Find(92)->value, FloatBits(205.5f));
    auto ruvex = sim::DriveTable::Load(sim::StockFixturePath("ruvex_drive.tbl"), &error);
    auto motor = sim::DriveTable::Load(sim::StockFixturePath("ruvex_motor_drive.tbl"), &error);
    ASSERT_TRUE(motor.has_value()) << error;
    EXPECT_EQ(motor->type_number, 4012u);
    for (int number : {15,  42,  43,  120, 150, 153, 158, 163, 260, 280, 281, 284, 289,
                       290, 403, 431, 432, 450, 451, 832, 886, 889, 918, 919, 921}) {
        EXPECT_NE(motor->Find(number), nullptr) << number;
    }
    EXPECT_EQ(motor->Find(42)->elements.size(), 3u);
    EXPECT_EQ(motor->Find(43)->elements.size(), 3u);
    EXPECT_EQ(motor->Find(120)->value_texts.at(4), "ECOID");
    EXPECT_EQ(motor->Find(120)->value_texts.at(5), "ECOFF");
    EXPECT_EQ(motor->Find(889)->value, 0x1Du);
    EXPECT_EQ(ruvex->Find(152)->minimum, 1u);
    auto pesco = sim::DriveTable::Load(sim::StockFixturePath("pesco_drive.tbl"), &error);
    EXPECT_EQ(pesco->Find(773)->value_texts, (std::map<int, std::string>{{0, "OFF"}, {1, "ON"}}));
    EXPECT_EQ(pesco->Find(761)->elements, (std::vector<uint32_t>{0xFFFFFFFFu, 0, 1, 2}));
    // The units and the scaling: pairs, texts and value texts.
    EXPECT_EQ(pesco->Find(789)->elements, (std::vector<uint32_t>{10, 1}));
    EXPECT_EQ(pesco->Find(790)->elements, (std::vector<uint32_t>{2048, 5}));
    EXPECT_EQ(pesco->Find(793)->text, "mm/s");
    EXPECT_EQ(ruvex->Find(46)->value, 0xA4000u);
    EXPECT_EQ(ruvex->Find(819)->value_texts.at(3), "Rotary");
    EXPECT_EQ(ruvex->Find(824)->value_texts.at(6), "rpm");
}

}  // namespace
