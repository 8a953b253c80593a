// Line compiler of V1.10: the section state machine (%TEXT and DEF lines,
// %P00, labelled statements, END) and the checks when END closes the program.
#include <string>

#include "plceditor/core/operand_scanners.h"
#include "plceditor/core/plc_language.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/v110/line_table8.h"
#include "plceditor/v110/opcodes8.h"
#include "plceditor/v110/statement8.h"

namespace plc {

namespace {

constexpr int kOk = msg::kNoError;
constexpr std::string_view kProgramHead = "%P00";

}  // namespace

int LineTable8::enterLine(std::string_view text, int& line) {
    std::string normalised;
    if (int s = NormaliseSourceLine(text, normalised); s != kOk) return s;
    if (normalised.empty()) return kOk;
    return compileLine(normalised, line);
}

int LineTable8::compileLine(std::string_view normalised, int& line) {
    // Keywords and numbers are read from the upper-case copy, the names of
    // %TEXT and DEF from the text as typed, at the same positions.
    const std::string upper = UpperAscii(normalised);
    switch (section_) {
        case section8::kText:
            return CompileText(upper, normalised);
        case section8::kProgram:
            return CompileProgramLine(upper, line);
        default:
            return CompileOutside(upper, normalised);
    }
}

int LineTable8::CompileOutside(std::string_view upper, std::string_view typed) {
    SourceCursor cur{upper};
    if (cur.Consume(kTextHeadKeyword)) {
        if (textDefined_) return msg::kTextAlreadyDefined;
        section_ = section8::kText;
        if (!cur.Consume("(")) return msg::kNameNotFound;
        SourceCursor name{typed, cur.pos};
        std::string text;
        if (!scanTextName(text, name)) return msg::kNameNotFound;
        cur.pos = name.pos;
        if (!cur.Consume(")")) return msg::kNameTooLong;
        if (!cur.AtEnd()) return msg::kLineTooLong;
        programName_ = text;
        return kOk;
    }
    if (cur.Consume(kProgramHead)) {
        if (programDefined_) return msg::kProgramAlreadyDefined;
        if (!cur.AtEnd()) return msg::kLineTooLong;
        section_ = section8::kProgram;
        return kOk;
    }
    return msg::kNoProgramHead;
}

int LineTable8::CompileText(std::string_view upper, std::string_view typed) {
    SourceCursor cur{upper};
    if (cur.Consume(kDefKeyword)) {
        const VariableKind* kind = FindVariableKind(cur.Peek());
        if (kind == nullptr) return msg::kUnknownVariable;
        ++cur.pos;
        uint8_t index = 0;
        if (!scanUnsigned8(cur, index, kind->firstIndex, kind->lastIndex)) return kind->badIndexMessage;
        if (!cur.Consume("=")) return msg::kFaultySetOperator;
        SourceCursor name{typed, cur.pos};
        std::string text;
        if (!scanDefName(text, name)) return msg::kNameNotFound;
        if (!name.AtEnd()) return msg::kLineTooLong;
        names_.SetName(kind->letter, index, text);
        return kOk;
    }
    if (cur.Consume(kEndKeyword)) {
        if (!cur.AtEnd()) return msg::kLineTooLong;
        textDefined_ = true;
        section_ = section8::kOutside;
        return kOk;
    }
    return msg::kUnknownTextCommand;
}

int LineTable8::CompileProgramLine(std::string_view upper, int& line) {
    SourceCursor cur{upper};
    if (!cur.Consume("N")) {
        if (!cur.Consume(kEndKeyword)) return msg::kUnknownCommandOrNoLabel;
        programDefined_ = true;
        section_ = section8::kOutside;
        if (!cur.AtEnd()) return msg::kLineTooLong;
        return CloseProgram(line);
    }
    uint8_t label = 0;
    if (!scanUnsigned8(cur, label, 1, kMaxLines)) return msg::kLabelError;
    if (entries_[label].Used()) return msg::kLabelAlreadyUsed;
    // The statement is built aside, so a faulty line leaves the entry free
    // for a later line with the same label.
    LineEntry8 entry;
    if (int s = v110::CompileStatement8(cur.Rest(), entry); s != kOk) return s;
    entry.SetUsed(true);
    entry.SetSourceLine(static_cast<uint16_t>(line));
    entries_[label] = entry;
    return kOk;
}

int LineTable8::CloseProgram(int& line) {
    LineEntry8& end = entries_[kEndEntry];
    end.Clear();
    end.SetOpcode(op8::kJumpEnd);
    end.SetNext(op8::kEndTarget);
    end.SetTarget(op8::kEndTarget);
    end.SetUsed(true);
    end.SetOperandKind(operand_kind::kTarget);

    // Every used entry points to the next used one; entry 0 starts the chain.
    int previous = kStartEntry;
    for (int i = 1; i < kEntries; ++i) {
        if (!entries_[i].Used()) continue;
        entries_[previous].SetNext(static_cast<uint16_t>(i));
        previous = i;
    }
    LineEntry8& start = entries_[kStartEntry];
    const uint16_t first = start.Next();
    start.Clear();
    start.SetOpcode(op8::kJump);
    start.SetNext(first);
    start.SetTarget(first);
    start.SetUsed(true);
    start.SetOperandKind(operand_kind::kTarget);

    usedCount_ = 0;
    for (const LineEntry8& entry : entries_) {
        if (entry.Used()) ++usedCount_;
    }

    for (const LineEntry8& entry : entries_) {
        if (!entry.Used() || entry.OperandKind() != operand_kind::kTarget) continue;
        const uint16_t target = entry.Target();
        if (target >= kEntries || !entries_[target].Used()) {
            line = entry.SourceLine();
            return msg::kJumpTargetMissing;
        }
    }

    // Labels must rise with the source lines. Every line 1..254 takes part,
    // N254 included; entries 0 and 255 have no source line.
    int last = -1;
    for (int i = 1; i <= kMaxLines; ++i) {
        if (!entries_[i].Used()) continue;
        if (last >= 0 && entries_[i].SourceLine() <= entries_[last].SourceLine()) {
            line = entries_[last].SourceLine();
            return msg::kLabelsNotRising;
        }
        last = i;
    }
    return kOk;
}

}  // namespace plc
