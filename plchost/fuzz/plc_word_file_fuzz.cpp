// Fuzz target of the PLC word-file reader: any bytes as a word file. The
// count and the words read agree, every word read comes back from its own
// line written again, and reading never passes the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "plchost/plc_word_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    PlcWordReader reader(text);
    const int count = reader.CountWords();
    if (count < 0 || count > kMaxPlcWordCount) std::abort();
    int read = 0;
    uint32_t word = 0;
    while (reader.Next(&word)) {
        uint32_t again = 0;
        const std::string line = FormatPlcWord(word);
        if (!ParsePlcWordLine(std::string_view(line).substr(0, 8), &again) || again != word) std::abort();
        ++read;
    }
    if (read < count || (read > count && count != kMaxPlcWordCount)) std::abort();
    if (reader.Next(&word)) std::abort();
    return 0;
}
