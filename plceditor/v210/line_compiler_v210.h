// The line compiler of code generator V2.10: translates one source line into
// at most one 20-byte code record appended to the V2.10 code store, and
// answers with a message number (kNoError when the line is good). It knows
// fewer statements and names than V3.10 and keeps GO operands its own way.
#pragma once

#include <string_view>

#include "plceditor/core/plc_compiler.h"
#include "plceditor/v310/compiled_statement.h"
#include "plceditor/v310/line_parser.h"
#include "plceditor/v310/statement_readers.h"

namespace plc::v210 {

// The entry for a line whose comment is already cut off: a text of 0 or of
// 80 and more characters gives kLineTooLong, a text of blanks gives kNoError
// without a record, anything else goes to compileLine without its blanks.
// `line` is the editor's line index; for a fault found at a program's END it
// becomes the line of the offending record.
int compileSourceLine(PlcCompiler& store, std::string_view text, int& line);

// Translates a line without blanks by the store's translation state.
int compileLine(PlcCompiler& store, std::string_view text, int& line);

// Reads the statement after a label (keywords tried in V2.10's fixed order);
// kNoMatch when none starts it.
int CompileStatement(LineParser& parser, CompiledStatement& statement);

// What a head whose number differs from its position answers while numbers
// must equal positions: kProgramNumberUsed when the program position with
// that number already holds a head, else kProgramNumberNotRising.
int OutOfOrderHead(const PlcCompiler& store, int position, int number);

// The names, operands and messages of V2.10's statement readers.
const v310::StatementRules& RulesV210();

}  // namespace plc::v210
