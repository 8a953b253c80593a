// A whole Intel-HEX file checked before any of it goes to a drive: a
// truncated download, a text file chosen by mistake or a damaged record is
// refused while the drive still runs what it ran, instead of leaving its
// loader in the middle of a record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "service/firmware/transfer_codes.h"

enum class HexLineFault {
    kNone,
    kNoRecordMark,      // a line that does not begin with ':'
    kNotHexDigit,       // a character that is no upper-case hexadecimal digit
    kOddDigitCount,     // digits that do not pair into bytes
    kTooShort,          // fewer bytes than length, address, type and checksum
    kLengthMismatch,    // the length field and the data the line carries differ
    kChecksum,          // the record's bytes do not sum to 0
    kUnknownType,       // a record type the loader does not know
    kBadAddressRecord,  // a segment or linear record without its two bytes
    kAfterEndRecord,    // a record after the end record
    kNoEndRecord,       // the file ends without an end record
};

struct HexFileCheck {
    HexLineFault fault = HexLineFault::kNone;
    // The faulty line, from 1; for a missing end record the line after the
    // last record, where it belongs.
    uint32_t line = 0;
    uint32_t lengthField = 0;  // kLengthMismatch: what the field says
    uint32_t dataBytes = 0;    // kLengthMismatch: what the line carries
    uint32_t recordType = 0;   // kUnknownType

    bool Passed() const { return fault == HexLineFault::kNone; }
};

// Checks a file's bytes as they are on disk: lines end in LF or CR LF, empty
// lines are allowed anywhere, every other line is one record in upper-case
// hexadecimal digits, and the end record comes last.
HexFileCheck CheckHexText(std::string_view text);

// The loader's text for a refused file: the file, the line and the fault.
std::string HexFileFaultText(std::string_view file, const HexFileCheck& check);

// Checks the text of the file `path` for a transfer step: 0 when it passes,
// else `code`, with the fault's text as `family`'s text.
int RefuseMalformedHexFile(std::string_view path, std::string_view text, TransferFamily family, int code);
