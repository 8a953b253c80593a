// Linking source-order programs into the code array.
#include <gtest/gtest.h>

#include "plceditor/core/plc_compiler.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"
#include "plceditor/core/tests/store_builder.h"

namespace plc {
namespace {

class Link : public ::testing::Test {
protected:
    void SetUp() override {
        store_.setMemorySize(747);
        store_.resetStore();
    }
    int Run(int* faultLine = nullptr) {
        int line = -1;
        const int result = store_.linkProgram(line);
        if (faultLine != nullptr) *faultLine = line;
        return result;
    }
    const CodeRecord& Code(int i) const { return std::as_const(store_).CodeArray()[i]; }

    PlcCompiler store_;
    test::StoreBuilder build_{store_};
};

TEST_F(Link, TwoProgramsLayOutHeadsThenPrograms) {
    build_.Head(0);
    build_.Nop(10);
    build_.Jump(20, 10);
    build_.JumpEnd(30);
    ASSERT_EQ(build_.End(), msg::kNoError);
    build_.Head(1);
    build_.Nop(10);
    build_.Nop(20);
    build_.Jump(30, 20);
    ASSERT_EQ(build_.End(), msg::kNoError);
    ASSERT_EQ(Run(), msg::kNoError);

    EXPECT_EQ(Code(0).Opcode(), op::kProgramHead);
    EXPECT_EQ(Code(0).OperandA(), 0);
    EXPECT_EQ(Code(0).Target(), 2);
    EXPECT_EQ(Code(0).EndIndex(), 5);
    EXPECT_EQ(Code(1).Opcode(), op::kProgramHead);
    EXPECT_EQ(Code(1).OperandA(), 1);
    EXPECT_EQ(Code(1).Target(), 6);
    EXPECT_EQ(Code(1).EndIndex(), 9);
    EXPECT_EQ(Code(2).Label(), 10);
    EXPECT_EQ(Code(3).Target(), 2);  // JMP N10
    EXPECT_TRUE(Code(4).EndFlag());
    EXPECT_EQ(Code(4).Target(), 5);  // JMP END
    EXPECT_EQ(Code(5).Opcode(), op::kProgramEnd);
    EXPECT_EQ(Code(7).Label(), 20);
    EXPECT_EQ(Code(8).Target(), 7);  // JMP N20 of program 1, not of program 0
    EXPECT_EQ(Code(9).Opcode(), op::kProgramEnd);
    EXPECT_EQ(Code(10), CodeRecord{});
    EXPECT_TRUE(store_.hasProgramHead());
}

TEST_F(Link, OldCodeIsClearedBeforeLinking) {
    build_.Head(0);
    for (uint16_t label = 10; label <= 50; label += 10) build_.Nop(label);
    ASSERT_EQ(build_.End(), msg::kNoError);
    ASSERT_EQ(Run(), msg::kNoError);
    ASSERT_EQ(Code(6).Opcode(), op::kProgramEnd);

    store_.resetStore();
    test::StoreBuilder again(store_);
    again.Head(0);
    ASSERT_EQ(again.End(), msg::kNoError);
    ASSERT_EQ(Run(), msg::kNoError);
    EXPECT_EQ(Code(1).Opcode(), op::kProgramEnd);
    EXPECT_EQ(Code(2), CodeRecord{});
    EXPECT_EQ(Code(6), CodeRecord{});
}

TEST_F(Link, OpenSectionsAndNoProgramAreRefused) {
    struct Case {
        int state;
        bool withProgram;
        int result;
    } cases[] = {
        {translation::kInTextBlock, true, msg::kMissingTextEnd},
        {translation::kInProgram, true, msg::kMissingProgramEnd},
        {translation::kOutside, false, msg::kNoProgram},
    };
    for (const Case& c : cases) {
        PlcCompiler store;
        store.setMemorySize(747);
        store.resetStore();
        test::StoreBuilder build(store);
        if (c.withProgram) {
            build.Head(0);
            build.End();
        }
        store.SetTranslationState(c.state);
        int line = 0;
        EXPECT_EQ(store.linkProgram(line), c.result) << c.state;
    }
}

TEST_F(Link, StrictNumberingRefusesANumberOffItsPosition) {
    build_.Head(0);
    build_.End();
    build_.Head(2);  // line 2
    build_.End();
    int line = -1;
    EXPECT_EQ(Run(&line), msg::kProgramNumberNotRising);
    EXPECT_EQ(line, 2);
}

// With strict numbering off a program jump names the declared number and is
// linked to the position that declared it.
TEST_F(Link, ProgramJumpsResolveDeclaredNumbersToPositions) {
    store_.setStrictProgramNumbers(false);
    const int numbers[] = {0, 1, 2, 3, 4, 7};
    for (int number : numbers) {
        build_.Head(number);
        if (number == 0) {
            build_.JumpProgram(10, 7);
            build_.JumpProgram(20, 3);
        }
        ASSERT_EQ(build_.End(), msg::kNoError);
    }
    ASSERT_EQ(Run(), msg::kNoError);
    const int first = Code(0).Target();
    EXPECT_EQ(Code(first).OperandB(), 5);
    EXPECT_EQ(Code(first + 1).OperandB(), 3);
}

TEST_F(Link, ProgramJumpFaults) {
    struct Case {
        const char* name;
        bool strict;
        uint8_t jumpTo;
        int result;
    } cases[] = {
        {"strict, number exists", true, 1, msg::kNoError},
        {"strict, no such program", true, 5, msg::kProgramNotFound},
        {"strict, number beyond the table", true, 200, msg::kProgramNotFound},
        {"free, no such program", false, 5, msg::kProgramNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlcCompiler store;
        store.setMemorySize(747);
        store.resetStore();
        store.setStrictProgramNumbers(c.strict);
        test::StoreBuilder build(store);
        build.Head(0);
        build.Nop(10);
        build.JumpProgram(20, c.jumpTo);  // line 2
        build.End();
        build.Head(1);
        build.End();
        int line = -1;
        EXPECT_EQ(store.linkProgram(line), c.result);
        if (c.result != msg::kNoError) {
            EXPECT_EQ(line, 2);
        } else {
            EXPECT_EQ(store.CodeArray()[3].OperandB(), 1);
        }
    }
}

// When the END checks failed the editor may still link (renumbering); a jump
// without its label then fails here with the jump's line.
TEST_F(Link, JumpWithoutLabelFailsWithItsLine) {
    build_.Head(0);
    build_.Nop(10);
    build_.Jump(20, 99);  // line 2
    ASSERT_EQ(build_.End(), msg::kJumpTargetMissing);
    int line = -1;
    EXPECT_EQ(Run(&line), msg::kLabelNotFound);
    EXPECT_EQ(line, 2);
}

TEST_F(Link, ProgramWithoutEndRecordIsAnInternalFault) {
    build_.Head(0);  // line 0
    build_.Nop(10);
    // The END line was refused before its record was appended.
    store_.SetTranslationState(translation::kOutside);
    int line = -1;
    EXPECT_EQ(Run(&line), msg::kNoProgramEndInCode);
    EXPECT_EQ(line, 0);
}

TEST_F(Link, HeadCountMustMatchProgramPosition) {
    build_.Head(0);
    build_.End();
    store_.AdvanceProgramPosition();  // a head line that appended nothing
    EXPECT_EQ(Run(), msg::kProgramDefinitionInternal);
}

}  // namespace
}  // namespace plc
