// Result codes of the boot-loader transfer steps and their texts, the baud
// codes the loader understands, and the protocol bytes.
//
// Every step ends with a code: 0 or 15 success; 1..14 a code of the serial
// port layer (its own text); 16 and above a failure of the step whose text
// is a loader message at the step family's offset.
#pragma once

#include <cstdint>
#include <string>

inline constexpr int kTransferSuccess = 15;
inline bool IsTransferSuccess(int code) { return code == 0 || code == kTransferSuccess; }

// Line transfer (SendHexByLines, SendHexLine, SwitchToLoaderMode).
namespace line_code {
inline constexpr int kFileNotOpened = 16;
inline constexpr int kUnexpectedAnswer = 17;  // neither ACK nor NAK
inline constexpr int kTooManyNaks = 18;
inline constexpr int kLineTooLong = 19;
inline constexpr int kNoStartAnswer = 20;   // firmware: no answer to the ACK at the line rate
inline constexpr int kNoLineAnswer = 21;    // with the line number
inline constexpr int kNoLoaderAck = 22;     // firmware: the loader did not announce itself
inline constexpr int kBadStartAnswer = 23;  // the answer to the ACK at the line rate was not ACK
inline constexpr int kNoSecondStartAnswer = 24;
inline constexpr int kNoSecondLoaderAck = 25;
// The file is no sound Intel-HEX file; refused before the drive was touched,
// with a text of its own (file, line, fault).
inline constexpr int kMalformedFile = 26;
}  // namespace line_code

// Booter (SendBooter).
namespace booter_code {
inline constexpr int kWrongChip = 16;
inline constexpr int kFileNotOpened = 17;
inline constexpr int kBadFile = 18;  // not hexadecimal pairs, or not exactly 32 bytes
inline constexpr int kNoIdentification = 20;
}  // namespace booter_code

// Loader image (SendLoaderImage and its reading of the loader file).
namespace image_code {
inline constexpr int kFileNotOpened = 16;
inline constexpr int kScanFileNotOpened = 17;
inline constexpr int kBadFile = 18;        // record error, unknown type, no end record
inline constexpr int kOutsideImage = 19;   // with the position
inline constexpr int kMalformedFile = 20;  // as line_code::kMalformedFile
}  // namespace image_code

enum class TransferFamily { kLine, kBooter, kLoaderImage };

// The text of a step's code: the serial layer's text for 1..14, the family's
// success text for 0 and 15 (empty for the booter), else the loader message
// at the family's offset, with `argument` (line number or position) where
// the message takes one.
std::string TransferCodeText(TransferFamily family, int code, uint32_t argument = 0);

// Each family keeps the text of its last step for the tool's failure message.
const std::string& TransferText(TransferFamily family);
void SetTransferText(TransferFamily family, std::string text);
// Sets the family's text for `code` and returns the code.
int SetTransferResult(TransferFamily family, int code, uint32_t argument = 0);

// Protocol bytes.
inline constexpr uint8_t kLoaderAck = 0x06;
inline constexpr uint8_t kLoaderNak = 0x15;
inline constexpr uint8_t kBootstrapSync = 0x00;

// The byte that announces a line rate to the loader; -1 for a rate the
// loader does not know.
int LoaderBaudCode(int32_t baud);
// The identification byte the bootstrap loader of a chip answers to the
// synchronisation byte; -1 for an unknown chip code.
int ChipIdentificationByte(int chipCode);
