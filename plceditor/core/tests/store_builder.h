// Builds source-order programs in a code store the way a line compiler does,
// one call per source line, for the tests of the store, linker and files.
#pragma once

#include <gtest/gtest.h>

#include "plceditor/core/plc_compiler.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"

namespace plc::test {

class StoreBuilder {
public:
    explicit StoreBuilder(PlcCompiler& store) : store_(store) {}

    // '%Pnn' at the next position; returns the append's message.
    int Head(int number) {
        const int position = store_.AdvanceProgramPosition();
        store_.SetTranslationState(translation::kInProgram);
        store_.SetProgramNumber(position, number);
        return store_.appendHead(op::kProgramHead, static_cast<uint8_t>(position), line_++);
    }
    int Nop(uint16_t label) { return store_.appendPlain(label, op::kNop, 0, 0, 0, 0, line_++); }
    int Jump(uint16_t label, uint16_t target) {
        return store_.appendJump(label, op::kJump, 0, 0, 0, target, false, line_++);
    }
    int JumpEnd(uint16_t label) { return store_.appendJump(label, op::kJump, 0, 0, 0, 0, true, line_++); }
    int JumpProgram(uint16_t label, uint8_t number) {
        return store_.appendWordOperand(label, op::kProgramJump, op::kProgramJumpByNumber, number, 0, 0, line_++);
    }
    // The END line; `line` receives the line of a fault.
    int End(int* faultLine = nullptr) {
        store_.SetTranslationState(translation::kOutside);
        int line = line_++;
        const int result = store_.CloseProgram(line);
        if (faultLine != nullptr) *faultLine = line;
        return result;
    }
    int NextLine() const { return line_; }

private:
    PlcCompiler& store_;
    int line_ = 0;
};

}  // namespace plc::test
