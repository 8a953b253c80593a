// Turning a linked V2.10 code array back into source text: the record
// decoder with V2.10's opcodes, names and GO texts, and the program walker
// that renumbers programs and labels.
#pragma once

#include <string>

#include "plceditor/core/plc_compiler.h"
#include "plceditor/v310/program_walker.h"
#include "plceditor/v310/record_decoder.h"

namespace plc::v210 {

// Opcodes up to 176, 32 status bits, 17 drive values to read, 9 to write.
const DecoderDialect& DecoderV210();

// Writes the text of the record at `recordIndex` of the store's code array,
// labels step x (index - baseIndex); true for a valid line, false for an
// error text.
bool decodeLine20(const PlcCompiler& store, std::string& text, int recordIndex, int baseIndex, int step);

// findProgramEnds and decodeNextLine over a V2.10 store.
class ProgramWalkerV210 : public ProgramWalker {
public:
    explicit ProgramWalkerV210(PlcCompiler& store) : ProgramWalker(store, DecoderV210()) {}
};

}  // namespace plc::v210
