// Intel-HEX records: reading one record from a firmware text, and the record
// checksum the writer puts at the end of each line.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Results of reading records and images.
inline constexpr int kHexOk = 0;
inline constexpr int kHexNoRecordStart = 1;  // no ':' where a record must begin (also: no end record)
inline constexpr int kHexRecordTooLong = 2;
inline constexpr int kHexChecksumError = 3;  // also a damaged or cut-off record
inline constexpr int kHexOutsideImage = 4;   // a data byte outside every segment
inline constexpr int kHexUnknownType = 5;

// Record types.
inline constexpr uint8_t kHexDataRecord = 0x00;
inline constexpr uint8_t kHexEndRecord = 0x01;
inline constexpr uint8_t kHexSegmentRecord = 0x02;
inline constexpr uint8_t kHexLinearRecord = 0x04;

// Most data bytes a record of an image file may carry. The drive's files use
// 65 at most, so one more than the usual 64 is accepted.
inline constexpr int kMaxHexDataLength = 65;
// Most data bytes any record can carry: its length field is one byte.
inline constexpr int kMaxHexFieldLength = 255;

struct HexRecord {
    uint8_t length = 0;
    uint16_t address = 0;
    uint8_t type = 0;
    std::array<uint8_t, kMaxHexFieldLength> data{};
    uint8_t checksum = 0;
};

// Reads records from a text that is already free of carriage returns (a file
// read in text mode).
class HexTextReader {
public:
    explicit HexTextReader(std::string_view text) : text_(text) {}
    // The next character, or -1 at the end of the text.
    int Get() { return position_ < text_.size() ? static_cast<unsigned char>(text_[position_++]) : -1; }
    void Rewind() { position_ = 0; }

private:
    std::string_view text_;
    size_t position_ = 0;
};

// Reads one record: an optional line feed, ':', length, address, type, the
// data and the checksum byte, all as upper-case hexadecimal digit pairs.
// kHexOk, kHexNoRecordStart, kHexRecordTooLong (more than `maxLength` data
// bytes) or kHexChecksumError (wrong checksum, a character that is no digit,
// or the text ending inside the record).
int ReadHexRecord(HexTextReader& reader, HexRecord& record, int maxLength = kMaxHexDataLength);

// Two's complement of the 8-bit sum of `bytes` (length through the last data
// byte of a record).
uint8_t HexRecordChecksum(const uint8_t* bytes, size_t count);
