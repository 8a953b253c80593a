// Writes the text of one 20-byte code record (inside the decoder). Operand
// helpers mark the line faulty where a byte names nothing in its table, so
// no table is ever indexed with an unchecked byte.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "plceditor/core/code_record.h"
#include "plceditor/core/plc_language.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/v310/record_decoder.h"

namespace plc::decoder {

// What a statement writer produced.
enum class Written {
    kStatement,   // a statement to put behind the label
    kLine,        // a whole line that stands as it is (head, END, remark)
    kFault,       // a whole error line
    kNotInGroup,  // the opcode belongs to another group
};

class StatementWriter {
public:
    StatementWriter(const DecoderDialect& dialect, const CodeRecord& record, int label, std::string target)
        : dialect_(dialect), r_(record), label_(label), target_(std::move(target)) {}

    // Writes the record's line into `text`; false for an error text.
    bool Write(std::string& text);

    // ---- used by the opcode groups ----
    const CodeRecord& Record() const { return r_; }
    const DecoderDialect& Dialect() const { return dialect_; }
    int Label() const { return label_; }
    // "N%03d" of the jump target, or "END".
    const std::string& Target() const { return target_; }
    // The operator character of a code of "=&|^"; '?' and faulty otherwise.
    char Operator(int code);
    // ioName; "???ERR" and faulty for a code without a name.
    std::string Io(bool output, int code);
    // The name of the entry with this code among the first `count`; "???"
    // and faulty when there is none.
    std::string_view Name(std::span<const NamedCode> table, std::size_t count, int code);
    // A lookup that answers "Unknown command" for a missing code: the line
    // keeps that text and counts as not decoded.
    std::string_view Lenient(std::string_view name);
    // Float constant R and integer constant K of bytes 4-7.
    std::string FloatConstant() const;
    int32_t IntegerConstant() const { return static_cast<int32_t>(r_.Constant()); }
    // Marks the line faulty: it is written as "ERROR: " and the line.
    void Faulty() { faulty_ = true; }

private:
    const DecoderDialect& dialect_;
    const CodeRecord& r_;
    int label_;
    std::string target_;
    bool faulty_ = false;
    bool unknownName_ = false;
};

// The opcode groups; each writes the statement (without label) into `out`.
Written WriteJumpStatement(StatementWriter& w, std::string& out);
Written WriteSetStatement(StatementWriter& w, std::string& out);
Written WriteCommandStatement(StatementWriter& w, std::string& out);

}  // namespace plc::decoder
