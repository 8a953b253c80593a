// V2.10 sources through the whole chain: translation, linking, the binary
// programme file, reading it back, the walk that decodes it, and a second
// translation of the decoded text. Beside V3.10, a source both generators
// know gives the same file; GO keeps its operands differently.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/format.h"
#include "plceditor/v210/decoder_v210.h"
#include "plceditor/v210/tests/v210_fixture.h"
#include "plceditor/v310/tests/programme_round_trip.h"

namespace plc {
namespace {

using test::DecodeFile;
using test::StatementCase;
using test::TranslateToFile;
using test::V210Compiler;
using test::V310Compiler;

constexpr int kLabelStep = 10;

// Program 0 with the statements labelled N10, N20, ..., then a program 1
// for 'JMP P01'. `decoded` receives the text the decoder writes back.
std::vector<std::string> ProgramOf(const std::vector<StatementCase>& cases, std::vector<std::string>& decoded) {
    std::vector<std::string> source = {"%TEXT(RoundTrip)", "DEF H001 = Speed", "END", "%P00"};
    decoded = {"%P00"};
    int label = 0;
    for (const StatementCase& c : cases) {
        label += kLabelStep;
        source.push_back(platform::Format("N%d %s", label, c.source));
        decoded.push_back(platform::Format("N%03d %s", label, c.decoded));
    }
    for (const char* line : {"END", "%P01", "N5 NOP", "END"}) source.push_back(line);
    for (const char* line : {"END", "%P01", "N010 NOP", "END"}) decoded.push_back(line);
    return source;
}

TEST(V210RoundTrip, EveryStatementComesBackAsTheSameWords) {
    std::vector<std::string> expected;
    const std::vector<std::string> source = ProgramOf(test::V210Cases(), expected);
    const std::string file = TranslateToFile(V210Compiler(), source, "first.txt");
    const std::vector<std::string> decoded = DecodeFile("first.txt", v210::DecoderV210());
    ASSERT_EQ(decoded.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(decoded[i], expected[i]);

    EXPECT_EQ(TranslateToFile(V210Compiler(), decoded, "second.txt"), file);
}

TEST(V210RoundTrip, SourceWithoutGoWritesTheSameFileAsV310) {
    std::vector<std::string> decoded;
    const std::vector<std::string> source = ProgramOf(test::SharedCases(), decoded);
    const std::string v210 = TranslateToFile(V210Compiler(), source, "v210.txt");
    const std::string v310 = TranslateToFile(V310Compiler(), source, "v310.txt");
    EXPECT_EQ(v210.size(), static_cast<std::size_t>(test::kDefaultMemoryWords) * 10);
    EXPECT_EQ(v210, v310);
}

TEST(V210RoundTrip, GoKeepsSpeedDirectionAndNoSpeedMarkInItsOwnBytes) {
    // Head 0 (first statement 1), 'GO W R H1', 'GO V H2', END: three
    // halfwords each, two to a word, low half first.
    const std::vector<std::string> source = {"%P00", "N10 GO W R H1", "N20 GO V H2", "END"};
    const std::string v210 = TranslateToFile(V210Compiler(), source, "go210.txt");
    const std::string v310 = TranslateToFile(V310Compiler(), source, "go310.txt");
    const std::string head = "000000ae\r\n01820001\r\n";
    EXPECT_EQ(v210.substr(0, 60), head + "01000100\r\n000200a6\r\n00af0000\r\n00000000\r\n");
    EXPECT_EQ(v310.substr(0, 60), head + "ffffffff\r\nff0200a6\r\n00afffff\r\n00000000\r\n");
}

}  // namespace
}  // namespace plc
