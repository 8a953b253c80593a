// One translated statement before it enters the code store: its opcode and
// operands and which append form of the store writes it.
#pragma once

#include <cstdint>

#include "plceditor/core/plc_compiler.h"

namespace plc {

struct CompiledStatement {
    enum class Layout {
        kBytes,      // a, b, c, d, e
        kWord,       // a, b, c and the 16-bit word in bytes 6-7
        kConstant,   // a and the 32-bit constant in bytes 4-7
        kConstant4,  // the same, second kind (the WAIT time)
        kJump,       // a, b, c and a label target or END
    };
    Layout layout = Layout::kBytes;
    uint8_t opcode = 0;
    uint8_t a = 0;
    uint8_t b = 0;
    uint8_t c = 0;
    uint8_t d = 0;
    uint8_t e = 0;
    uint16_t word = 0;  // kWord: the word; kJump: the target label
    uint32_t constant = 0;
    bool toEnd = false;  // kJump: the target is the program's END

    void SetWord(uint16_t value) {
        layout = Layout::kWord;
        word = value;
    }
    void SetConstant(uint32_t value, Layout kind = Layout::kConstant) {
        layout = kind;
        constant = value;
    }
    void SetJump(uint16_t targetLabel, bool end) {
        layout = Layout::kJump;
        word = targetLabel;
        toEnd = end;
    }
};

// Appends the statement with its label at the source line; the store's
// answer (kOutOfMemory when it is full).
int AppendStatement(PlcCompiler& store, uint16_t label, const CompiledStatement& statement, int line);

}  // namespace plc
