// Appending a translated statement with the store's form for its layout.
#include "plceditor/v310/compiled_statement.h"

namespace plc {

int AppendStatement(PlcCompiler& store, uint16_t label, const CompiledStatement& s, int line) {
    using Layout = CompiledStatement::Layout;
    switch (s.layout) {
        case Layout::kBytes:
            return store.appendByteOperands(label, s.opcode, s.a, s.b, s.c, s.d, s.e, line);
        case Layout::kWord:
            return store.appendWordOperand(label, s.opcode, s.a, s.b, s.c, s.word, line);
        case Layout::kConstant:
            return store.appendConstant(label, s.opcode, s.a, s.constant, line);
        case Layout::kConstant4:
            return store.appendConstant4(label, s.opcode, s.a, s.constant, line);
        case Layout::kJump:
            return store.appendJump(label, s.opcode, s.a, s.b, s.c, s.word, s.toEnd, line);
    }
    return store.appendByteOperands(label, s.opcode, s.a, s.b, s.c, s.d, s.e, line);
}

}  // namespace plc
