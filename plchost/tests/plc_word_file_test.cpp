// The word file's lines: written "%08X" with CR LF, read with either line
// end and digits of either case, and ended by the first line that is not a
// word.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plchost/plc_word_file.h"

namespace {

std::vector<uint32_t> ReadAll(const std::string& text) {
    PlcWordReader reader(text);
    std::vector<uint32_t> words;
    uint32_t word = 0;
    while (reader.Next(&word)) words.push_back(word);
    return words;
}

TEST(PlcWordFileTest, WordsAreWrittenAsEightUpperCaseDigitsWithCrLf) {
    EXPECT_EQ(FormatPlcWord(0xAE), "000000AE\r\n");
    EXPECT_EQ(FormatPlcWord(0xFFFFFFFFu), "FFFFFFFF\r\n");
    EXPECT_EQ(FormatPlcWord(0x00250001), "00250001\r\n");
}

TEST(PlcWordFileTest, LinesAreReadUpToTheFirstThatIsNoWord) {
    struct Case {
        const char* text;
        std::vector<uint32_t> words;
    };
    const Case cases[] = {
        {"000000AE\r\n00250001\r\n", {0xAE, 0x00250001}},
        {"000000ae\n00250001", {0xAE, 0x00250001}},
        {"deadBEEF\n", {0xDEADBEEF}},
        {"", {}},
        {"\r\n", {}},
        {"1\n 2 \n", {1, 2}},
        // A line that is not a word ends the words; its rest gives none.
        {"00000001\n123456789\n00000002\n", {1}},
        {"00000001\n00000002 3\n00000004\n", {1}},
        {"00000001\nG0000000\n00000002\n", {1}},
        {"00000001\n\n00000002\n", {1}},
        {"0x000001\n", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadAll(c.text), c.words) << c.text;
        PlcWordReader reader(c.text);
        EXPECT_EQ(reader.CountWords(), static_cast<int>(c.words.size())) << c.text;
        uint32_t first = 0;
        EXPECT_EQ(reader.Next(&first), !c.words.empty()) << "count rewinds: " << c.text;
    }
}

TEST(PlcWordFileTest, CountStopsAtItsLimit) {
    std::string text;
    for (int i = 0; i < kMaxPlcWordCount + 3; ++i) text += FormatPlcWord(static_cast<uint32_t>(i));
    PlcWordReader reader(text);
    EXPECT_EQ(reader.CountWords(), kMaxPlcWordCount);
    EXPECT_EQ(ReadAll(text).size(), static_cast<size_t>(kMaxPlcWordCount + 3));
}

}  // namespace
