// A source with every kind of statement goes through the whole chain:
// translation, linking, the binary programme file, reading it back, the walk
// that decodes it, and a second translation of the decoded text, which must
// give the same file word for word.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/format.h"
#include "plceditor/v310/tests/programme_round_trip.h"
#include "plceditor/v310/tests/statement_table.h"

namespace plc {
namespace {

using test::V310Compiler;

constexpr int kLabelStep = 10;

std::string TranslateToFile(const std::vector<std::string>& lines, const std::string& name) {
    return test::TranslateToFile(V310Compiler(), lines, name);
}

std::vector<std::string> DecodeFile(const std::string& name) { return test::DecodeFile(name, DecoderV310()); }

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
    const std::vector<std::string> second = {"END", "%P01", "N5 NOP", "N7 JMP N100", "N100 JMP P00", "END"};
    source.insert(source.end(), second.begin(), second.end());
    const std::vector<std::string> secondDecoded = {"END", "%P01", "N010 NOP", "N020 JMP N030", "N030 JMP P00", "END"};
    expected.insert(expected.end(), secondDecoded.begin(), secondDecoded.end());

    const std::string file = TranslateToFile(source, "first.txt");
    const std::vector<std::string> decoded = DecodeFile("first.txt");
    ASSERT_EQ(decoded.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(decoded[i], expected[i]);

    EXPECT_EQ(TranslateToFile(decoded, "second.txt"), file);
}

// Float constants come back with ten decimals when those give the same
// word, else with as many as they need; the decoded text translates to the
// same code.
TEST(V310RoundTrip, FloatConstantsComeBackAsTheSameWords) {
    const struct {
        const char* constant;
        const char* decoded;
    } cases[] = {
        {"0.000001", "0.0000010000"},
        {"0.000123", "0.0001230000"},
        {"0.5", "0.5000000000"},
        {"123456.7", "123456.7031250000"},
        {"-330000000000000000000000000000000000000", "-329999996548271212625250308919809540096.0000000000"},
        {"0.00000000004", "0.00000000004"},
        {"0.000000000000000000000000000000000000012", "0.000000000000000000000000000000000000012"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.constant);
        const std::string source = std::string("N10 SET F1 = ") + c.constant;
        const std::string file =
            TranslateToFile({"%P00", source, "N20 SET F[C2] = " + std::string(c.constant), "END"}, "constant.txt");
        const std::vector<std::string> decoded = DecodeFile("constant.txt");
        ASSERT_EQ(decoded.size(), 4u);
        EXPECT_EQ(decoded[1], std::string("N010 SET F001 = ") + c.decoded);
        EXPECT_EQ(decoded[2], std::string("N020 SET F[C002] = ") + c.decoded);
        EXPECT_EQ(TranslateToFile(decoded, "again.txt"), file);
    }
}

}  // namespace
}  // namespace plc
