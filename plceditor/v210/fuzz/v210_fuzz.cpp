// Fuzz target of the V2.10 line compiler and decoder (steps in line_fuzz.h).
#include "plceditor/v210/decoder_v210.h"
#include "plceditor/v210/line_compiler_v210.h"
#include "plceditor/v310/fuzz/line_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plc::fuzz::CompileLines(std::string_view(reinterpret_cast<const char*>(data), size),
                            plc::v210::compileSourceLine,
                            plc::PlcGenerator::kV210);
    plc::fuzz::DecodeRecords(data, size, plc::v210::DecoderV210());
    return 0;
}
