// Fuzz target of the V1.10 binary programme file and the decoder: the input
// is the file's text. Whatever it holds, the table reads it, lists, decodes,
// renumbers and sums without fault, and writing it back gives its words.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "plceditor/core/programme_file.h"
#include "plceditor/v110/fuzz/round_trip8.h"
#include "plceditor/v110/line_table8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using plc::LineTable8;
    using plc::fuzz::Require;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto words = plc::ScanProgrammeWords(text, LineTable8::kFileWords);

    LineTable8 table;
    table.ReadBinaryWords(words);
    for (std::size_t w = 0; w < LineTable8::kFileWords; ++w) {
        const uint32_t expected = w < words.size() ? words[w] : 0;
        Require(table.Entry(static_cast<int>(w / 2)).CodeWord(static_cast<int>(w % 2)) == expected);
    }
    for (int i = 0; i < LineTable8::kEntries; ++i) Require(table.Entry(i).Used() == (table.Entry(i).Opcode() != 0));

    std::string head;
    Require(table.programHeadText(head) == (head == "%P00"));
    uint16_t xorSum = 0;
    uint16_t addSum = 0;
    double percent = 0;
    int count = 0;
    table.programAddXor(xorSum, addSum, percent, count);
    Require(count >= 0 && count <= LineTable8::kEntries);

    for (int i = 1; i <= table.maxLines(); ++i) plc::fuzz::CheckRoundTrip(table, i, false);

    for (int pass = 0; pass < 2; ++pass) {
        std::string line;
        int source = 0;
        int status = 0;
        int listed = 0;
        while (table.nextListingLine(line, source, status)) {
            Require(!line.empty());
            Require(++listed <= table.maxLines());
        }
        if (pass == 0) {
            Require(table.renumberLines(status));
            Require(table.Entry(0) == plc::LineEntry8{} && table.Entry(255) == plc::LineEntry8{});
        }
    }
    return 0;
}
