// Linking the source-order records into the code array: all program heads
// first, then each program's records with program jumps and label jumps
// resolved to code-array indices.
#include <algorithm>

#include "plceditor/core/plc_compiler.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"

namespace plc {

int PlcCompiler::linkProgram(int& line) {
    if (translationState_ == translation::kInTextBlock) return msg::kMissingTextEnd;
    if (translationState_ == translation::kInProgram) return msg::kMissingProgramEnd;
    if (programPosition_ == -1) return msg::kNoProgram;

    for (CodeRecord& record : code_) record.clear();
    int heads = 0;
    for (int i = 0; i < usedRecords_; ++i) {
        if (sourceRecords_[i].opcode() == op::kProgramHead) code_[heads++] = sourceRecords_[i];
    }

    if (strictNumbering_) {
        for (int p = 0; p < kMaxPrograms; ++p) {
            if (programNumbers_[p] != kNoProgramNumber && programNumbers_[p] != p) {
                line = code_[p].sourceLine();
                return msg::kProgramNumberNotRising;
            }
        }
    }
    if (heads - 1 != programPosition_) return msg::kProgramDefinitionInternal;

    int place = heads;
    for (int h = 0; h < heads; ++h) {
        CodeRecord& head = code_[h];
        const int first = head.target();
        const int end = head.endIndex();
        // Head indices come from the END line of each program; a program that
        // never got its END record leaves them pointing at no END.
        if (first > end || end >= usedRecords_ || place + (end - first + 1) > recordCapacity_ ||
            sourceRecords_[end].opcode() != op::kProgramEnd) {
            line = head.sourceLine();
            return msg::kNoProgramEndInCode;
        }
        std::copy(sourceRecords_.begin() + first, sourceRecords_.begin() + end + 1,
                  code_.begin() + place);
        const int codeEnd = place + (end - first);
        head.setTarget(static_cast<uint16_t>(place));
        head.setEndIndex(static_cast<uint16_t>(codeEnd));
        const int result = LinkJumps(place, codeEnd, line);
        if (result != msg::kNoError) return result;
        place = codeEnd + 1;
    }
    return msg::kNoError;
}

int PlcCompiler::LinkJumps(int first, int end, int& line) {
    for (int i = first; i <= end; ++i) {
        CodeRecord& record = code_[i];
        if (record.opcode() == op::kProgramJump && record.operandA() == op::kProgramJumpByNumber) {
            const int number = record.operandB();
            if (strictNumbering_) {
                if (ProgramNumber(number) == kNoProgramNumber) {
                    line = record.sourceLine();
                    return msg::kProgramNotFound;
                }
                if (ProgramNumber(number) != number) {
                    line = record.sourceLine();
                    return msg::kProgramDefinitionInternal;
                }
            } else {
                const int position = FindProgramPosition(number);
                if (position < 0) {
                    line = record.sourceLine();
                    return msg::kProgramNotFound;
                }
                record.setOperandB(static_cast<uint8_t>(position));
            }
        }
        if (record.form() == form::kJump) {
            if (record.endFlag()) {
                record.setTarget(static_cast<uint16_t>(end));
                continue;
            }
            int found = -1;
            for (int j = first; j <= end; ++j) {
                if (code_[j].label() == record.target()) {
                    found = j;
                    break;
                }
            }
            if (found < 0) {
                line = record.sourceLine();
                return msg::kLabelNotFound;
            }
            record.setTarget(static_cast<uint16_t>(found));
        }
    }
    return msg::kNoError;
}

}  // namespace plc
