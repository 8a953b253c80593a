// The lines that the translating commands write into the message list and
// into a decoded text: error and count lines, headings, checksum lines and
// the date stamp.
#pragma once

#include <string>

namespace plc {
class LineTable8;
class PlcCompiler;
}  // namespace plc

namespace sindel {

namespace ids {
constexpr int kCompilingRuns = 57728;      // ", Compiling runs...."
constexpr int kTooManyErrors = 57729;      // the check stops at kMaxErrors
constexpr int kChecksumUsed = 57730;       // "Checksum: %1 of memory used."
constexpr int kCheckErrorCount = 57731;    // "%1 Error. Syntax check ends with error."
constexpr int kCheckEndsWithError = 57732;
constexpr int kTextCoding = 57733;         // ", Text coding..."
constexpr int kLineNotReplaced = 57734;
constexpr int kTextCodingErrorCount = 57735;
constexpr int kTextCodingDone = 57736;
constexpr int kTextDeclarationMade = 57737;
constexpr int kProgrammeFileMade = 57738;
constexpr int kNoValidProgrammeHead = 57739;
constexpr int kTextDeclarationNotMade = 57741;
constexpr int kInternalTextCodingError = 57742;
constexpr int kTextCodingEndsWithError = 57743;
constexpr int kAskRenumberPrograms = 57744;
constexpr int kOnlyProgramNumberErrors = 57745;
constexpr int kCheckDone = 57747;
constexpr int kDecodeProgress = 57748;
}  // namespace ids

// Errors after which a syntax check stops, for every generator.
constexpr int kMaxErrors = 30;
// The number a line that cannot be replaced shows in place of a message id.
constexpr int kUnreplacedLineNumber = 52;

// Display name of a generator index ("PLC V1.10" ...).
std::string GeneratorName(int generator);
// The generator's name followed by the text of `id` (57728 or 57733).
std::string HeadingLine(int generator, int id);
// "  LINE(%03ld): ERR(%02ld) -" with the 1-based line and the message id, in
// place of "%1" in the message's text.
std::string ErrorLine(int line, int id);
// A decoded line that could not be put into the text.
std::string UnreplacedLine(int line);
// "%ld " with the count in place of "%1" in the text of `id`.
std::string CountLine(int count, int id);
// "Checksum: ..." with the CRC and usage of a 20-byte code store, or the
// ADD/XOR pair and usage of the V1.10 table.
std::string ChecksumLine(const plc::PlcCompiler& store);
std::string ChecksumLine(const plc::LineTable8& table);
// "; %d/%m/%Y, %H:%M, " of the local time now.
std::string DateStamp();
// The text of a translator message without its "%1" place, for a box.
std::string MessageBody(int id);

}  // namespace sindel
