// The code store of generators V2.10 and V3.10 (one instance per generator):
// it collects 20-byte records in source order while lines are translated,
// checks each program at its END, links all programs into the code array,
// and reads and writes that array as a binary programme file.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "plceditor/core/code_record.h"
#include "plceditor/core/plc_language.h"
#include "plceditor/core/variable_names.h"

namespace plc {

// Where the line compiler stands between lines.
namespace translation {
constexpr int kOutside = 0;
constexpr int kInTextBlock = 1;
constexpr int kInProgram = 2;
}  // namespace translation

// State of the walk that decodes the code array line by line.
namespace walker {
constexpr int kStart = 0;
constexpr int kFinished = 1;
constexpr int kInProgram = 2;
}  // namespace walker

class PlcCompiler {
public:
    static constexpr int kMaxMemoryWords = 4096;
    // Records of 6 device bytes in the largest memory: 4096 x 4 / 6.
    static constexpr int kMaxRecords = 2730;
    static constexpr int kDeviceBytesPerRecord = 6;
    static constexpr int kBytesPerWord = 4;

    PlcCompiler();

    // 1 (the default): program numbers must equal their position.
    void setStrictProgramNumbers(bool strict) { strictNumbering_ = strict; }
    bool StrictProgramNumbers() const { return strictNumbering_; }
    // A text block was seen and its name is not empty.
    bool hasNamedProgram() const { return textBlockSeen_ && !textName_.empty(); }

    // Clamps to 0..4096 words and sets the record capacity to words x 4 / 6.
    void setMemorySize(int words);
    int memorySize() const { return memorySize_; }
    int recordCapacity() const { return recordCapacity_; }
    // Record 0 of the code array is a program head.
    bool hasProgramHead() const;

    // Starts a translation: text block, translation state, program position,
    // records, program numbers and names are cleared. The code array, the
    // memory size and strict numbering stay.
    void resetStore();
    std::string textName() const { return textName_; }

    // ---- State the line compilers keep in the store ----
    int TranslationState() const { return translationState_; }
    void SetTranslationState(int state) { translationState_ = state; }
    bool TextBlockSeen() const { return textBlockSeen_; }
    void MarkTextBlockSeen() { textBlockSeen_ = true; }
    void SetTextName(std::string name) { textName_ = std::move(name); }
    VariableNames& Names() { return names_; }
    const VariableNames& Names() const { return names_; }

    // Position of the last program head, -1 before the first.
    int ProgramPosition() const { return programPosition_; }
    // Moves to the next program position and returns it.
    int AdvanceProgramPosition() { return ++programPosition_; }
    // The number declared for a position; kNoProgramNumber when none or when
    // the position is outside 0..127.
    uint8_t ProgramNumber(int position) const;
    // False (nothing stored) for a position outside 0..127 or a number above 127.
    bool SetProgramNumber(int position, int number);
    // The position whose declared number is `number`; -1 when none.
    int FindProgramPosition(int number) const;

    // ---- Appending records in source order ----
    // Each returns kOutOfMemory without change when the record capacity is
    // reached, else writes the record with its source line and form and
    // returns kNoError.

    // Program head; operand a is the program's position (0..127, else
    // kProgramNumberError and nothing is written).
    int appendHead(uint8_t opcode, uint8_t operandA, int line);
    int appendPlain(uint16_t label, uint8_t opcode, uint8_t a, uint8_t b, uint8_t c, uint16_t target, int line);
    int appendJump(uint16_t label, uint8_t opcode, uint8_t a, uint8_t b, uint8_t c, uint16_t targetLabel, bool toEnd,
                   int line);
    int appendWordOperand(uint16_t label, uint8_t opcode, uint8_t a, uint8_t b, uint8_t c, uint16_t word, int line);
    int appendByteOperands(uint16_t label, uint8_t opcode, uint8_t a, uint8_t b, uint8_t c, uint8_t d, uint8_t e,
                           int line);
    int appendConstant(uint16_t label, uint8_t opcode, uint8_t a, uint32_t constant, int line);
    int appendConstant4(uint16_t label, uint8_t opcode, uint8_t a, uint32_t constant, int line);

    // The END line of a program: appends the END record at `line`, gives the
    // program's head its first-statement and END indices, then checks every
    // statement: a jump's label must exist in the program (kJumpTargetMissing),
    // labels must rise (kLabelsNotRising), and no label may repeat
    // (kLabelAlreadyUsed). The first fault is returned with the offending
    // record's source line in `line`.
    int CloseProgram(int& line);

    // Links the source-order records into the code array after the last
    // line: heads first, then each program with its jumps resolved to code
    // indices. Returns a message; for a fault `line` is its source line.
    int linkProgram(int& line);

    // ---- Files ----
    // Writes the code array as memory-size lines "%08lx" (CR LF). False
    // without writing for an empty path or a file that cannot be created;
    // otherwise `path` becomes the full path of the written file.
    bool writeBinaryProgrammeFile(std::string& path) const;
    // Clears the code array and reads a binary programme file into it; words
    // beyond the memory are ignored. False (nothing changed) for an empty path
    // or a file that cannot be opened.
    bool readBinaryProgrammeFile(const std::string& path);
    // Fills the code array from the text of a binary programme file, as
    // readBinaryProgrammeFile does.
    void ReadBinaryProgrammeText(std::string_view text);
    // The text declaration file named after the text name, in `directory`.
    bool writeTextDeclarationFile(std::string& directory) const;
    // CRC of the packed memory image, percent = used / capacity x 100 (0 for
    // no capacity) and the number of used records.
    void programChecksumInfo(uint32_t& crc, double& percent, int& used) const;

    // ---- Records ----
    int UsedRecords() const { return usedRecords_; }
    int FirstStatement() const { return firstStatement_; }
    int LastEnd() const { return lastEnd_; }
    // Records in source order and the linked code array, kMaxRecords each.
    std::span<const CodeRecord> SourceRecords() const { return sourceRecords_; }
    std::span<const CodeRecord> CodeArray() const { return code_; }
    std::span<CodeRecord> CodeArray() { return code_; }

    // Walk over the code array when it is decoded.
    int WalkerState() const { return walkerState_; }
    void SetWalkerState(int state) { walkerState_ = state; }

private:
    // Writes the next source-order record (bytes 4-7 as b, c and a word), or
    // gives null when the store is full.
    CodeRecord* NextRecord(uint16_t label, uint8_t opcode, uint8_t a, uint8_t b, uint8_t c, uint16_t word, uint8_t form,
                           int line);
    int AppendConstantRecord(uint16_t label, uint8_t opcode, uint8_t a, uint32_t constant, uint8_t form, int line);
    int CheckProgramStatements(int first, int end, int& line) const;
    int LinkJumps(int first, int end, int& line);
    void LoadCodeWords(std::span<const uint32_t> words);

    bool textBlockSeen_ = false;
    bool strictNumbering_ = true;
    int translationState_ = translation::kOutside;
    int programPosition_ = -1;
    int usedRecords_ = 0;
    int recordCapacity_ = 0;
    int memorySize_ = 0;
    int firstStatement_ = 0;
    int lastEnd_ = 0;
    std::string textName_;
    std::vector<CodeRecord> sourceRecords_;
    std::vector<CodeRecord> code_;
    int walkerState_ = walker::kStart;
    VariableNames names_;
    std::array<uint8_t, kMaxPrograms> programNumbers_{};
};

}  // namespace plc
