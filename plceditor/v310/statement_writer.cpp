// The line of one code record: label, statement and the fault marks.
#include "plceditor/v310/statement_writer.h"

#include "platform/base/format.h"
#include "plceditor/core/operand_scanners.h"

namespace plc::decoder {

namespace {

constexpr std::string_view kUnknownName = "???";
constexpr std::string_view kErrorPrefix = "ERROR: ";

}  // namespace

bool StatementWriter::Write(std::string& text) {
    std::string statement;
    if (r_.Opcode() > dialect_.lastOpcode) {
        text = kUnknownOpcodeText;
        return false;
    }
    Written written = WriteJumpStatement(*this, statement);
    if (written == Written::kNotInGroup) written = WriteSetStatement(*this, statement);
    if (written == Written::kNotInGroup) written = WriteCommandStatement(*this, statement);
    switch (written) {
        case Written::kLine:
            text = statement;
            return true;
        case Written::kFault:
        case Written::kNotInGroup:
            text = statement;
            return false;
        case Written::kStatement:
            break;
    }
    text = platform::Format("N%03d ", label_) + statement;
    if (faulty_) {
        text.insert(0, kErrorPrefix);
        return false;
    }
    return !unknownName_;
}

char StatementWriter::Operator(int code) {
    if (code < 0 || code >= static_cast<int>(kOperatorChars.size())) {
        faulty_ = true;
        return '?';
    }
    return kOperatorChars[static_cast<std::size_t>(code)];
}

std::string StatementWriter::Io(bool output, int code) {
    std::string name;
    if (!ioName(output, code, name)) faulty_ = true;
    return name;
}

std::string_view StatementWriter::Name(std::span<const NamedCode> table, std::size_t count, int code) {
    const std::string_view name = DisplayNameForCode(table, count, code);
    if (name == kUnknownNameText) {
        faulty_ = true;
        return kUnknownName;
    }
    return name;
}

std::string_view StatementWriter::Lenient(std::string_view name) {
    if (name == kUnknownNameText) unknownName_ = true;
    return name;
}

std::string StatementWriter::FloatConstant() const { return FloatConstantText(r_.Constant()); }

}  // namespace plc::decoder
