// Fuzz target of the binary programme file reader: the first two bytes choose
// the memory size, the rest is the file's text. Whatever the text, only the
// device bytes of records below the capacity may change, and writing the
// image back must give the same words.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "plceditor/core/plc_compiler.h"
#include "plceditor/core/program_words.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // Spans -1 .. 4097 and beyond so that the clamping is exercised too.
    const int memory = static_cast<int>((data[0] | (data[1] << 8)) % 4200) - 1;
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    plc::PlcCompiler store;
    store.setMemorySize(memory);
    store.resetStore();
    store.ReadBinaryProgrammeText(text);

    const auto code = store.CodeArray();
    for (int i = 0; i < plc::PlcCompiler::kMaxRecords; ++i) {
        const auto& bytes = code[i].Bytes();
        for (int b : {2, 3, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}) Require(bytes[b] == 0);
        if (i >= store.recordCapacity()) Require(code[i] == plc::CodeRecord{});
    }

    uint32_t crc = 0;
    double percent = -1;
    int used = -1;
    store.programChecksumInfo(crc, percent, used);
    Require(crc != 0 && percent == 0.0 && used == 0);

    std::vector<uint32_t> words(static_cast<size_t>(store.memorySize()));
    plc::PackProgramWords(code, store.recordCapacity(), words);
    plc::PlcCompiler again;
    again.setMemorySize(memory);
    plc::UnpackProgramWords(words, again.recordCapacity(), again.CodeArray());
    for (int i = 0; i < plc::PlcCompiler::kMaxRecords; ++i) Require(again.CodeArray()[i] == code[i]);
    return 0;
}
