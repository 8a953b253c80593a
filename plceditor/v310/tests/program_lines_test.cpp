// The lines around the statements: the text declaration block, program heads
// and their numbers, labels and the checks at a program's END.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plceditor/core/plc_messages.h"
#include "plceditor/v310/tests/compiler_fixture.h"

namespace plc {
namespace {

using test::V310Compiler;

struct Step {
    std::string line;
    int message;
};

struct Script {
    const char* name;
    bool strict;
    std::vector<Step> steps;
};

TEST(V310ProgramLines, ScriptsGiveTheirMessagesLineByLine) {
    const std::string name33(33, 'n');
    // clang-format off
    const Script scripts[] = {
        {"text block", true,
         {{"%TEXT(Axis_1)", msg::kNoError},
          {"DEF H127 = Speed_Max", msg::kNoError},
          {"DEF H128 = X", msg::kFaultyInteger},
          {"DEF C11 = X", msg::kFaultyCounter},
          {"DEF F128 = X", msg::kFaultyFloat},
          {"DEF M256 = X", msg::kFaultyFlag},
          {"DEF Z11 = X", msg::kFaultyTimer},
          {"DEF X1 = Y", msg::kUnknownVariable},
          {"DEF H1 Y", msg::kFaultySetOperator},
          {"DEF H1 =", msg::kNameNotFound},
          {"DEF F5 = " + name33, msg::kLineTooLong},
          {"FOO", msg::kUnknownTextCommand},
          {"%P00", msg::kUnknownTextCommand},
          {"END X", msg::kLineTooLong},
          {"%TEXT(Again)", msg::kTextAlreadyDefined}}},
        {"empty text name", true, {{"%TEXT()", msg::kNameNotFound}}},
        {"text name with a sign", true, {{"%TEXT(A-B)", msg::kNameNotFound}}},
        {"text name of 33 characters", true, {{"%TEXT(" + name33 + ")", msg::kNameTooLong}}},
        {"text name without bracket", true, {{"%TEXT(Abc", msg::kNameTooLong}}},
        {"text head with more", true, {{"%TEXT(A)X", msg::kLineTooLong}}},
        {"outside a block", true,
         {{"N10 NOP", msg::kNoProgramHead},
          {"DEF H1 = A", msg::kNoProgramHead},
          {"END", msg::kNoProgramHead}}},
        {"program numbers in order", true,
         {{"%P00", msg::kNoError},
          {"%TEXT(A)", msg::kUnknownCommandOrNoLabel},
          {"END", msg::kNoError},
          {"%p01", msg::kNoError},
          {"END", msg::kNoError}}},
        {"second %P00", true,
         {{"%P00", msg::kNoError}, {"END", msg::kNoError}, {"%P00", msg::kProgramNumberUsed}}},
        {"first program %P01", true,
         {{"%P01", msg::kProgramNumberNotRising},
          {"END", msg::kNoError},
          {"%P00", msg::kProgramNumberNotRising},
          {"END", msg::kNoError},
          {"%P00", msg::kProgramNumberUsed}}},
        {"any numbers while renumbering", false,
         {{"%P05", msg::kNoError}, {"END", msg::kNoError}, {"%P05", msg::kNoError}}},
        {"bad heads", true,
         {{"%P128", msg::kProgramNumberError},
          {"END", msg::kNoError},
          {"%PX", msg::kProgramNumberError},
          {"END", msg::kNoError},
          {"%P02X", msg::kLineTooLong}}},
        {"END with more", true,
         {{"%P00", msg::kNoError}, {"END X", msg::kLineTooLong}, {"%P01", msg::kNoError}}},
    };
    // clang-format on
    for (const Script& script : scripts) {
        SCOPED_TRACE(script.name);
        V310Compiler compiler;
        compiler.store.setStrictProgramNumbers(script.strict);
        for (const Step& step : script.steps) {
            EXPECT_EQ(compiler.Line(step.line), step.message) << step.line;
        }
    }
}

TEST(V310ProgramLines, NamesKeepTheirCase) {
    V310Compiler compiler;
    compiler.Lines({"%text(Axis_1)", "def m255 = MixedCase", "DEF C0=c", "END"});
    EXPECT_EQ(compiler.store.textName(), "Axis_1");
    EXPECT_EQ(compiler.store.Names().Name('M', 255), "MixedCase");
    EXPECT_EQ(compiler.store.Names().Name('C', 0), "c");
    EXPECT_TRUE(compiler.store.hasNamedProgram());
}

TEST(V310ProgramLines, HeadIsRecordedAtItsPosition) {
    V310Compiler compiler;
    compiler.Lines({"%P00", "END", "%P01", "N10 NOP"});
    const CodeRecord& head = compiler.store.SourceRecords()[2];
    EXPECT_EQ(head.Opcode(), 174);
    EXPECT_EQ(head.OperandA(), 1);
    EXPECT_EQ(head.SourceLine(), 2);
    EXPECT_EQ(compiler.store.ProgramNumber(1), 1);
}

TEST(V310ProgramLines, EndChecksReportTheOffendingLine) {
    struct Case {
        const char* name;
        std::vector<std::string> statements;
        int message;
        int line;  // of the offending statement; the head is line 0
    };
    const Case cases[] = {
        {"rising labels", {"N10 JMP N20", "N20 JMP END", "N30 NOP"}, msg::kNoError, 4},
        {"falling labels", {"N20 NOP", "N30 NOP", "N10 NOP"}, msg::kLabelsNotRising, 3},
        {"label twice", {"N20 NOP", "N20 NOP"}, msg::kLabelAlreadyUsed, 2},
        {"jump to a missing label", {"N10 NOP", "N20 JMP N40"}, msg::kJumpTargetMissing, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        V310Compiler compiler;
        ASSERT_EQ(compiler.Line("%P00"), msg::kNoError);
        for (const std::string& statement : c.statements) {
            ASSERT_EQ(compiler.Line(statement), msg::kNoError);
        }
        EXPECT_EQ(compiler.Line("END"), c.message);
        EXPECT_EQ(compiler.lastLine, c.line);
    }
}

}  // namespace
}  // namespace plc
