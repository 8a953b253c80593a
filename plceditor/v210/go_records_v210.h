// How code generator V2.10 keeps its positioning commands (GO W A/R, GO A/R,
// GO W RT, GO RT, GO V) in a record: the target in a, the speed in b, the
// direction in c and in e whether the speed is missing. Its line compiler
// writes them and its decoder reads them.
#pragma once

#include <cstdint>
#include <string>

#include "plceditor/core/code_record.h"
#include "plceditor/v310/compiled_statement.h"
#include "plceditor/v310/line_parser.h"

namespace plc::v210 {

// Byte c of 'GO W A', 'GO W R', 'GO A' and 'GO R'.
constexpr uint8_t kGoAbsolute = 0;
constexpr uint8_t kGoRelative = 1;
// Byte e of the target forms when no 'V Hv' follows.
constexpr uint8_t kGoWithoutSpeed = 1;

// After the keyword of a positioning form (opcode given): the target H
// index, then nothing or 'V Hv'; after 'GO V' the speed H index alone.
// Anything else after the target gives kUnknownGoCommand.
int ReadGoPositioning(LineParser& parser, CompiledStatement& s, uint8_t opcode);

// The statement of a positioning record behind its label; false for a
// direction byte other than A or R, or another opcode.
bool GoStatement(const CodeRecord& record, std::string& statement);

}  // namespace plc::v210
