// Fuzz target of the V3.10 line compiler and decoder. The input is split at
// newlines: every line goes to the compiler (a store that may fill up and
// whose state moves as the lines say), and then the same bytes, taken six at
// a time as device records, fill a code array that the walker and the
// decoder turn back into text. Neither may crash, read outside its tables or
// loop; every decoded line must be a known answer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "plceditor/core/plc_messages.h"
#include "plceditor/core/plc_opcodes.h"
#include "plceditor/v310/line_compiler_v310.h"
#include "plceditor/v310/program_walker.h"
#include "plceditor/v310/record_decoder.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

constexpr int kSmallMemoryWords = 60;  // 40 records: the store fills up too
constexpr int kMaxLines = 4000;

void CompileLines(std::string_view text) {
    plc::PlcCompiler store;
    store.setMemorySize(kSmallMemoryWords);
    store.resetStore();
    store.setStrictProgramNumbers(!text.empty() && (text[0] & 1) != 0);
    int index = 0;
    while (!text.empty()) {
        const std::size_t cut = text.find('\n');
        const std::string_view line = text.substr(0, cut);
        text = cut == std::string_view::npos ? std::string_view() : text.substr(cut + 1);
        int reported = index++;
        const int result = plc::v310::compileSourceLine(store, line, reported);
        Require(!plc::MessageText(result).empty());
        Require(store.UsedRecords() <= store.recordCapacity());
    }
    int line = -1;
    Require(!plc::MessageText(store.linkProgram(line)).empty());
}

void DecodeRecords(const uint8_t* data, std::size_t size) {
    plc::PlcCompiler store;
    store.setMemorySize(kSmallMemoryWords);
    store.resetStore();
    auto code = store.CodeArray();
    const std::size_t records = std::min<std::size_t>(size / 6, store.recordCapacity());
    for (std::size_t i = 0; i < records; ++i) {
        const uint8_t* p = data + i * 6;
        code[i].setOpcode(p[0]);
        code[i].setOperandA(p[1]);
        code[i].setOperandB(p[2]);
        code[i].setOperandC(p[3]);
        code[i].setOperandD(p[4]);
        code[i].setOperandE(p[5]);
        // Odd records also try the END flag and a base beyond the index.
        std::string text;
        plc::PlcDecoder(store, text, static_cast<int>(i), static_cast<int>(i) + (p[1] & 7), 10);
        Require(!text.empty());
    }
    plc::ProgramWalker walker(store);
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
    Require(!plc::MessageText(message).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CompileLines(std::string_view(reinterpret_cast<const char*>(data), size));
    DecodeRecords(data, size);
    return 0;
}
