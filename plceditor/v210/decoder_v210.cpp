// The V2.10 dialect of the record decoder.
#include "plceditor/v210/decoder_v210.h"

#include "plceditor/core/plc_language.h"
#include "plceditor/core/plc_opcodes.h"
#include "plceditor/v210/go_records_v210.h"

namespace plc::v210 {

const DecoderDialect& DecoderV210() {
    const GeneratorSubset& subset = Subset(PlcGenerator::kV210);
    static const DecoderDialect dialect = {
        op::kLastOpcodeV210,
        static_cast<std::size_t>(subset.statusNames),
        static_cast<std::size_t>(subset.integerSourceNames),
        static_cast<std::size_t>(subset.integerTargetNames),
        GoStatement,
    };
    return dialect;
}

bool decodeLine20(const PlcCompiler& store, std::string& text, int recordIndex, int baseIndex, int step) {
    return DecodeRecord20(DecoderV210(), store.CodeArray(), text, recordIndex, baseIndex, step);
}

}  // namespace plc::v210
