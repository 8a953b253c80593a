// Reading one normalised source line for the line compilers of the 20-byte
// generators: an upper-case copy for keywords and numbers beside the line as
// written (for names), operand readers that answer with the message of the
// operand's kind, jump targets, and the table-driven operands that follow an
// operator character.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "plceditor/core/operand_scanners.h"
#include "plceditor/core/plc_language.h"

namespace plc {

// Returned by a statement reader whose keyword or form did not match, so the
// caller may try the next alternative. Never a message number.
constexpr int kNoMatch = -1;

class LineParser {
public:
    // `text` is the line without blanks; keywords are matched without regard
    // to case.
    explicit LineParser(std::string_view text);

    bool AtEnd() const { return cursor_.AtEnd(); }
    char Peek() const { return cursor_.Peek(); }
    // The upper-case rest of the line.
    std::string_view Rest() const { return cursor_.Rest(); }
    // Moves past `keyword` (upper case) when the rest starts with it.
    bool matchKeyword(std::string_view keyword) { return cursor_.Consume(keyword); }
    // Moves past one of `characters`; its position in `characters`, or -1.
    int MatchOneOf(std::string_view characters);

    // kNoError when the line ends here, else kLineTooLong.
    int ExpectEnd() const;

    // The index of a variable whose letter was just read ('H' after "SETH"),
    // in the range of its kind; the kind's message otherwise.
    int ReadIndex(char letter, uint8_t& index);
    // The same with `message` for an index out of range.
    int ReadIndex(char letter, uint8_t& index, int message);
    // A number lower..upper into 8 or 16 bits; `message` when there is none
    // or it is out of range.
    int ReadNumber(uint8_t& value, int lower, int upper, int message);
    int ReadNumber(uint16_t& value, int lower, int upper, int message);
    // The rest of a jump: ")N" and a label, or ")END". kFaultyJumpDestination
    // for anything else.
    int ReadJumpTarget(uint16_t& label, bool& toEnd);

    // A %TEXT name or a DEF name, as written (case kept); false as the core
    // scanners give it.
    bool ScanTextName(std::string& name);
    bool ScanDefName(std::string& name);

    SourceCursor& Cursor() { return cursor_; }

private:
    std::string upper_;
    std::string written_;
    SourceCursor cursor_;
};

// An operand that follows one operator character: a keyword with its number
// range and what the number becomes, or any input or any output ("IS02",
// "OE3"), whose number becomes its I/O code.
struct RangedOperand {
    enum class Kind { kNumbered, kInput, kOutput };
    std::string_view operators;  // characters of "=&|^" allowed before it
    std::string_view keyword;
    int lower;
    int upper;
    uint8_t opcode;
    int message;     // for a number outside lower..upper
    int offset = 0;  // added to the number (CM n is stored as n - 1)
    Kind kind = Kind::kNumbered;
};

constexpr RangedOperand Numbered(std::string_view operators, std::string_view keyword, int lower, int upper,
                                 uint8_t opcode, int message, int offset = 0) {
    return {operators, keyword, lower, upper, opcode, message, offset};
}
// Any input or any output after one of `operators`; kFaultyIoNumber for a
// number outside its family.
constexpr RangedOperand AnyInput(uint8_t opcode, std::string_view operators = "=&|^") {
    return {operators, {}, 0, 0, opcode, 0, 0, RangedOperand::Kind::kInput};
}
constexpr RangedOperand AnyOutput(uint8_t opcode, std::string_view operators = "=&|^") {
    return {operators, {}, 0, 0, opcode, 0, 0, RangedOperand::Kind::kOutput};
}

struct RangedMatch {
    // kNoMatch when no entry's operator and keyword start the rest (nothing
    // consumed); kNoError with the fields set; or the entry's message.
    int result = kNoMatch;
    uint8_t opcode = 0;
    uint8_t operatorCode = 0;  // 0 '=', 1 '&', 2 '|', 3 '^'
    uint8_t operand = 0;
};

// Tries the entries in order; the first whose operator character and keyword
// start the rest decides.
RangedMatch matchRangedOperand(LineParser& parser, std::span<const RangedOperand> table);

// The first of the first `count` entries whose name, between `prefix` and
// `suffix`, starts the rest ("SET" REFVAL "=F"); the parser moves past all
// three. Null (nothing consumed) when none does.
const NamedCode* MatchName(LineParser& parser, std::string_view prefix, std::span<const NamedCode> table,
                           std::size_t count, std::string_view suffix);

// One of `operators` directly followed by `letter` ("<=F"): the operator's
// place in the list, with both consumed; -1 (nothing consumed) when none.
// The first operator in list order that starts the rest decides, as
// ConsumeFirstOf reads it.
int MatchOperatorAndLetter(LineParser& parser, std::span<const std::string_view> operators, char letter);

// The input or output family with these letters ("IS"); null for none.
const IoGroup* FindIoGroup(std::string_view prefix);

// An input or output family whose letters start the rest (moved past them);
// null when none. `output` selects the outputs, otherwise the inputs.
const IoGroup* MatchIoGroup(LineParser& parser, bool output);
// The number after a family's letters, as the family's I/O code;
// kFaultyIoNumber when it is missing or out of range.
int ReadIoCode(LineParser& parser, const IoGroup& group, uint8_t& code);

}  // namespace plc
