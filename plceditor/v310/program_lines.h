// The line-by-line state machine that the 20-byte generators share: the text
// declaration block (%TEXT, DEF, END), program heads, labels and the END of a
// program. The statements after a label, and what a head whose number is out
// of order answers, come from the generator.
#pragma once

#include <string_view>

#include "plceditor/core/plc_compiler.h"
#include "plceditor/v310/compiled_statement.h"
#include "plceditor/v310/line_parser.h"

namespace plc {

struct ProgramLineRules {
    // The answer for a head whose number differs from its position while
    // program numbers must equal positions (the head is still recorded).
    int (*outOfOrderHead)(const PlcCompiler& store, int position, int number);
    // Reads the statement after a label into `statement`; kNoMatch when none
    // of the generator's keywords starts it.
    int (*statement)(LineParser& parser, CompiledStatement& statement);
};

// Translates one line without blanks at `line` (the editor's line index) by
// the store's translation state, and answers with a message. For a fault
// found at a program's END, `line` becomes the offending record's line.
int CompileProgramLine(PlcCompiler& store, std::string_view text, int& line, const ProgramLineRules& rules);

// The line entry for a line whose comment is already cut off: a text of 0 or
// of 80 and more characters gives kLineTooLong, a text of blanks kNoError
// without a record; anything else goes to CompileProgramLine without its
// blanks.
int CompileSourceProgramLine(PlcCompiler& store, std::string_view text, int& line, const ProgramLineRules& rules);

}  // namespace plc
