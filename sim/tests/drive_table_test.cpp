#include "sim/drive_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/test_env.h"

namespace {

TEST(DriveTable, StockFixtureLoads) {
    std::string error;
    auto table = sim::DriveTable::Load(sim::StockFixturePath("drive.tbl"), &error);
    ASSERT_TRUE(table.has_value()) << error;
    EXPECT_EQ(table->type_number, 5000u);
    EXPECT_EQ(table->version, 620u);

    const sim::DriveParameter* speed = table->Find(123);
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(speed->name, "SPEED");
    EXPECT_EQ(speed->type->code, '=');
    EXPECT_EQ(speed->minimum, 0xFFFFE890u);  // -6000
    EXPECT_EQ(speed->maximum, 6000u);
    EXPECT_EQ(speed->read_level, 1);
    EXPECT_EQ(speed->write_level, 3);

    const sim::DriveParameter* mode = table->Find(120);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->flags, sim::kFlagValueTexts);
    EXPECT_EQ(mode->value_texts.at(1), "Speed control");

    const sim::DriveParameter* name = table->Find(130);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text, "Axis one");

    const sim::DriveParameter* offsets = table->Find(201);
    ASSERT_NE(offsets, nullptr);
    EXPECT_EQ(offsets->flags, sim::kFlagArray);
    EXPECT_EQ(offsets->elements, (std::vector<uint32_t>{0xFFFFFFFF, 2, 0xFFFFFFFD, 0, 0, 0, 0, 0}));

    EXPECT_TRUE(table->Find(90)->read_only);
    EXPECT_EQ(table->Find(90)->flags, sim::kFlagHex);
}

TEST(DriveTable, DefaultsAndLimitsFollowTheType) {
    std::string error;
    auto table = sim::DriveTable::Parse(
        "param 1 A INT16\nparam 2 B USIGN8\nparam 3 C FLOAT32\nparam 4 D INT32 default=-7\n", "t", &error);
    ASSERT_TRUE(table.has_value()) << error;
    EXPECT_EQ(table->Find(1)->minimum, 0xFFFF8000u);
    EXPECT_EQ(table->Find(1)->maximum, 0x7FFFu);
    EXPECT_EQ(table->Find(2)->maximum, 0xFFu);
    EXPECT_EQ(table->Find(3)->minimum, 0xFF800000u);
    EXPECT_EQ(table->Find(4)->value, 0xFFFFFFF9u);
    // Writes are checked against the type's signedness.
    EXPECT_EQ(table->WriteValue(1, 0xFFFF8000u), 0);
    EXPECT_EQ(table->WriteValue(1, 0x8000u), sim::kStatusInvalidValue);
    EXPECT_EQ(table->WriteValue(2, 0x100u), sim::kStatusInvalidValue);
    EXPECT_EQ(table->WriteValue(3, 0x7FC00000u), sim::kStatusInvalidValue);  // NaN
    EXPECT_EQ(table->WriteValue(3, 0x3F800000u), 0);
}

// A state word that leaves its start-up state: the reads the table names
// still see the starting value, the next one the settled value, and it stays.
TEST(DriveTable, ASettlingValueComesAfterItsReads) {
    struct Case {
        const char* line;
        int startingReads;
    } cases[] = {
        {"param 403 STAT USIGN16 hex settles=0x2000 after=3\n", 3},
        {"param 403 STAT USIGN16 hex settles=0x2000\n", 1},
        {"param 403 STAT USIGN16 hex settles=0x2000 after=0\n", 0},
    };
    for (const Case& c : cases) {
        std::string error;
        auto table = sim::DriveTable::Parse(c.line, "t", &error);
        ASSERT_TRUE(table.has_value()) << error;
        std::vector<uint32_t> seen;
        for (int read = 0; read < c.startingReads + 3; ++read) {
            table->BeforeValueRead(403);
            seen.push_back(table->Find(403)->value);
            table->BeforeValueRead(404);  // another parameter's read moves nothing
        }
        std::vector<uint32_t> expected(static_cast<size_t>(c.startingReads), 0);
        expected.resize(expected.size() + 3, 0x2000);
        EXPECT_EQ(seen, expected) << c.line;
    }

    // A value written before the drive settled stays.
    std::string error;
    auto table = sim::DriveTable::Parse("param 7 LEVEL USIGN8 value=1 settles=5 after=1\n", "t", &error);
    ASSERT_TRUE(table.has_value()) << error;
    EXPECT_EQ(table->WriteValue(7, 9), 0);
    for (int read = 0; read < 3; ++read) table->BeforeValueRead(7);
    EXPECT_EQ(table->Find(7)->value, 9u);
}

// The drive record turns the run-mode change on: the run mode follows its
// selection after the reads it names.
TEST(DriveTable, TheDriveRecordTurnsTheRunModeChangeOn) {
    std::string error;
    auto table = sim::DriveTable::Parse(
        "drive type=4120 runmode=1\nparam 151 MODE USIGN8 value=2\nparam 152 APPL USIGN8 value=2\n", "t", &error);
    ASSERT_TRUE(table.has_value()) << error;
    ASSERT_EQ(table->WriteValue(152, 3), 0);
    std::vector<uint32_t> seen;
    for (int read = 0; read < 3; ++read) {
        table->BeforeValueRead(151);
        seen.push_back(table->Find(151)->value);
    }
    EXPECT_EQ(seen, (std::vector<uint32_t>{2, 3, 3}));
}

TEST(DriveTable, BrokenFixtureNamesTheLine) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"# ok\n\nfoo 1\n", "bad.tbl line 3: unknown record \"foo\""},
        {"param 12 MODE INT33\n", "bad.tbl line 1: unknown type \"INT33\""},
        {"param 12 MODE\n", "bad.tbl line 1: param needs a number, a name and a type"},
        {"param 1000 X INT32\n", "bad.tbl line 1: parameter number 1000 is outside 0..999"},
        {"param 1x X INT32\n", "bad.tbl line 1: \"1x\" is not a number"},
        {"param 5 TOOLONG INT32\n", "bad.tbl line 1: name \"TOOLONG\" is longer than 6 characters"},
        {"param 5 A INT32\nparam 5 B INT32\n", "bad.tbl line 2: parameter 5 is described twice"},
        {"param 5 A USIGN8 value=256\n", "bad.tbl line 1: value is outside the parameter's limits"},
        {"param 5 A INT32 max=10 default=11\n", "bad.tbl line 1: default is outside the parameter's limits"},
        {"param 5 A INT32 read=16\n", "bad.tbl line 1: read level 16 is outside 0..15"},
        {"param 5 A INT32 colour=red\n", "bad.tbl line 1: unknown key \"colour\""},
        {"param 5 A INT32 fast\n", "bad.tbl line 1: unknown word \"fast\""},
        {"param 5 A STRING elements=3\n", "bad.tbl line 1: type STRING cannot be an array"},
        {"param 5 A INT8 elements=2 values=1,2,3\n", "bad.tbl line 1: 3 values for 2 elements"},
        {"param 5 A INT8 elements=2 values=1,200\n", "bad.tbl line 1: element 1 is outside the parameter's limits"},
        {"param 5 A INT8 values=1\n", "bad.tbl line 1: values without elements"},
        {"param 5 A STRING value=\"open\n", "bad.tbl line 1: unterminated quote"},
        {"param 5 A USIGN32 value=0x100000000\n", "bad.tbl line 1: \"0x100000000\" does not fit 32 bits"},
        {"text 7 0 Off\n", "bad.tbl line 1: text for parameter 7, which is not described above"},
        {"param 7 A USIGN8\ntext 7 256 Off\n", "bad.tbl line 2: value index 256 is outside 0..255"},
        {"param 7 A USIGN8\ntext 7 1\n", "bad.tbl line 2: text needs a parameter number, an index and a text"},
        {"drive type=1 speed=2\n", "bad.tbl line 1: unknown key \"speed\""},
        {"param 5 A USIGN16 after=2\n", "bad.tbl line 1: after without settles"},
        {"param 5 A USIGN16 settles=1 after=-1\n", "bad.tbl line 1: after -1 is outside 0..65535"},
        {"param 5 A USIGN8 settles=256\n", "bad.tbl line 1: settles is outside the parameter's limits"},
        {"param 5 A STRING settles=1\n", "bad.tbl line 1: only a single number can settle"},
        {"param 5 A INT16 elements=2 settles=1\n", "bad.tbl line 1: only a single number can settle"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(sim::DriveTable::Parse(c.text, "bad.tbl", &error).has_value()) << c.text;
        EXPECT_EQ(error, c.error);
    }
}

TEST(DriveTable, LoadNamesTheFile) {
    testsupport::WriteFile(testsupport::RuntimePath("TMP/crlf.tbl"), "param 1 A INT32\r\nparam x B INT32\r\n");
    std::string error;
    EXPECT_FALSE(sim::DriveTable::Load(testsupport::RuntimePath("TMP/crlf.tbl").string(), &error));
    EXPECT_EQ(error, "crlf.tbl line 2: \"x\" is not a number");

    std::string missing = testsupport::RuntimePath("TMP/none.tbl").string();
    EXPECT_FALSE(sim::DriveTable::Load(missing, &error));
    EXPECT_EQ(error, missing + ": No such file or directory");
}

}  // namespace

// Hand-mode motion by command texts: motion commands move the drive at once,
// a stop (text or control word) brings it to standstill after its time, and a
// drive that keeps moving ignores stops.
TEST(DriveTable, MotionCommandsMoveTheStateAndStopsBringItToStandstill) {
    auto makeTable = [](bool keepsMoving) {
        sim::DriveTable table;
        table.PutFullRange(751, "CMDTX", "STRING", 0);
        table.PutFullRange(551, "CTRLW", "USIGN16", 0);
        table.PutFullRange(403, "STAT", "USIGN16", 0x2005);
        table.command_motion.enabled = true;
        table.command_motion.stop_after_us = 300000;
        table.command_motion.keeps_moving = keepsMoving;
        return table;
    };
    sim::DriveTable table = makeTable(false);
    for (const char* command : {"GO V+300", "GOA12000V500", "GOR-12V500", "GO 0"}) {
        table.Find(403)->value = 0x2005;
        ASSERT_EQ(table.WriteText(751, command), 0);
        EXPECT_EQ(table.Find(403)->value, 0x3005u) << command;
    }
    ASSERT_EQ(table.WriteText(751, "STOP B"), 0);
    table.ApplyDueValues(299999);
    EXPECT_EQ(table.Find(403)->value, 0x3005u);
    table.ApplyDueValues(300000);
    EXPECT_EQ(table.Find(403)->value, 0x2005u);
    // Other texts leave the state alone; a write of 551 := 0 stops as well.
    ASSERT_EQ(table.WriteText(751, "%+R"), 0);
    EXPECT_EQ(table.Find(403)->value, 0x2005u);
    ASSERT_EQ(table.WriteText(751, "GO V-300"), 0);
    ASSERT_EQ(table.WriteValue(551, 0), 0);
    table.ApplyDueValues(600000);
    EXPECT_EQ(table.Find(403)->value, 0x2005u);

    sim::DriveTable moving = makeTable(true);
    ASSERT_EQ(moving.WriteText(751, "GO V+300"), 0);
    ASSERT_EQ(moving.WriteText(751, "STOP B"), 0);
    ASSERT_EQ(moving.WriteValue(551, 0), 0);
    moving.ApplyDueValues(10000000);
    EXPECT_EQ(moving.Find(403)->value, 0x3005u);
}
