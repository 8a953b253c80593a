// The V1.10 program table: renumbering, recognition and listing, the ADD/XOR
// checksum, the binary programme file and the text declaration file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/format.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/v110/line_table8.h"
#include "plceditor/v110/tests/table8_helpers.h"
#include "testsupport/test_env.h"

namespace plc {
namespace {

using test::Code8;
using test::EnterLines;
using test::MakeEntry;

constexpr int kOk = msg::kNoError;

std::string Golden(const std::string& name) {
    return testsupport::ReadFile(std::filesystem::path(PLCV110_GOLDEN_DIR) / name);
}

// '%P00' / 'N10 NOP' / 'END'.
void CompileOneNop(LineTable8& table) {
    ASSERT_EQ(EnterLines(table, {"%P00", "N10 NOP", "END"}), std::vector<int>(3, kOk));
}

std::string ChecksumLine(const LineTable8& table) {
    uint16_t xorSum = 1;
    uint16_t addSum = 1;
    double percent = -1;
    int count = -1;
    table.programAddXor(xorSum, addSum, percent, count);
    return AddXorText(addSum, xorSum, percent, count, table.maxLines());
}

// Lines N001 CALL N<last>, N002 .. N<last-1> NOP, N<last> JMP (H1 = H2) END.
std::vector<std::string> ProgramOfLines(int count) {
    std::vector<std::string> lines = {"%P00", platform::Format("N001 CALL N%03d", count)};
    for (int label = 2; label < count; ++label) lines.push_back(platform::Format("N%03d NOP", label));
    lines.push_back(platform::Format("N%03d JMP (H1 = H2) END", count));
    lines.push_back("END");
    return lines;
}

TEST(LineTable8, RenumberingSpreadsTheLinesWithTheLargestStepThatFits) {
    struct Case {
        int lines;
        int step;
    } cases[] = {{25, 10}, {26, 5}, {30, 5}, {50, 5}, {51, 2}, {127, 2}, {128, 1}, {254, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        LineTable8 table;
        const std::vector<std::string> source = ProgramOfLines(c.lines);
        ASSERT_EQ(EnterLines(table, source), std::vector<int>(source.size(), kOk));
        const LineTable8 before = table;

        int status = 0;
        ASSERT_TRUE(table.renumberLines(status));
        EXPECT_EQ(status, kOk);
        for (int old = 1; old <= c.lines; ++old) {
            const LineEntry8& moved = table.Entry(old * c.step);
            EXPECT_TRUE(moved.Used()) << old;
            EXPECT_EQ(moved.SourceLine(), before.Entry(old).SourceLine()) << old;
            EXPECT_EQ(moved.Next(), before.Entry(old).Next()) << old;
            EXPECT_EQ(moved.Opcode(), before.Entry(old).Opcode()) << old;
        }
        int used = 0;
        for (int i = 0; i < LineTable8::kEntries; ++i) used += table.Entry(i).Used() ? 1 : 0;
        EXPECT_EQ(used, c.lines);
        // The call follows its label; a jump to END stays END; RET-like
        // lines keep their target 0.
        EXPECT_EQ(table.Entry(c.step).Target(), c.lines * c.step);
        EXPECT_EQ(table.Entry(c.lines * c.step).Target(), 255);
        if (c.lines > 2) {
            EXPECT_EQ(table.Entry(2 * c.step).Target(), 0);
        }
        EXPECT_EQ(table.Entry(0), LineEntry8{});
        EXPECT_EQ(table.Entry(255), LineEntry8{});
    }
}

TEST(LineTable8, RenumberingAnEmptyTableLeavesItEmpty) {
    LineTable8 table;
    ASSERT_EQ(EnterLines(table, {"%P00", "END"}), std::vector<int>(2, kOk));
    int status = 0;
    EXPECT_TRUE(table.renumberLines(status));
    EXPECT_EQ(status, kOk);
    for (int i = 0; i < LineTable8::kEntries; ++i) EXPECT_EQ(table.Entry(i), LineEntry8{}) << i;
}

TEST(LineTable8, ListingAfterRenumberingGivesTheNewLinesWithTheirSourceLines) {
    LineTable8 table;
    ASSERT_EQ(EnterLines(table, {"%P00", "N3 SET H1 = 5", "N7 JMP (H1 != 0) N3", "N9 JMP (STA_ERR = 1) END", "END"}),
              std::vector<int>(5, kOk));
    std::string head;
    EXPECT_TRUE(table.programHeadText(head));
    EXPECT_EQ(head, "%P00");
    int status = 0;
    ASSERT_TRUE(table.renumberLines(status));
    EXPECT_FALSE(table.programHeadText(head));
    EXPECT_EQ(head, "");

    struct Listed {
        std::string text;
        int line;
    };
    const std::vector<Listed> expected = {
        {"N010 SET H001 = 5", 1}, {"N020 JMP (H001 != 0) N010", 2}, {"N030 JMP (STA_ERR = 1) END", 3}};
    for (int pass = 0; pass < 2; ++pass) {  // the listing starts over at its end
        std::vector<Listed> listed;
        std::string text;
        int line = -1;
        while (table.nextListingLine(text, line, status)) {
            EXPECT_EQ(status, kOk);
            listed.push_back({text, line});
        }
        ASSERT_EQ(listed.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(listed[i].text, expected[i].text);
            EXPECT_EQ(listed[i].line, expected[i].line);
        }
    }
}

TEST(LineTable8, RecognitionNeedsAStartJumpToAUsedEntry) {
    struct Case {
        const char* name;
        Code8 start;
        bool targetUsed;
        bool recognised;
    } cases[] = {
        {"start jump to a used line", {1, 0, 10, 0, 10, 0, 0, 0}, true, true},
        {"start jump to an unused line", {1, 0, 10, 0, 10, 0, 0, 0}, false, false},
        {"another opcode", {2, 0, 10, 0, 10, 0, 0, 0}, true, false},
        {"target beyond the table", {1, 0, 0, 0, 0x0A, 0x01, 0, 0}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineTable8 table;
        table.Entry(0) = MakeEntry(c.start);
        if (c.targetUsed) table.Entry(10) = MakeEntry({37, 0, 0, 0, 0, 0, 0, 0});
        EXPECT_EQ(table.isLineTable8Program(), c.recognised);
        std::string head = "stale";
        EXPECT_EQ(table.programHeadText(head), c.recognised);
        EXPECT_EQ(head, c.recognised ? "%P00" : "");
    }
}

TEST(LineTable8, AddXorCoversEveryEntryAndCountsTheLinesWithoutStartAndEnd) {
    LineTable8 table;
    EXPECT_EQ(ChecksumLine(table), "0x0000 ADD, 0x0000 XOR - 0.0% (0/254)");

    // Entry 0: 0x0001 0x000A 0x000A 0; entry 10: 0x0025 0x00FF 0 0;
    // entry 255: 0x0002 0x00FF 0x00FF 0.
    CompileOneNop(table);
    EXPECT_EQ(ChecksumLine(table), "0x0339 ADD, 0x00D9 XOR - 0.4% (1/254)");

    // A lone used entry is counted as it is; the sum wraps at 16 bits.
    LineTable8 lone;
    lone.Entry(7) = MakeEntry({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    lone.Entry(8).Code() = {0, 0, 0x34, 0x12, 0, 0, 0, 0};  // unused entries count too
    EXPECT_EQ(ChecksumLine(lone), "0x1230 ADD, 0x1234 XOR - 0.4% (1/254)");
}

TEST(LineTable8, BinaryFileMatchesTheGoldenFileAndReadsBack) {
    LineTable8 table;
    CompileOneNop(table);
    std::string path = "..\\TMP\\PlcOut.txt";
    ASSERT_TRUE(table.writeBinaryFile(path));
    EXPECT_EQ(std::filesystem::path(path),
              std::filesystem::absolute(testsupport::RuntimePath("TMP/PlcOut.txt")).lexically_normal());
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("TMP/PlcOut.txt")), Golden("one_nop_v110.txt"));

    LineTable8 read;
    ASSERT_TRUE(read.readBinaryFile("..\\TMP\\PlcOut.txt"));
    for (int i = 0; i < LineTable8::kEntries; ++i) {
        EXPECT_EQ(read.Entry(i).Code(), table.Entry(i).Code()) << i;
        EXPECT_EQ(read.Entry(i).Used(), i == 0 || i == 10 || i == 255) << i;
    }
    EXPECT_TRUE(read.isLineTable8Program());
    EXPECT_EQ(ChecksumLine(read), ChecksumLine(table));
    std::string text;
    int line = 0;
    int status = 0;
    ASSERT_TRUE(read.nextListingLine(text, line, status));
    EXPECT_EQ(text, "N010 NOP");
    EXPECT_FALSE(read.nextListingLine(text, line, status));
}

TEST(LineTable8, ReadingTakesLfAndShortFilesAndStopsAtText) {
    // Entry 0 and entry 1 from the file; the file ends before entry 2.
    testsupport::WriteFile(testsupport::RuntimePath("TMP/short.txt"), "00010001\n00000001\n00000025\n00000000\n000000");
    LineTable8 table;
    table.Entry(2) = MakeEntry({35, 0, 0, 0, 0, 0, 0, 0});
    table.Entry(3).Code() = {37, 0, 0, 0, 0, 0, 0, 0};  // an opcode without the used flag
    ASSERT_TRUE(table.readBinaryFile("..\\TMP\\short.txt"));
    EXPECT_EQ(table.Entry(0).Code(), (Code8{1, 0, 1, 0, 1, 0, 0, 0}));
    EXPECT_EQ(table.Entry(1).Code(), (Code8{0x25, 0, 0, 0, 0, 0, 0, 0}));
    // Entry 2 starts with a word of the file ("000000"), entry 3 stays.
    EXPECT_EQ(table.Entry(2).Code(), (Code8{0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(table.Entry(2).Used());
    EXPECT_EQ(table.Entry(3).Opcode(), 37);
    EXPECT_TRUE(table.Entry(3).Used());

    testsupport::WriteFile(testsupport::RuntimePath("TMP/text.txt"), "00000025\r\nxyz\r\n00000001\r\n");
    LineTable8 stopped;
    ASSERT_TRUE(stopped.readBinaryFile("..\\TMP\\text.txt"));
    EXPECT_EQ(stopped.Entry(0).Opcode(), 0x25);
    EXPECT_EQ(stopped.Entry(0).CodeWord(1), 0u);

    EXPECT_FALSE(stopped.readBinaryFile(""));
    EXPECT_FALSE(stopped.readBinaryFile("..\\TMP\\missing.txt"));
    std::string empty;
    EXPECT_FALSE(stopped.writeBinaryFile(empty));
}

TEST(LineTable8, ListingOfAReadFileSkipsEmptyEntriesAndReportsBadRecords) {
    LineTable8 table;
    table.Entry(0) = MakeEntry({1, 0, 4, 0, 4, 0, 0, 0});
    table.Entry(4) = MakeEntry({37, 0, 0, 0, 0, 0, 0, 0}, operand_kind::kTarget, 3);
    table.Entry(9) = MakeEntry({200, 0, 0, 0, 0, 0, 0, 0}, operand_kind::kOther, 5);
    table.Entry(255) = MakeEntry({2, 0, 255, 0, 255, 0, 0, 0});
    std::string text;
    int line = 0;
    int status = 0;
    ASSERT_TRUE(table.nextListingLine(text, line, status));
    EXPECT_EQ(text, "N004 NOP");
    EXPECT_EQ(line, 3);
    EXPECT_EQ(status, kOk);
    ASSERT_TRUE(table.nextListingLine(text, line, status));
    EXPECT_EQ(text, "; ERROR: UNKOWN OPCODE.");
    EXPECT_EQ(line, 5);
    EXPECT_EQ(status, msg::kTextCodingError);
    EXPECT_FALSE(table.nextListingLine(text, line, status));
}

TEST(LineTable8, TextDeclarationFileIsNamedAfterTheProgram) {
    LineTable8 table;
    ASSERT_EQ(EnterLines(table, {"%TEXT(Motor_1)", "DEF H127 = Speed_Max", "DEF F5 = Speed", "END"}),
              std::vector<int>(4, kOk));
    EXPECT_TRUE(table.hasNamedProgram());
    std::string directory = "..\\TMP";
    ASSERT_TRUE(table.writeTextDeclarationFile(directory));
    EXPECT_EQ(std::filesystem::path(directory),
              std::filesystem::absolute(testsupport::RuntimePath("TMP/Motor_1.txt")).lexically_normal());
    EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("TMP/Motor_1.txt")),
              "[PLC_F]\r\n5: Speed\r\n[PLC_H]\r\n127: Speed_Max\r\n");

    std::string noDirectory;
    EXPECT_FALSE(table.writeTextDeclarationFile(noDirectory));
}

TEST(LineTable8, AProgramWithoutNameWritesNoTextDeclarationFile) {
    LineTable8 table;
    CompileOneNop(table);
    EXPECT_FALSE(table.hasNamedProgram());
    EXPECT_EQ(table.programName(), "");
    std::string directory = "..\\TMP";
    EXPECT_FALSE(table.writeTextDeclarationFile(directory));
    EXPECT_EQ(directory, "..\\TMP");
    EXPECT_TRUE(std::filesystem::is_empty(testsupport::RuntimePath("TMP")));
}

}  // namespace
}  // namespace plc
