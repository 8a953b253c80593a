// Turns a 20-byte code record back into one line of source text. The text
// of every opcode is that of code generator V3.10; a generator with fewer
// statements (V2.10) decodes with a dialect of its own: its last opcode, how
// many entries of the shared name tables it knows and how it writes GO.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "plceditor/core/code_record.h"
#include "plceditor/core/plc_compiler.h"

namespace plc {

struct DecoderDialect {
    int lastOpcode;  // above it every opcode is unknown
    std::size_t statusNames;
    std::size_t integerSourceNames;
    std::size_t integerTargetNames;
    // The statement of a positioning record (opcodes 129-132 and 166-168)
    // behind the label; false when the record cannot be written as one.
    bool (*goStatement)(const CodeRecord& record, std::string& statement);
};

// Code generator V3.10: every opcode up to 200 and all names.
const DecoderDialect& DecoderV310();

// Writes the record at `recordIndex` of `code`: its label is step x
// (recordIndex - baseIndex), a jump target step x (target - baseIndex) as
// "N%03d", or "END" when the record's END flag is set. True for a statement
// (also a reserved-command remark), false with an error text. An index
// outside `code` is a record without code.
bool DecodeRecord20(const DecoderDialect& dialect, std::span<const CodeRecord> code, std::string& text, int recordIndex,
                    int baseIndex, int step);

// DecodeRecord20 with the V3.10 texts on the store's code array.
bool PlcDecoder(const PlcCompiler& store, std::string& text, int recordIndex, int baseIndex, int step);

// Display names by code, of the first `count` table entries; "Unknown
// command" for a code that none of them has.
std::string_view integerSourceName(int code, std::size_t count = kIntegerSourceNames.size());
std::string_view floatTargetName(int code, std::size_t count = kFloatTargetNames.size());
std::string_view integerTargetName(int code, std::size_t count = kIntegerTargetNames.size());

// The options of a positioning record, present ones in the order V (b),
// A (c), D (d), J (e): "V H%03d ", "A H%03d ", "D H%03d ", "J H%03d"; an
// option byte of 255 is absent. The speed form leaves out V.
std::string formatGoOptions(const CodeRecord& record);
std::string formatGoSpeedOptions(const CodeRecord& record);

}  // namespace plc
