// Walking a code array back into source lines: END indices, renumbered
// labels and programs, END flags found on the way, and the faults of a
// program table that does not hold together.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "plceditor/core/plc_messages.h"
#include "plceditor/v310/program_walker.h"
#include "plceditor/v310/tests/compiler_fixture.h"

namespace plc {
namespace {

using test::V310Compiler;

struct Line {
    std::string text;
    int source;
    int message;
    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Line& l) {
    return os << '"' << l.text << "\" line " << l.source << " msg " << l.message;
}

// Delivers every line of the walk; `last` gets the message of the call that
// ended it.
std::vector<Line> Walk(ProgramWalker& walker, int& last) {
    std::vector<Line> lines;
    Line line;
    while (walker.decodeNextLine(line.text, line.source, line.message)) {
        lines.push_back(line);
        if (lines.size() > 100) break;
    }
    last = line.message;
    return lines;
}

void CompileAndLink(V310Compiler& compiler, const std::vector<std::string>& source) {
    for (const std::string& text : source) ASSERT_EQ(compiler.Line(text), msg::kNoError) << text;
    int line = -1;
    ASSERT_EQ(compiler.store.linkProgram(line), msg::kNoError);
}

TEST(V310Walker, ProgramsAndLabelsAreRenumbered) {
    V310Compiler compiler;
    compiler.store.setStrictProgramNumbers(false);
    CompileAndLink(compiler, {"%P00", "N5 NOP", "N7 JMP N100", "N100 JMP END", "END", "%P05", "N1 JMP P00", "END"});
    ProgramWalker walker(compiler.store);
    int used = 0;
    ASSERT_EQ(walker.findProgramEnds(used), msg::kNoError);
    EXPECT_EQ(used, 8);
    int last = 0;
    const std::vector<Line> expected = {
        {"%P00", 0, msg::kNoError},
        {"N010 NOP", 1, msg::kNoError},
        {"N020 JMP N030", 2, msg::kNoError},
        {"N030 JMP END", 3, msg::kNoError},
        {"END", 4, msg::kNoError},
        {"%P01", 5, msg::kNoError},
        {"N010 JMP P00", 6, msg::kNoError},
        {"END", 7, msg::kNoError},
    };
    EXPECT_EQ(Walk(walker, last), expected);
    EXPECT_EQ(last, msg::kNoError);
}

TEST(V310Walker, ArrayReadFromAFileFindsItsEndsAndEndJumps) {
    V310Compiler compiler;
    CompileAndLink(compiler, {"%P00", "N10 JMP (H1 = 0) END", "N20 JMP N10", "END"});
    std::string path = "..\\TMP\\walk.txt";
    ASSERT_TRUE(compiler.store.writeBinaryProgrammeFile(path));

    PlcCompiler read;
    read.setMemorySize(test::kDefaultMemoryWords);
    read.resetStore();
    ASSERT_TRUE(read.readBinaryProgrammeFile(path));
    ProgramWalker walker(read);
    int used = 0;
    ASSERT_EQ(walker.findProgramEnds(used), msg::kNoError);
    EXPECT_EQ(used, 4);
    EXPECT_EQ(read.CodeArray()[0].EndIndex(), 3);
    int last = 0;
    const std::vector<Line> lines = Walk(walker, last);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].text, "N010 JMP (H001 = 0) END");
    EXPECT_EQ(lines[2].text, "N020 JMP N010");
    EXPECT_EQ(last, msg::kNoError);
}

TEST(V310Walker, RecordThatCannotBeDecodedIsDeliveredAndTheWalkGoesOn) {
    V310Compiler compiler;
    CompileAndLink(compiler, {"%P00", "N10 NOP", "N20 NOP", "END"});
    compiler.store.CodeArray()[1].SetOpcode(23);
    ProgramWalker walker(compiler.store);
    int used = 0;
    ASSERT_EQ(walker.findProgramEnds(used), msg::kNoError);
    int last = 0;
    const std::vector<Line> lines = Walk(walker, last);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], (Line{"N010 ERROR: Command not supported!", 1, msg::kRenumberError}));
    EXPECT_EQ(lines[2], (Line{"N020 NOP", 2, msg::kNoError}));
}

TEST(V310Walker, ProgramTablesThatDoNotHoldTogether) {
    struct Case {
        const char* name;
        // opcode, first statement, END index of records 0..3
        std::vector<std::array<int, 3>> records;
        int memoryWords;
        int ends;   // findProgramEnds
        int first;  // the first call of the walk, which delivers nothing
    };
    constexpr int kHead = 174;
    constexpr int kEnd = 175;
    constexpr int kNop = 37;
    // clang-format off
    const Case cases[] = {
        {"empty record 0", {}, 747, msg::kNoProgram, msg::kNoProgram},
        {"statement in record 0", {{kNop, 0, 0}}, 747, msg::kNoProgram,
         msg::kProgramHeadError},
        {"no memory", {}, 0, msg::kNoProgram, msg::kMissingProgramEnd},
        {"head beyond the capacity", {{kHead, 600, 601}}, 747, msg::kMissingProgramEnd,
         msg::kProgramHeadError},
        {"end before first", {{kHead, 3, 1}, {kEnd, 0, 0}}, 747, msg::kMissingProgramEnd,
         msg::kProgramHeadError},
        {"END before the end index", {{kHead, 1, 3}, {kNop, 0, 0}, {kEnd, 0, 0}, {kEnd, 0, 0}},
         747, msg::kNoError, msg::kProgramHeadError},
        // As read from a file, which does not hold the END index.
        {"no END at all", {{kHead, 1, 0}, {kNop, 0, 0}}, 747, msg::kMissingProgramEnd,
         msg::kProgramHeadError},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlcCompiler store;
        store.setMemorySize(c.memoryWords);
        store.resetStore();
        for (std::size_t i = 0; i < c.records.size(); ++i) {
            CodeRecord& r = store.CodeArray()[i];
            r.SetOpcode(static_cast<uint8_t>(c.records[i][0]));
            r.SetTarget(static_cast<uint16_t>(c.records[i][1]));
            r.SetEndIndex(static_cast<uint16_t>(c.records[i][2]));
        }
        ProgramWalker walker(store);
        // The walk of a table as it was read, without the END search.
        std::string text;
        int line = 0;
        int message = 0;
        EXPECT_FALSE(walker.decodeNextLine(text, line, message));
        EXPECT_EQ(message, c.first);
        int used = 0;
        EXPECT_EQ(walker.findProgramEnds(used), c.ends);
        EXPECT_EQ(store.WalkerState(), walker::kStart);
    }
}

TEST(V310Walker, UnknownWalkerStateIsAnInternalError) {
    V310Compiler compiler;
    CompileAndLink(compiler, {"%P00", "END"});
    compiler.store.SetWalkerState(7);
    ProgramWalker walker(compiler.store);
    std::string text;
    int line = 0;
    int message = 0;
    EXPECT_FALSE(walker.decodeNextLine(text, line, message));
    EXPECT_EQ(message, msg::kInternalError);
}

}  // namespace
}  // namespace plc
