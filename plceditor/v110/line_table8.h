// The program table of code generator V1.10: 256 entries, one per label
// number, each holding an 8-byte code record. It compiles source lines into
// the table, links the program at END, renumbers, lists and decodes it,
// reads and writes the binary programme file and writes the text declaration
// file from its variable names.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "plceditor/core/variable_names.h"
#include "plceditor/v110/line_entry8.h"

namespace plc {

// Where the V1.10 line compiler stands between lines.
namespace section8 {
constexpr uint8_t kOutside = 0;
constexpr uint8_t kText = 1;     // %TEXT(NAME) .. END
constexpr uint8_t kProgram = 2;  // %P00 .. END
}  // namespace section8

class LineTable8 {
public:
    static constexpr int kEntries = 256;
    static constexpr int kStartEntry = 0;  // jump to the first line, set at END
    static constexpr int kEndEntry = 255;  // JMP END, set at END
    static constexpr int kMaxLines = 254;  // labels N001..N254
    // Two words per entry in the binary programme file.
    static constexpr int kFileWords = 2 * kEntries;

    LineTable8();

    int maxLines() const { return kMaxLines; }

    // All entries zeroed, every name emptied, section 0, both flags 0,
    // program name emptied.
    void resetTable();

    // ---- Compiling (line_compiler8.cpp) ----
    // One editor line (comment already cut off) with its index. Returns
    // kNoError or the message of the first fault. For a jump without target
    // (kJumpTargetMissing) or labels out of order (kLabelsNotRising), found
    // when END closes the program, `line` becomes the source line at fault.
    int enterLine(std::string_view text, int& line);
    // A line with blanks removed; called by enterLine.
    int compileLine(std::string_view normalised, int& line);

    bool inProgramSection() const { return section_ == section8::kProgram; }
    bool inTextSection() const { return section_ == section8::kText; }
    bool programDefined() const { return programDefined_; }
    bool textDefined() const { return textDefined_; }
    std::string programName() const { return programName_; }
    // The source named its program with %TEXT(NAME); only then is there a
    // text declaration file to write and a project name to report.
    bool hasNamedProgram() const { return !programName_.empty(); }
    // Used entries, 0 and 255 included, counted when END closed the program.
    int UsedCount() const { return usedCount_; }

    // ---- Table operations ----
    // Moves the used lines to labels step, 2 x step, ... (step 10, 5, 2 or 1,
    // the largest that fits) and remaps jump targets; entries 0 and 255 are
    // emptied. True with kNoError, or false with kRenumberError and the table
    // unchanged.
    bool renumberLines(int& status);
    // Entry 0 jumps to a used entry.
    bool isLineTable8Program() const;
    // "%P00" and true for a V1.10 program, else empty and false.
    bool programHeadText(std::string& text) const;
    // The next entry 1..254 that is used or holds an opcode, decoded; `line`
    // is its source line and `status` kNoError or kTextCodingError. False,
    // with the listing started over, when none is left.
    bool nextListingLine(std::string& text, int& line, int& status);
    // The source line of entry `index` (decode_line8.cpp). False with an
    // error text for an entry that holds no valid statement.
    bool decodeLine8(std::string& text, int index) const;

    // ---- Checksum and files (line_table8_files.cpp) ----
    // 16-bit XOR and sum of the four halfwords of every entry, the used
    // entries without 0 and 255, and their share of 255 in percent.
    void programAddXor(uint16_t& xorSum, uint16_t& addSum, double& percent, int& count) const;
    // Writes 512 lines "%08lx" (CR LF): code bytes 0-3, then 4-7 of every
    // entry. False for an empty path or a file that cannot be created;
    // otherwise `path` becomes the full path written.
    bool writeBinaryFile(std::string& path) const;
    // Reads up to 512 words into the entries' code bytes; an entry is used
    // when its opcode is not 0. Entries beyond the words read keep their
    // code. False for an empty path or a file that cannot be opened.
    bool readBinaryFile(const std::string& path);
    // The same from the words of a file already read.
    void ReadBinaryWords(std::span<const uint32_t> words);
    // The text declaration file "<directory>\<program name>.txt". False,
    // writing nothing, when the program has no name, the directory is empty
    // or the file cannot be created; otherwise `directory` becomes the path.
    bool writeTextDeclarationFile(std::string& directory) const;

    // ---- Access ----
    // `index` 0..255.
    const LineEntry8& Entry(int index) const { return entries_[static_cast<std::size_t>(index)]; }
    LineEntry8& Entry(int index) { return entries_[static_cast<std::size_t>(index)]; }
    const VariableNames& Names() const { return names_; }

private:
    int CompileOutside(std::string_view upper, std::string_view typed);
    int CompileText(std::string_view upper, std::string_view typed);
    int CompileProgramLine(std::string_view upper, int& line);
    int CloseProgram(int& line);

    int listingCursor_ = 1;
    int usedCount_ = 0;
    bool programDefined_ = false;
    bool textDefined_ = false;
    uint8_t section_ = section8::kOutside;
    std::string programName_;
    std::array<LineEntry8, kEntries> entries_{};
    VariableNames names_;
};

// The checksum line of V1.10: "0x%04X ADD, 0x%04X XOR - %.1lf%% (%ld/%ld)".
std::string AddXorText(uint16_t addSum, uint16_t xorSum, double percent, int count, int total);

}  // namespace plc
