// The lines that the translating commands read and write: the statement
// part of a source line, and the error and count lines, headings, checksum
// lines and the date stamp they write into the message list and a decoded
// text.
#pragma once

#include <string>
#include <string_view>

namespace plc {
class LineTable8;
class PlcCompiler;
}  // namespace plc

namespace sindel {

// Errors after which a syntax check stops, for every generator.
constexpr int kMaxErrors = 30;
// The number a line that cannot be replaced shows in place of a message id.
constexpr int kUnreplacedLineNumber = 52;

// The part of a source line before its comment.
std::string_view CutComment(std::string_view line);
// Whether a text holds anything but blanks and tabs.
bool HasText(std::string_view text);

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
