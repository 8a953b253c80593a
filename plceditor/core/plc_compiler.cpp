// The code store: reset, memory size, program numbers, appending records and
// the checks at a program's END.
#include "plceditor/core/plc_compiler.h"

#include <algorithm>

#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"

namespace plc {

PlcCompiler::PlcCompiler() : sourceRecords_(kMaxRecords), code_(kMaxRecords) { programNumbers_.fill(kNoProgramNumber); }

void PlcCompiler::setMemorySize(int words) {
    memorySize_ = std::clamp(words, 0, kMaxMemoryWords);
    recordCapacity_ = memorySize_ * kBytesPerWord / kDeviceBytesPerRecord;
}

bool PlcCompiler::hasProgramHead() const { return code_[0].Opcode() == op::kProgramHead; }

void PlcCompiler::resetStore() {
    textBlockSeen_ = false;
    translationState_ = translation::kOutside;
    programPosition_ = -1;
    usedRecords_ = 0;
    firstStatement_ = 0;
    lastEnd_ = 0;
    textName_.clear();
    programNumbers_.fill(kNoProgramNumber);
    for (CodeRecord& record : sourceRecords_) record.Clear();
    names_.Clear();
}

uint8_t PlcCompiler::ProgramNumber(int position) const {
    if (position < 0 || position >= kMaxPrograms) return kNoProgramNumber;
    return programNumbers_[position];
}

bool PlcCompiler::SetProgramNumber(int position, int number) {
    if (position < 0 || position >= kMaxPrograms || number < 0 || number > kMaxProgramNumber) {
        return false;
    }
    programNumbers_[position] = static_cast<uint8_t>(number);
    return true;
}

int PlcCompiler::FindProgramPosition(int number) const {
    if (number < 0 || number > kMaxProgramNumber) return -1;
    for (int p = 0; p < kMaxPrograms; ++p) {
        if (programNumbers_[p] == number) return p;
    }
    return -1;
}

CodeRecord* PlcCompiler::NextRecord(uint16_t label, uint8_t opcode, uint8_t a, uint8_t b, uint8_t c, uint16_t word,
                                    uint8_t recordForm, int line) {
    if (usedRecords_ >= recordCapacity_) return nullptr;
    CodeRecord& record = sourceRecords_[usedRecords_++];
    record.Clear();
    record.SetLabel(label);
    record.SetOpcode(opcode);
    record.SetOperandA(a);
    record.SetOperandB(b);
    record.SetOperandC(c);
    record.SetTarget(word);
    record.SetSourceLine(line);
    record.SetForm(recordForm);
    return &record;
}

int PlcCompiler::appendHead(uint8_t opcode, uint8_t operandA, int line) {
    if (operandA >= kMaxPrograms) return msg::kProgramNumberError;
    if (!NextRecord(0, opcode, operandA, 0, 0, 0, form::kHead, line)) return msg::kOutOfMemory;
    lastEnd_ = 0;
    firstStatement_ = usedRecords_;
    return msg::kNoError;
}

int PlcCompiler::appendPlain(uint16_t label, uint8_t opcode, uint8_t a, uint8_t b, uint8_t c, uint16_t target,
                             int line) {
    if (!NextRecord(label, opcode, a, b, c, target, form::kPlain, line)) return msg::kOutOfMemory;
    lastEnd_ = usedRecords_ - 1;
    return msg::kNoError;
}

int PlcCompiler::appendJump(uint16_t label, uint8_t opcode, uint8_t a, uint8_t b, uint8_t c, uint16_t targetLabel,
                            bool toEnd, int line) {
    CodeRecord* record = NextRecord(label, opcode, a, b, c, targetLabel, form::kJump, line);
    if (record == nullptr) return msg::kOutOfMemory;
    record->SetEndFlag(toEnd);
    return msg::kNoError;
}

int PlcCompiler::appendWordOperand(uint16_t label, uint8_t opcode, uint8_t a, uint8_t b, uint8_t c, uint16_t word,
                                   int line) {
    if (!NextRecord(label, opcode, a, b, c, word, form::kOperands, line)) return msg::kOutOfMemory;
    return msg::kNoError;
}

int PlcCompiler::appendByteOperands(uint16_t label, uint8_t opcode, uint8_t a, uint8_t b, uint8_t c, uint8_t d,
                                    uint8_t e, int line) {
    const auto de = static_cast<uint16_t>(d | (e << 8));
    if (!NextRecord(label, opcode, a, b, c, de, form::kOperands, line)) return msg::kOutOfMemory;
    return msg::kNoError;
}

int PlcCompiler::appendConstant(uint16_t label, uint8_t opcode, uint8_t a, uint32_t constant, int line) {
    return AppendConstantRecord(label, opcode, a, constant, form::kConstant, line);
}

int PlcCompiler::appendConstant4(uint16_t label, uint8_t opcode, uint8_t a, uint32_t constant, int line) {
    return AppendConstantRecord(label, opcode, a, constant, form::kConstant4, line);
}

int PlcCompiler::AppendConstantRecord(uint16_t label, uint8_t opcode, uint8_t a, uint32_t constant, uint8_t recordForm,
                                      int line) {
    // Bytes 4-7 little-endian: b, c and the high halfword.
    if (!NextRecord(label,
                    opcode,
                    a,
                    static_cast<uint8_t>(constant),
                    static_cast<uint8_t>(constant >> 8),
                    static_cast<uint16_t>(constant >> 16),
                    recordForm,
                    line)) {
        return msg::kOutOfMemory;
    }
    return msg::kNoError;
}

int PlcCompiler::CloseProgram(int& line) {
    const int result = appendPlain(0, op::kProgramEnd, 0, 0, 0, 0, line);
    if (result != msg::kNoError) return result;
    const int end = lastEnd_;
    const int first = std::min(firstStatement_, end);
    // A head that was refused leaves no record to point at; the statements
    // are still checked.
    const int head = first - 1;
    if (head >= 0 && sourceRecords_[head].Opcode() == op::kProgramHead) {
        sourceRecords_[head].SetTarget(static_cast<uint16_t>(first));
        sourceRecords_[head].SetEndIndex(static_cast<uint16_t>(end));
    }
    return CheckProgramStatements(first, end, line);
}

int PlcCompiler::CheckProgramStatements(int first, int end, int& line) const {
    for (int i = first; i < end; ++i) {
        const CodeRecord& record = sourceRecords_[i];
        if (record.Form() == form::kJump && !record.EndFlag()) {
            const bool found = std::any_of(sourceRecords_.begin() + first,
                                           sourceRecords_.begin() + end,
                                           [&](const CodeRecord& r) { return r.Label() == record.Target(); });
            if (!found) {
                line = record.SourceLine();
                return msg::kJumpTargetMissing;
            }
        }
        if (i != first && record.Label() <= sourceRecords_[i - 1].Label()) {
            line = record.SourceLine();
            return msg::kLabelsNotRising;
        }
        for (int j = i + 1; j < end; ++j) {
            if (sourceRecords_[j].Label() == record.Label()) {
                line = sourceRecords_[j].SourceLine();
                return msg::kLabelAlreadyUsed;
            }
        }
    }
    return msg::kNoError;
}

}  // namespace plc
