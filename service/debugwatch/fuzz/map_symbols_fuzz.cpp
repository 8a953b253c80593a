// The MAP reader over arbitrary text: it never crashes, and every cache line
// it writes reads back as a name and a hexadecimal address, without the same
// name on two lines in a row.
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
    const std::string_view map(reinterpret_cast<const char*>(data), size);
    std::string cache;
    ConvertMapText(map, &cache);
    Require(cache.empty() || cache.back() == '\n');
    std::string previous;
    for (const std::string& line : platform::SplitLines(cache)) {
        const std::optional<CacheSymbol> symbol = ParseCacheLine(line);
        Require(symbol.has_value());
        Require(symbol->Name != previous);
        Require(symbol->Address.find('h') == std::string::npos);
        previous = symbol->Name;
    }
    return 0;
}
