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

    for (CodeRecord& record : code_) record.Clear();
    int heads = 0;
    for (int i = 0; i < usedRecords_; ++i) {
        if (sourceRecords_[i].Opcode() == op::kProgramHead) code_[heads++] = sourceRecords_[i];
    }

    if (strictNumbering_) {
        for (int p = 0; p < kMaxPrograms; ++p) {
            if (programNumbers_[p] != kNoProgramNumber && programNumbers_[p] != p) {
                line = code_[p].SourceLine();
                return msg::kProgramNumberNotRising;
            }
        }
    }
    if (heads - 1 != programPosition_) return msg::kProgramDefinitionInternal;

    int place = heads;
    for (int h = 0; h < heads; ++h) {
        CodeRecord& head = code_[h];
        const int first = head.Target();
        const int end = head.EndIndex();
        // Head indices come from the END line of each program; a program that
        // never got its END record leaves them pointing at no END.
        if (first > end || end >= usedRecords_ || place + (end - first + 1) > recordCapacity_ ||
            sourceRecords_[end].Opcode() != op::kProgramEnd) {
            line = head.SourceLine();
            return msg::kNoProgramEndInCode;
        }
        std::copy(sourceRecords_.begin() + first, sourceRecords_.begin() + end + 1, code_.begin() + place);
        const int codeEnd = place + (end - first);
        head.SetTarget(static_cast<uint16_t>(place));
        head.SetEndIndex(static_cast<uint16_t>(codeEnd));
        const int result = LinkJumps(place, codeEnd, line);
        if (result != msg::kNoError) return result;
        place = codeEnd + 1;
    }
    return msg::kNoError;
}

int PlcCompiler::LinkJumps(int first, int end, int& line) {
    for (int i = first; i <= end; ++i) {
        CodeRecord& record = code_[i];
        if (record.Opcode() == op::kProgramJump && record.OperandA() == op::kProgramJumpByNumber) {
            const int number = record.OperandB();
            if (strictNumbering_) {
                if (ProgramNumber(number) == kNoProgramNumber) {
                    line = record.SourceLine();
                    return msg::kProgramNotFound;
                }
                if (ProgramNumber(number) != number) {
                    line = record.SourceLine();
                    return msg::kProgramDefinitionInternal;
                }
            } else {
                const int position = FindProgramPosition(number);
                if (position < 0) {
                    line = record.SourceLine();
                    return msg::kProgramNotFound;
                }
                record.SetOperandB(static_cast<uint8_t>(position));
            }
        }
        if (record.Form() == form::kJump) {
            if (record.EndFlag()) {
                record.SetTarget(static_cast<uint16_t>(end));
                continue;
            }
            int found = -1;
            for (int j = first; j <= end; ++j) {
                if (code_[j].Label() == record.Target()) {
                    found = j;
                    break;
                }
            }
            if (found < 0) {
                line = record.SourceLine();
                return msg::kLabelNotFound;
            }
            record.SetTarget(static_cast<uint16_t>(found));
        }
    }
    return msg::kNoError;
}

}  // namespace plc
