// Fuzz target of the V3.10 line compiler and decoder (steps in line_fuzz.h).
#include "plceditor/v310/fuzz/line_fuzz.h"
#include "plceditor/v310/line_compiler_v310.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plc::fuzz::CompileLines(std::string_view(reinterpret_cast<const char*>(data), size),
                            plc::v310::compileSourceLine,
                            plc::PlcGenerator::kV310);
    plc::fuzz::DecodeRecords(data, size, plc::DecoderV310());
    return 0;
}
