// Fuzz target of the V1.10 line compiler: the input is a source text, fed
// line by line. Every line gives a known message, and every record the
// compiler makes decodes to a line that compiles back to it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "plceditor/core/plc_messages.h"
#include "plceditor/v110/fuzz/round_trip8.h"
#include "plceditor/v110/line_table8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using plc::fuzz::Require;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    plc::LineTable8 table;
    std::size_t start = 0;
    int index = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(start, end - start));
        line = line.substr(0, line.find(';'));
        if (line.empty()) {  // the editor hands over only lines with text
            start = end + 1;
            ++index;
            continue;
        }
        int reported = index;
        const int status = table.enterLine(line, reported);
        Require(!plc::MessageText(status).empty());
        Require(reported >= 0 && reported <= index);
        start = end + 1;
        ++index;
    }
    for (int i = 1; i <= table.maxLines(); ++i) {
        if (table.Entry(i).Used()) plc::fuzz::CheckRoundTrip(table, i, true);
    }
    return 0;
}
