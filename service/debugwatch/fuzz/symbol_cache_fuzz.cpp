// The symbol cache reader over arbitrary lines: a line gives a name and an
// address or nothing, and the address reader keeps to 32 bits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/files/text_file.h"
#include "service/debugwatch/map_conversion.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : platform::SplitLines(text)) {
        if (const std::optional<CacheSymbol> symbol = ParseCacheLine(line)) {
            Require(!symbol->Name.empty() && !symbol->Address.empty());
            Require(symbol->Address.find(' ') == std::string::npos);
            ParseHexAddress(symbol->Address);
        }
    }
    ParseHexAddress(text);
    return 0;
}
