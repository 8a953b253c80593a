// The fuzz steps of the 20-byte generators' line compilers and decoders. The
// input is split at newlines: every line goes to the compiler (a store that
// may fill up and whose state moves as the lines say), and then the same
// bytes, taken six at a time as device records, fill a code array that the
// walker and the decoder turn back into text. Neither may crash, read outside
// its tables or loop; every answer must be a known message, and every record
// an opcode the generator emits.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "plceditor/core/plc_compiler.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"
#include "plceditor/v310/program_walker.h"
#include "plceditor/v310/record_decoder.h"

namespace plc::fuzz {

inline void Require(bool condition) {
    if (!condition) std::abort();
}

constexpr int kSmallMemoryWords = 60;  // 40 records: the store fills up too
constexpr int kMaxLines = 4000;
constexpr std::size_t kDeviceBytes = 6;

using CompileSourceLineFn = int (*)(PlcCompiler&, std::string_view, int&);

inline void CompileLines(std::string_view text, CompileSourceLineFn compile, PlcGenerator generator) {
    PlcCompiler store;
    store.setMemorySize(kSmallMemoryWords);
    store.resetStore();
    store.setStrictProgramNumbers(!text.empty() && (text[0] & 1) != 0);
    int index = 0;
    while (!text.empty()) {
        const std::size_t cut = text.find('\n');
        const std::string_view line = text.substr(0, cut);
        text = cut == std::string_view::npos ? std::string_view() : text.substr(cut + 1);
        int reported = index++;
        const int result = compile(store, line, reported);
        Require(!MessageText(result).empty());
        Require(store.UsedRecords() <= store.recordCapacity());
    }
    for (int i = 0; i < store.UsedRecords(); ++i) {
        Require(op::EmitsOpcode(generator, store.SourceRecords()[i].Opcode()));
    }
    int line = -1;
    Require(!MessageText(store.linkProgram(line)).empty());
}

inline void DecodeRecords(const uint8_t* data, std::size_t size, const DecoderDialect& dialect) {
    PlcCompiler store;
    store.setMemorySize(kSmallMemoryWords);
    store.resetStore();
    auto code = store.CodeArray();
    const std::size_t records =
        std::min<std::size_t>(size / kDeviceBytes, static_cast<std::size_t>(store.recordCapacity()));
    for (std::size_t i = 0; i < records; ++i) {
        const uint8_t* p = data + i * kDeviceBytes;
        code[i].SetOpcode(p[0]);
        code[i].SetOperandA(p[1]);
        code[i].SetOperandB(p[2]);
        code[i].SetOperandC(p[3]);
        code[i].SetOperandD(p[4]);
        code[i].SetOperandE(p[5]);
        // Some records also try a base beyond their index.
        std::string text;
        DecodeRecord20(dialect, code, text, static_cast<int>(i), static_cast<int>(i) + (p[1] & 7), 10);
        Require(!text.empty());
    }
    ProgramWalker walker(store, dialect);
    int used = 0;
    walker.findProgramEnds(used);
    std::string text;
    int line = 0;
    int message = 0;
    int lines = 0;
    while (walker.decodeNextLine(text, line, message)) {
        Require(++lines <= kMaxLines);
        Require(!text.empty());
    }
    Require(!MessageText(message).empty());
}

}  // namespace plc::fuzz
