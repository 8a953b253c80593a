// Language tables, line entry and message texts shared by the generators.
#include <gtest/gtest.h>

#include <string>

#include "platform/base/format.h"
#include "plceditor/core/plc_language.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"

namespace plc {
namespace {

TEST(PlcMessages, TextsAreExactAndOnlyForTranslatorIds) {
    EXPECT_EQ(MessageText(msg::kNoError), "%1 Translate the programme without error.");
    EXPECT_EQ(MessageText(msg::kNoProgramHead),
              "%1 No or faulty programme head % Pxx or Text declaration head  % TEXT(Name) found.");
    EXPECT_EQ(MessageText(msg::kOutOfMemory), "%1 To many commands, not enough memory.");
    EXPECT_EQ(MessageText(msg::kWrongEventProgram), "%1 wrong number of event program.");
    for (int id = 57682; id <= 57727; ++id) {
        EXPECT_TRUE(MessageText(id).starts_with("%1 ")) << id;
    }
    for (int id : {0, 57681, 57728, 57745, 57747, 57781}) EXPECT_TRUE(MessageText(id).empty()) << id;
}

TEST(PlcLanguage, LineEntryRemovesBlanksAndLimitsLength) {
    struct Case {
        std::string text;
        int result;
        std::string normalised;
    } cases[] = {
        {"n010 set h001 = 5 ", msg::kNoError, "n010seth001=5"},
        {"S E T H 0 0 1 = 5", msg::kNoError, "SETH001=5"},
        {" N 1 0\tNOP\r\n", msg::kNoError, "N10NOP"},
        {"  \t ", msg::kNoError, ""},
        {"", msg::kLineTooLong, ""},
        {"N1 " + std::string(76, 'X'), msg::kNoError, "N1" + std::string(76, 'X')},  // 79 characters
        {"N1 " + std::string(77, 'X'), msg::kLineTooLong, ""},                       // 80 characters
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string normalised = "stale";
        EXPECT_EQ(NormaliseSourceLine(c.text, normalised), c.result);
        EXPECT_EQ(normalised, c.normalised);
    }
    EXPECT_EQ(StripComment("N10 SET H1 = 5 ; set ; twice"), "N10 SET H1 = 5 ");
    EXPECT_EQ(StripComment("; only a comment"), "");
}

TEST(PlcLanguage, VariableKindsGiveRangeAndMessage) {
    struct Case {
        char letter;
        int last;
        int message;
    } cases[] = {{'H', 127, msg::kFaultyInteger},
                 {'F', 127, msg::kFaultyFloat},
                 {'M', 255, msg::kFaultyFlag},
                 {'C', 10, msg::kFaultyCounter},
                 {'Z', 10, msg::kFaultyTimer}};
    for (const Case& c : cases) {
        const VariableKind* kind = FindVariableKind(c.letter);
        ASSERT_NE(kind, nullptr) << c.letter;
        EXPECT_EQ(kind->firstIndex, 0);
        EXPECT_EQ(kind->lastIndex, c.last);
        EXPECT_EQ(kind->badIndexMessage, c.message);
    }
    EXPECT_EQ(FindVariableKind('X'), nullptr);
    EXPECT_EQ(FindVariableKind('h'), nullptr);
}

// Every input or output the source can write maps to a code whose name is
// the same letters and number ("IS04" -> 14 -> "IS04", "IA1" -> 13 -> "IA1").
TEST(PlcLanguage, IoCodesAndNamesAgree) {
    int inputs = 0;
    int outputs = 0;
    for (const IoGroup& group : kIoGroups) {
        for (int n = 0; n < group.count; ++n) {
            std::string name;
            ASSERT_TRUE(ioName(group.output, group.codes[n], name)) << group.prefix << n;
            EXPECT_TRUE(name.starts_with(group.prefix)) << name;
            EXPECT_EQ(std::stoi(name.substr(2)), n) << name;
            (group.output ? outputs : inputs)++;
        }
    }
    EXPECT_EQ(inputs, kInputCodeCount);
    EXPECT_EQ(outputs, kOutputCodeCount);

    std::string name;
    EXPECT_TRUE(ioName(false, 12, name));
    EXPECT_EQ(name, "IA0");
    EXPECT_TRUE(ioName(true, 9, name));
    EXPECT_EQ(name, "OS03");
    for (auto [output, code] : {std::pair{false, 17}, {true, 12}, {true, -1}, {false, 255}}) {
        EXPECT_FALSE(ioName(output, code, name)) << code;
        EXPECT_EQ(name, "???ERR");
    }
}

TEST(PlcLanguage, NamesMatchLongestSpellingFirst) {
    struct Case {
        std::span<const NamedCode> table;
        size_t count;
        const char* rest;
        int code;  // -1: no match
    } cases[] = {
        {kIntegerSourceNames, 26, "ACTPOSINC", 15},
        {kIntegerSourceNames, 26, "ACTPOS", 4},
        {kIntegerSourceNames, 26, "REFPOSINC", 16},
        {kIntegerSourceNames, 26, "PLC_ISR1_EV_LOW_EDGE", 25},
        {kIntegerSourceNames, 17, "TP0INC", -1},
        {kStatusNames, 65, "ERR_WRN=M1", 0},
        {kStatusNames, 65, "ERR!=1", 1},
        {kStatusNames, 65, "TP15", 32},
        {kStatusNames, 65, "TP1=1", 46},
        {kStatusNames, 65, "CM1", 63},
        {kStatusNames, 65, "PRACT", 64},
        {kStatusNames, 32, "RCAM", 31},
        {kStatusNames, 32, "TP0", -1},
        {kIntegerTargetNames, 14, "REGEARPOSINC=H1", 8},
        {kIntegerTargetNames, 14, "RACTPOS=H1", 10},
        {kIntegerTargetNames, 9, "ACTPOS=H1", -1},
        {kFloatTargetNames, 2, "REFFRQ=F1", 0},
        {kControlBitNames, 12, "USER3=1", 11},
        {kPlcControlNames, 3, "CLR_ADR_STACK", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rest);
        const NamedCode* match = MatchNamePrefix(c.table, c.count, c.rest);
        if (c.code < 0) {
            EXPECT_EQ(match, nullptr);
        } else {
            ASSERT_NE(match, nullptr);
            EXPECT_EQ(match->code, c.code);
        }
    }
}

// A name counts only when the suffix follows it, so a later, shorter name
// may match where an earlier one is not followed by the suffix.
TEST(PlcLanguage, NameMatchesOnlyWithItsSuffix) {
    constexpr NamedCode kTable[] = {{"AB", 1, "AB"}, {"A", 2, "A"}};
    struct Case {
        const char* rest;
        const char* suffix;
        int code;  // -1: no match
    } cases[] = {
        {"AB=1", "=", 1},
        {"AB=1", "B=", 2},
        {"AB=1", "", 1},
        {"A=1", "=H", -1},
        {"A", "=", -1},
        {"", "", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rest) + " / " + c.suffix);
        const NamedCode* match = MatchNamePrefix(kTable, std::size(kTable), c.rest, c.suffix);
        EXPECT_EQ(match == nullptr ? -1 : match->code, c.code);
    }
    // Only the first `count` entries take part.
    EXPECT_EQ(MatchNamePrefix(kTable, 1, "A=1", "="), nullptr);
}

TEST(PlcLanguage, UpperAsciiKeepsEveryOtherByteInPlace) {
    EXPECT_EQ(UpperAscii("n10 set h1=5 ;\xC3\xA4z_{}"), "N10 SET H1=5 ;\xC3\xA4Z_{}");
    EXPECT_EQ(UpperAscii(""), "");
}

TEST(PlcMessages, DecoderLinesOfRecordsWithoutStatement) {
    // The first three reserved remarks end with a blank, the others do not.
    EXPECT_EQ(ReservedCommandRemark(1), "; PLC: Reserved Command - 01 ");
    EXPECT_EQ(ReservedCommandRemark(3), "; PLC: Reserved Command - 03 ");
    EXPECT_EQ(ReservedCommandRemark(4), "; PLC: Reserved Command - 04");
    EXPECT_EQ(ReservedCommandRemark(14), "; PLC: Reserved Command - 14");
    EXPECT_EQ(kUnknownOpcodeText, "; ERROR: UNKOWN OPCODE.");
    EXPECT_EQ(platform::Format(kNoCodeFormat, 7), "N007 (!) ERROR: NO CODE FOUND");
}

TEST(PlcLanguage, DisplayNamesByCode) {
    EXPECT_EQ(DisplayNameForCode(kIntegerTargetNames, 14, 8), "R EGEARPOSINC");
    EXPECT_EQ(DisplayNameForCode(kIntegerTargetNames, 14, 10), "R ACTPOS");
    EXPECT_EQ(DisplayNameForCode(kIntegerTargetNames, 14, 2), "REFVAL");
    EXPECT_EQ(DisplayNameForCode(kIntegerTargetNames, 14, 11), "ACTPOSINC");
    EXPECT_EQ(DisplayNameForCode(kIntegerTargetNames, 9, 11), "Unknown command");
    EXPECT_EQ(DisplayNameForCode(kFloatTargetNames, 2, 0), "REFVAL");
    EXPECT_EQ(DisplayNameForCode(kIntegerSourceNames, 26, 15), "ACTPOSINC");
    EXPECT_EQ(DisplayNameForCode(kIntegerSourceNames, 26, 26), "Unknown command");
}

// V2.10 uses the first entries of the shared tables; the counts must end at
// the last name V2.10 knows.
TEST(PlcLanguage, GeneratorSubsetsCutTheSharedTables) {
    const GeneratorSubset& v210 = Subset(PlcGenerator::kV210);
    EXPECT_EQ(kStatusNames[v210.statusNames - 1].name, "RCAM");
    EXPECT_EQ(kIntegerSourceNames[v210.integerSourceNames - 1].name, "EGEARPOS");
    EXPECT_EQ(kIntegerTargetNames[v210.integerTargetNames - 1].name, "EGEARPOS");
    const GeneratorSubset& v310 = Subset(PlcGenerator::kV310);
    EXPECT_EQ(static_cast<size_t>(v310.statusNames), kStatusNames.size());
    EXPECT_EQ(static_cast<size_t>(v310.integerSourceNames), kIntegerSourceNames.size());
    EXPECT_EQ(static_cast<size_t>(v310.integerTargetNames), kIntegerTargetNames.size());
    EXPECT_EQ(Subset(PlcGenerator::kV110).maxPrograms, 1);
    EXPECT_EQ(Subset(PlcGenerator::kV110).maxLabel, 254);
    EXPECT_EQ(GeneratorName(PlcGenerator::kV210), "PLC V2.10");
}

TEST(PlcLanguage, OpcodesEachGeneratorEmits) {
    struct Case {
        int opcode;
        bool v210;
        bool v310;
    } cases[] = {
        {0, false, false},
        {1, true, true},
        {2, false, false},
        {22, false, true},
        {23, false, false},
        {34, false, false},
        {35, true, true},
        {141, false, false},
        {154, false, false},
        {155, true, true},
        {174, true, true},
        {176, true, true},
        {177, false, true},
        {200, false, true},
        {201, false, false},
        {255, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(op::EmitsOpcode(PlcGenerator::kV210, c.opcode), c.v210) << c.opcode;
        EXPECT_EQ(op::EmitsOpcode(PlcGenerator::kV310, c.opcode), c.v310) << c.opcode;
        EXPECT_FALSE(op::EmitsOpcode(PlcGenerator::kV110, c.opcode));
    }
}

}  // namespace
}  // namespace plc
