// The code store: memory size, appending records, reset and the END checks.
#include <gtest/gtest.h>

#include <array>

#include "plceditor/core/plc_compiler.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"
#include "plceditor/core/tests/store_builder.h"

namespace plc {
namespace {

using Bytes = std::array<uint8_t, CodeRecord::kSize>;

TEST(CodeStore, MemorySizeGivesRecordCapacity) {
    struct Case {
        int words;
        int memory;
        int capacity;
    } cases[] = {{747, 747, 498}, {4096, 4096, 2730}, {5000, 4096, 2730}, {3, 3, 2}, {1, 1, 0}, {0, 0, 0}, {-5, 0, 0}};
    for (const Case& c : cases) {
        PlcCompiler store;
        store.setMemorySize(c.words);
        EXPECT_EQ(store.memorySize(), c.memory) << c.words;
        EXPECT_EQ(store.recordCapacity(), c.capacity) << c.words;
    }
}

TEST(CodeStore, NoCapacityRefusesTheFirstRecord) {
    for (int words : {0, -1, 1}) {
        PlcCompiler store;
        store.setMemorySize(words);
        store.resetStore();
        EXPECT_EQ(store.appendPlain(10, op::kNop, 0, 0, 0, 0, 3), msg::kOutOfMemory) << words;
        EXPECT_EQ(store.appendHead(op::kProgramHead, 0, 0), msg::kOutOfMemory) << words;
        EXPECT_EQ(store.UsedRecords(), 0);
        EXPECT_EQ(store.SourceRecords()[0], CodeRecord{});
    }
}

TEST(CodeStore, FullStoreOverwritesNothing) {
    PlcCompiler store;
    store.setMemorySize(3);  // two records
    store.resetStore();
    ASSERT_EQ(store.appendPlain(10, op::kNop, 0, 0, 0, 0, 1), msg::kNoError);
    ASSERT_EQ(store.appendPlain(20, op::kNop, 0, 0, 0, 0, 2), msg::kNoError);
    const CodeRecord last = store.SourceRecords()[1];
    EXPECT_EQ(store.appendJump(30, op::kJump, 0, 0, 0, 10, false, 3), msg::kOutOfMemory);
    EXPECT_EQ(store.appendConstant(30, op::kSetIntegerConstant, 1, 7, 3), msg::kOutOfMemory);
    EXPECT_EQ(store.UsedRecords(), 2);
    EXPECT_EQ(store.SourceRecords()[1], last);
    EXPECT_EQ(store.SourceRecords()[2], CodeRecord{});
}

// The byte layout of each append form: opcode, a, label, b, c, bytes 6-7,
// source line, form, END flag.
TEST(CodeStore, AppendFormsWriteTheirFields) {
    PlcCompiler store;
    store.setMemorySize(747);
    store.resetStore();
    ASSERT_EQ(store.appendHead(op::kProgramHead, 3, 0x01020304), msg::kNoError);
    EXPECT_EQ(store.FirstStatement(), 1);
    EXPECT_EQ(store.LastEnd(), 0);
    ASSERT_EQ(store.appendJump(0x1234, op::kJump, 1, 2, 3, 0x00A0, true, 5), msg::kNoError);
    ASSERT_EQ(store.appendWordOperand(20, op::kSetFloatParaLast, 4, 0, 0, 999, 6), msg::kNoError);
    ASSERT_EQ(store.appendByteOperands(30, op::kSetFloatFunction, 1, 2, 3, 4, 5, 7), msg::kNoError);
    ASSERT_EQ(store.appendConstant(40, op::kSetIntegerConstant, 2, 0xFFFFFFF9, -1), msg::kNoError);
    ASSERT_EQ(store.appendConstant4(50, op::kWaitConstant, 0, 0x12345678, 9), msg::kNoError);
    ASSERT_EQ(store.appendPlain(60, op::kNop, 0, 0, 0, 0, 10), msg::kNoError);
    EXPECT_EQ(store.LastEnd(), 6);
    EXPECT_EQ(store.UsedRecords(), 7);

    const Bytes expected[] = {
        {174, 3, 0, 0, 0, 0, 0, 0, 4, 3, 2, 1, 0, 0, 5, 0, 0, 0, 0, 0},
        {1, 1, 0x34, 0x12, 2, 3, 0xA0, 0, 5, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0},
        {48, 4, 20, 0, 0, 0, 0xE7, 0x03, 6, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0},
        {60, 1, 30, 0, 2, 3, 4, 5, 7, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0},
        {92, 2, 40, 0, 0xF9, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 3, 0, 0, 0, 0, 0},
        {127, 0, 50, 0, 0x78, 0x56, 0x34, 0x12, 9, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0},
        {37, 0, 60, 0, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0, 0},
    };
    for (int i = 0; i < 7; ++i) EXPECT_EQ(store.SourceRecords()[i].Bytes(), expected[i]) << "record " << i;
}

TEST(CodeStore, ResetClearsTranslationButKeepsCodeMemoryAndNumbering) {
    PlcCompiler store;
    store.setMemorySize(747);
    store.resetStore();
    store.setStrictProgramNumbers(false);
    test::StoreBuilder build(store);
    store.MarkTextBlockSeen();
    store.SetTextName("Axis");
    store.Names().SetName('F', 5, "Speed");
    build.Head(7);
    build.Nop(10);
    ASSERT_EQ(build.End(), msg::kNoError);
    int line = 0;
    ASSERT_EQ(store.linkProgram(line), msg::kNoError);
    EXPECT_TRUE(store.hasNamedProgram());
    const CodeRecord head = store.CodeArray()[0];

    store.SetTranslationState(translation::kInProgram);
    store.resetStore();
    EXPECT_FALSE(store.hasNamedProgram());
    EXPECT_EQ(store.textName(), "");
    EXPECT_EQ(store.TranslationState(), translation::kOutside);
    EXPECT_EQ(store.ProgramPosition(), -1);
    EXPECT_EQ(store.UsedRecords(), 0);
    EXPECT_EQ(store.SourceRecords()[0], CodeRecord{});
    EXPECT_TRUE(store.Names().Empty());
    EXPECT_EQ(store.ProgramNumber(0), kNoProgramNumber);
    EXPECT_EQ(store.CodeArray()[0], head);
    EXPECT_TRUE(store.hasProgramHead());
    EXPECT_EQ(store.memorySize(), 747);
    EXPECT_FALSE(store.StrictProgramNumbers());
}

// Positions 0..127 each hold a declared number; the reset clears all of them
// and nothing is written for a position beyond.
TEST(CodeStore, ProgramNumbersCoverAllPositions) {
    PlcCompiler store;
    store.resetStore();
    EXPECT_TRUE(store.SetProgramNumber(127, 5));
    EXPECT_EQ(store.ProgramNumber(127), 5);
    EXPECT_EQ(store.FindProgramPosition(5), 127);
    EXPECT_FALSE(store.SetProgramNumber(128, 0));
    EXPECT_FALSE(store.SetProgramNumber(-1, 0));
    EXPECT_FALSE(store.SetProgramNumber(0, 128));
    EXPECT_EQ(store.ProgramNumber(128), kNoProgramNumber);
    EXPECT_EQ(store.ProgramNumber(0), kNoProgramNumber);
    store.resetStore();
    EXPECT_EQ(store.ProgramNumber(127), kNoProgramNumber);
    EXPECT_EQ(store.FindProgramPosition(5), -1);
}

TEST(CodeStore, HeadBeyondPosition127IsRefused) {
    PlcCompiler store;
    store.setMemorySize(4096);
    store.resetStore();
    test::StoreBuilder build(store);
    for (int p = 0; p < kMaxPrograms; ++p) {
        ASSERT_EQ(build.Head(p), msg::kNoError);
        ASSERT_EQ(build.End(), msg::kNoError);
    }
    const int used = store.UsedRecords();
    EXPECT_EQ(store.appendHead(op::kProgramHead, 128, 999), msg::kProgramNumberError);
    EXPECT_EQ(store.UsedRecords(), used);
    EXPECT_EQ(store.SourceRecords()[used], CodeRecord{});
    int line = 0;
    EXPECT_EQ(store.linkProgram(line), msg::kNoError);
    EXPECT_EQ(store.CodeArray()[127].OperandA(), 127);
    EXPECT_EQ(store.CodeArray()[127].Target(), 128 + 127);
}

// One program per case; the fault and the line of the record at fault.
TEST(CodeStore, EndChecksReportTheOffendingLine) {
    struct Line {
        enum Kind { kNop, kJump, kJumpEnd } kind;
        uint16_t label;
        uint16_t target;
    };
    struct Case {
        const char* name;
        std::vector<Line> lines;  // source lines 1.. (the head is line 0)
        int result;
        int line;
    } cases[] = {
        {"jump to a missing label", {{Line::kJump, 10, 40}, {Line::kNop, 20, 0}}, msg::kJumpTargetMissing, 1},
        {"jump forward and to END",
         {{Line::kJump, 10, 30}, {Line::kJumpEnd, 20, 0}, {Line::kNop, 30, 0}},
         msg::kNoError,
         4},
        {"labels falling", {{Line::kNop, 10, 0}, {Line::kNop, 30, 0}, {Line::kNop, 20, 0}}, msg::kLabelsNotRising, 3},
        {"label 1 after 65535", {{Line::kNop, 65535, 0}, {Line::kNop, 1, 0}}, msg::kLabelsNotRising, 2},
        {"label used twice",
         {{Line::kNop, 10, 0}, {Line::kNop, 20, 0}, {Line::kNop, 10, 0}},
         msg::kLabelAlreadyUsed,
         3},
        {"jump to END label 0", {{Line::kJump, 10, 0}}, msg::kJumpTargetMissing, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlcCompiler store;
        store.setMemorySize(747);
        store.resetStore();
        test::StoreBuilder build(store);
        build.Head(0);
        for (const Line& l : c.lines) {
            if (l.kind == Line::kNop) build.Nop(l.label);
            if (l.kind == Line::kJump) build.Jump(l.label, l.target);
            if (l.kind == Line::kJumpEnd) build.JumpEnd(l.label);
        }
        int line = -1;
        EXPECT_EQ(build.End(&line), c.result);
        EXPECT_EQ(line, c.line);
    }
}

// A jump into another program is not a jump within its own program.
TEST(CodeStore, EndChecksStayWithinTheProgram) {
    PlcCompiler store;
    store.setMemorySize(747);
    store.resetStore();
    test::StoreBuilder build(store);
    build.Head(0);
    build.Nop(50);
    ASSERT_EQ(build.End(), msg::kNoError);
    build.Head(1);
    build.Jump(10, 50);
    int line = -1;
    EXPECT_EQ(build.End(&line), msg::kJumpTargetMissing);
    EXPECT_EQ(line, 4);
    // The head still learnt where its program lies.
    EXPECT_EQ(store.SourceRecords()[3].Target(), 4);
    EXPECT_EQ(store.SourceRecords()[3].EndIndex(), 5);
}

}  // namespace
}  // namespace plc
