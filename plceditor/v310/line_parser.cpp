// Operand readers of the 20-byte line compilers.
#include "plceditor/v310/line_parser.h"

#include "plceditor/core/plc_messages.h"

namespace plc {

LineParser::LineParser(std::string_view text) : upper_(UpperAscii(text)), written_(text) { cursor_.text = upper_; }

int LineParser::MatchOneOf(std::string_view characters) {
    if (AtEnd()) return -1;
    const std::size_t at = characters.find(Peek());
    if (at == std::string_view::npos) return -1;
    ++cursor_.pos;
    return static_cast<int>(at);
}

int LineParser::ExpectEnd() const { return AtEnd() ? msg::kNoError : msg::kLineTooLong; }

int LineParser::ReadIndex(char letter, uint8_t& index) {
    const VariableKind* kind = FindVariableKind(letter);
    if (kind == nullptr) return msg::kInternalError;
    return ReadNumber(index, kind->firstIndex, kind->lastIndex, kind->badIndexMessage);
}

int LineParser::ReadIndex(char letter, uint8_t& index, int message) {
    const VariableKind* kind = FindVariableKind(letter);
    if (kind == nullptr) return msg::kInternalError;
    return ReadNumber(index, kind->firstIndex, kind->lastIndex, message);
}

int LineParser::ReadNumber(uint8_t& value, int lower, int upper, int message) {
    return scanUnsigned8(cursor_, value, lower, upper) ? msg::kNoError : message;
}

int LineParser::ReadNumber(uint16_t& value, int lower, int upper, int message) {
    return scanUnsigned16(cursor_, value, lower, upper) ? msg::kNoError : message;
}

int LineParser::ReadJumpTarget(uint16_t& label, bool& toEnd) {
    toEnd = false;
    if (matchKeyword(")END")) {
        toEnd = true;
        return msg::kNoError;
    }
    if (!matchKeyword(")N")) return msg::kFaultyJumpDestination;
    return ReadNumber(label, kMinLabel, kMaxLabel, msg::kFaultyJumpDestination);
}

bool LineParser::ScanTextName(std::string& name) {
    SourceCursor written{written_, cursor_.pos};
    const bool ok = scanTextName(name, written);
    cursor_.pos = written.pos;
    return ok;
}

bool LineParser::ScanDefName(std::string& name) {
    SourceCursor written{written_, cursor_.pos};
    const bool ok = scanDefName(name, written);
    cursor_.pos = written.pos;
    return ok;
}

RangedMatch matchRangedOperand(LineParser& parser, std::span<const RangedOperand> table) {
    RangedMatch match;
    const std::string_view rest = parser.Rest();
    if (rest.empty()) return match;
    const std::size_t operatorCode = kOperatorChars.find(rest[0]);
    if (operatorCode == std::string_view::npos) return match;
    for (const RangedOperand& entry : table) {
        if (entry.operators.find(rest[0]) == std::string_view::npos) continue;
        match.opcode = entry.opcode;
        match.operatorCode = static_cast<uint8_t>(operatorCode);
        if (entry.kind != RangedOperand::Kind::kNumbered) {
            parser.Cursor().pos += 1;
            const IoGroup* group = MatchIoGroup(parser, entry.kind == RangedOperand::Kind::kOutput);
            if (group != nullptr) {
                match.result = ReadIoCode(parser, *group, match.operand);
                return match;
            }
            parser.Cursor().pos -= 1;
            continue;
        }
        if (!rest.substr(1).starts_with(entry.keyword)) continue;
        parser.Cursor().pos += 1 + entry.keyword.size();
        uint8_t number = 0;
        match.result = parser.ReadNumber(number, entry.lower, entry.upper, entry.message);
        if (match.result == msg::kNoError) match.operand = static_cast<uint8_t>(number + entry.offset);
        return match;
    }
    return RangedMatch{};
}

const NamedCode* MatchName(LineParser& parser, std::string_view prefix, std::span<const NamedCode> table,
                           std::size_t count, std::string_view suffix) {
    const std::string_view rest = parser.Rest();
    if (!rest.starts_with(prefix)) return nullptr;
    const NamedCode* entry = MatchNamePrefix(table, count, rest.substr(prefix.size()), suffix);
    if (entry != nullptr) parser.Cursor().pos += prefix.size() + entry->name.size() + suffix.size();
    return entry;
}

int MatchOperatorAndLetter(LineParser& parser, std::span<const std::string_view> operators, char letter) {
    SourceCursor& cursor = parser.Cursor();
    const std::size_t start = cursor.pos;
    const int k = ConsumeFirstOf(cursor, operators);
    if (k >= 0 && !cursor.AtEnd() && cursor.Peek() == letter) {
        ++cursor.pos;
        return k;
    }
    cursor.pos = start;
    return -1;
}

const IoGroup* FindIoGroup(std::string_view prefix) {
    for (const IoGroup& group : kIoGroups) {
        if (group.prefix == prefix) return &group;
    }
    return nullptr;
}

const IoGroup* MatchIoGroup(LineParser& parser, bool output) {
    for (const IoGroup& group : kIoGroups) {
        if (group.output == output && parser.matchKeyword(group.prefix)) return &group;
    }
    return nullptr;
}

int ReadIoCode(LineParser& parser, const IoGroup& group, uint8_t& code) {
    return ScanIoCode(parser.Cursor(), group, code) ? msg::kNoError : msg::kFaultyIoNumber;
}

}  // namespace plc
