// A source with every kind of statement goes through the whole chain:
// translation, linking, the binary programme file, reading it back, the walk
// that decodes it, and a second translation of the decoded text, which must
// give the same file word for word.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/format.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/v310/program_walker.h"
#include "plceditor/v310/tests/compiler_fixture.h"
#include "plceditor/v310/tests/statement_table.h"
#include "testsupport/test_env.h"

namespace plc {
namespace {

using test::V310Compiler;

constexpr int kLabelStep = 10;

// Translates and links the lines, writes the programme file and gives its
// text.
std::string TranslateToFile(const std::vector<std::string>& lines, const std::string& name) {
    V310Compiler compiler;
    for (const std::string& line : lines) {
        EXPECT_EQ(compiler.Line(line), msg::kNoError) << line;
    }
    int faultLine = -1;
    EXPECT_EQ(compiler.store.linkProgram(faultLine), msg::kNoError) << faultLine;
    std::string path = "..\\TMP\\" + name;
    EXPECT_TRUE(compiler.store.writeBinaryProgrammeFile(path));
    return testsupport::ReadFile(testsupport::RuntimePath("TMP/" + name));
}

// Reads a programme file and decodes it line by line.
std::vector<std::string> DecodeFile(const std::string& name) {
    PlcCompiler store;
    store.setMemorySize(test::kDefaultMemoryWords);
    store.resetStore();
    EXPECT_TRUE(store.readBinaryProgrammeFile("..\\TMP\\" + name));
    ProgramWalker walker(store);
    int used = 0;
    EXPECT_EQ(walker.findProgramEnds(used), msg::kNoError);
    std::vector<std::string> lines;
    std::string text;
    int line = 0;
    int message = msg::kNoError;
    while (walker.decodeNextLine(text, line, message)) {
        EXPECT_EQ(message, msg::kNoError) << text;
        lines.push_back(text);
    }
    EXPECT_EQ(message, msg::kNoError);
    return lines;
}

TEST(V310RoundTrip, EveryStatementComesBackAsTheSameWords) {
    std::vector<std::string> source = {"%TEXT(RoundTrip)", "DEF H001 = Speed", "END", "%P00"};
    std::vector<std::string> expected = {"%P00"};
    int label = 0;
    for (const test::StatementCase& c : test::kStatementCases) {
        label += kLabelStep;
        source.push_back(platform::Format("N%d %s", label, c.source));
        expected.push_back(platform::Format("N%03d %s", label, c.decoded));
    }
    // A second program, for 'JMP P01', whose labels are renumbered.
    const std::vector<std::string> second = {"END",         "%P01",         "N5 NOP",
                                             "N7 JMP N100", "N100 JMP P00", "END"};
    source.insert(source.end(), second.begin(), second.end());
    const std::vector<std::string> secondDecoded = {
        "END", "%P01", "N010 NOP", "N020 JMP N030", "N030 JMP P00", "END"};
    expected.insert(expected.end(), secondDecoded.begin(), secondDecoded.end());

    const std::string file = TranslateToFile(source, "first.txt");
    const std::vector<std::string> decoded = DecodeFile("first.txt");
    ASSERT_EQ(decoded.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(decoded[i], expected[i]);

    EXPECT_EQ(TranslateToFile(decoded, "second.txt"), file);
}

// Float constants come back with ten decimals; a constant that needs more
// does not come back as the same word.
TEST(V310RoundTrip, FloatConstantsBelowTheTenthDecimalAreLost) {
    const std::string file = TranslateToFile({"%P00", "N10 SET F1 = 0.00000000004", "END"},
                                             "tiny.txt");
    const std::vector<std::string> decoded = DecodeFile("tiny.txt");
    ASSERT_EQ(decoded.size(), 3u);
    EXPECT_EQ(decoded[1], "N010 SET F001 = 0.0000000000");
    EXPECT_NE(TranslateToFile(decoded, "tiny2.txt"), file);
}

}  // namespace
}  // namespace plc
