// The PLC source language as all three code generators share it: line rules,
// variable kinds, input/output codes, the drive-value and status name tables,
// program structure limits, and which features each generator accepts.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace plc {

// Generator index as the editor numbers the code generators.
enum class PlcGenerator : int { kV110 = 0, kV210 = 1, kV310 = 2 };

// "PLC V1.10", "PLC V2.10", "PLC V3.10".
std::string_view GeneratorName(PlcGenerator generator);

// ---- Lines ------------------------------------------------------------------

// Characters a line may hold before its comment, blanks included.
constexpr std::size_t kMaxStatementChars = 79;
constexpr char kCommentChar = ';';
// Removed from the whole line before it is analysed.
constexpr std::string_view kLineBlanks = " \t\r\n";

// The part of a line before its first comment character.
std::string_view StripComment(std::string_view line);

// The line entry every generator runs before its line compiler: a text of 0 or
// of more than kMaxStatementChars characters gives kLineTooLong; otherwise the
// blanks, tabs, CR and LF are removed and the rest is joined into `normalised`
// and kNoError is returned. An empty `normalised` then means there is nothing
// to compile.
int NormaliseSourceLine(std::string_view text, std::string& normalised);

// The line with ASCII a-z made upper case and every other byte kept, so that
// positions in it are positions in the line as typed.
std::string UpperAscii(std::string_view text);

// ---- Variables --------------------------------------------------------------

struct VariableKind {
    char letter;          // 'C', 'F', 'H', 'M', 'Z'
    int firstIndex;       // inclusive
    int lastIndex;        // inclusive
    int badIndexMessage;  // message for an index outside the range
};

// In the order of the text declaration file's sections: C, F, H, M, Z.
extern const std::span<const VariableKind> kVariableKinds;

// The kind of an upper-case variable letter; null for any other character.
const VariableKind* FindVariableKind(char letter);

// ---- Program structure ------------------------------------------------------

constexpr int kMaxPrograms = 128;          // program positions 0..127
constexpr int kMaxProgramNumber = 127;     // '%Pnn' with nn 0..127
constexpr uint8_t kNoProgramNumber = 255;  // position without a declared number
constexpr int kMinLabel = 1;               // 'Nxxx' with xxx 1..65535
constexpr int kMaxLabel = 65535;
constexpr std::size_t kMaxNameChars = 32;  // %TEXT and DEF names

constexpr std::string_view kTextHeadKeyword = "%TEXT";
constexpr std::string_view kProgramHeadKeyword = "%P";
constexpr std::string_view kDefKeyword = "DEF";
constexpr std::string_view kEndKeyword = "END";

// ---- Inputs and outputs -----------------------------------------------------

// One family of inputs or outputs as the source writes them ("IS02", "OE3"):
// the letters, then a number 0..count-1 that maps to the I/O code.
struct IoGroup {
    std::string_view prefix;
    bool output;
    int count;
    uint8_t codes[8];
};

// IS, IE, IA (inputs), OS, OE, OV (outputs).
extern const std::span<const IoGroup> kIoGroups;

constexpr int kInputCodeCount = 17;   // codes 0..16
constexpr int kOutputCodeCount = 12;  // codes 0..11
constexpr std::string_view kUnknownIoName = "???ERR";

// The name of an input or output by its code ("IS00", "IA1", "OV01"); false
// and "???ERR" for a code outside the table.
bool ioName(bool output, int code, std::string& name);

// ---- Name tables ------------------------------------------------------------

struct NamedCode {
    std::string_view name;     // as matched in the upper-case source
    uint8_t code;              // what the record stores
    std::string_view display;  // as the decoders write it back
};

// 'STA_name' status bits; the code is the position from 0.
extern const std::span<const NamedCode> kStatusNames;
// Control bits of 'SET name = Mx' and 'SET name = value'.
extern const std::span<const NamedCode> kControlBitNames;
// Drive values that 'SET Fx = name' reads.
extern const std::span<const NamedCode> kFloatSourceNames;
// Drive values that 'SET Hx = name' reads.
extern const std::span<const NamedCode> kIntegerSourceNames;
// Drive values that 'SET name = Fx' writes.
extern const std::span<const NamedCode> kFloatTargetNames;
// Drive values that 'SET name = Hx' writes.
extern const std::span<const NamedCode> kIntegerTargetNames;
// 'PLC = OFF', 'PLC = RESTART', 'PLC = CLR_ADR_STACK' with their sub-kinds.
extern const std::span<const NamedCode> kPlcControlNames;

// The first of the first `count` entries of a table whose name, followed by
// `suffix`, starts `rest` (names are tried in table order, so "ACTPOSINC"
// wins over "ACTPOS"); null when none does.
const NamedCode* MatchNamePrefix(std::span<const NamedCode> table, std::size_t count, std::string_view rest,
                                 std::string_view suffix = {});

// The display name of the first of the first `count` entries with this code;
// "Unknown command" when there is none.
std::string_view DisplayNameForCode(std::span<const NamedCode> table, std::size_t count, int code);

constexpr std::string_view kUnknownNameText = "Unknown command";

// ---- Operators --------------------------------------------------------------

// Operator codes of the flag logic: 0 '=', 1 '&', 2 '|', 3 '^'.
constexpr std::string_view kOperatorChars = "=&|^";
// Comparisons in the order of their opcodes within a compare range; the
// longer spellings come first where one starts another.
constexpr std::string_view kCompareOperators[] = {"=", "!=", ">=", ">", "<=", "<"};

// ---- Features of each generator ---------------------------------------------

// What a code generator accepts of the language. Name counts refer to the
// tables above, of which a generator uses the first entries; V1.10 keeps
// name tables of its own and its counts refer to those.
struct GeneratorSubset {
    int maxPrograms;         // 1 for V1.10 (only "%P00"), else 128
    int maxLabel;            // highest label number
    bool acceptsCall;        // CALL Nxxx
    int statusNames;         // STA_ names
    int integerSourceNames;  // SET Hx = name
    int integerTargetNames;  // SET name = Hx
    bool allFloatFunctions;  // SQRT, LOG, SIN, COS, EXP, POW beside ROUND and ABS
    bool programControl;     // PLC = OFF/RESTART/CLR_ADR_STACK, JMP Pnn, JMP P[Hx]
    bool ioAndProbeJumps;    // JMP (input op input/output), JMP (TP ...)
    bool goRampOptions;      // GO options A, D, J beside V
    bool threeAddress;       // three-address SET F/H/M, SET Hx = ROUND Fy
    bool touchProbe;         // SET TP, SET Mx op TPn, WAIT TPn
    bool camEventSave;       // RCAM, SET EVPRG, SAVE
};

const GeneratorSubset& Subset(PlcGenerator generator);

}  // namespace plc
