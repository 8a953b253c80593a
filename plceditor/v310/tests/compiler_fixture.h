// A code store opened on a program, for translating single statement lines
// and looking at the record they leave.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "plceditor/core/plc_compiler.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/v310/line_compiler_v310.h"

namespace plc::test {

constexpr int kDefaultMemoryWords = 747;

// Bytes 4-7 of a record as one little-endian value: b, c, d, e.
constexpr uint32_t Bytes4(uint8_t b, uint8_t c, uint8_t d = 0, uint8_t e = 0) {
    return static_cast<uint32_t>(b) | (static_cast<uint32_t>(c) << 8) | (static_cast<uint32_t>(d) << 16) |
           (static_cast<uint32_t>(e) << 24);
}
// Bytes 4-7 with a 16-bit word in bytes 6-7 (a jump's label, a number).
constexpr uint32_t Word4(uint16_t word, uint8_t b = 0, uint8_t c = 0) {
    return Bytes4(b, c) | (static_cast<uint32_t>(word) << 16);
}

// The line entry of a code generator.
using CompileSourceLineFn = int (*)(PlcCompiler&, std::string_view, int&);

class LineCompiler {
public:
    LineCompiler(CompileSourceLineFn compile, int memoryWords) : compile_(compile) {
        store.setMemorySize(memoryWords);
        store.resetStore();
    }

    // Translates the lines in order (line index = position) and gives their
    // messages.
    std::vector<int> Lines(const std::vector<std::string>& lines) {
        std::vector<int> results;
        for (const std::string& text : lines) results.push_back(Line(text));
        return results;
    }
    int Line(std::string_view text) {
        lastLine = nextLine_++;
        return compile_(store, text, lastLine);
    }

    PlcCompiler store;
    int lastLine = -1;  // the line index as the last call left it

private:
    CompileSourceLineFn compile_;
    int nextLine_ = 0;
};

class V310Compiler : public LineCompiler {
public:
    explicit V310Compiler(int memoryWords = kDefaultMemoryWords) : LineCompiler(v310::compileSourceLine, memoryWords) {}
};

}  // namespace plc::test
