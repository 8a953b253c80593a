// Feeds any bytes to the reader of PLC source files: the text it makes never
// exceeds the limit and is whole exactly when it fits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "plceditor/control/source_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A small limit reaches the cut as well as the whole text.
    constexpr size_t kLimit = 64;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (size_t limit : {kLimit, static_cast<size_t>(sindel::kMaxTextChars)}) {
        sindel::SourceText source = sindel::SourceTextFromBytes(bytes, limit);
        if (source.text.size() > limit) std::abort();
        if (source.fit == sindel::SourceText::Fit::kCut && source.text.size() != limit) std::abort();
    }
    return 0;
}
