#include "service/firmware/intel_hex.h"

#include "platform/base/hex_digit.h"

namespace {

constexpr int kLineFeed = '\n';
constexpr int kRecordMark = ':';

// One byte as two digits, high digit first; false for anything that is not
// an upper-case hexadecimal digit, and at the end of the text.
bool ReadHexByte(HexTextReader& reader, uint8_t& byte) {
    const int high = platform::UpperHexDigitValue(static_cast<char>(reader.Get()));
    if (high < 0) return false;
    const int low = platform::UpperHexDigitValue(static_cast<char>(reader.Get()));
    if (low < 0) return false;
    byte = static_cast<uint8_t>(high * 16 + low);
    return true;
}

}  // namespace

int ReadHexRecord(HexTextReader& reader, HexRecord& record, int maxLength) {
    int c = reader.Get();
    if (c == kLineFeed) c = reader.Get();
    if (c != kRecordMark) return kHexNoRecordStart;

    uint8_t header[4];
    for (uint8_t& byte : header) {
        if (!ReadHexByte(reader, byte)) return kHexChecksumError;
    }
    record.length = header[0];
    record.address = static_cast<uint16_t>(header[1] << 8 | header[2]);
    record.type = header[3];
    if (record.length > maxLength) return kHexRecordTooLong;

    uint8_t sum = static_cast<uint8_t>(header[0] + header[1] + header[2] + header[3]);
    for (int i = 0; i < record.length; ++i) {
        if (!ReadHexByte(reader, record.data[static_cast<size_t>(i)])) return kHexChecksumError;
        sum = static_cast<uint8_t>(sum + record.data[static_cast<size_t>(i)]);
    }
    if (!ReadHexByte(reader, record.checksum)) return kHexChecksumError;
    sum = static_cast<uint8_t>(sum + record.checksum);
    return sum == 0 ? kHexOk : kHexChecksumError;
}

uint8_t HexRecordChecksum(const uint8_t* bytes, size_t count) {
    uint8_t sum = 0;
    for (size_t i = 0; i < count; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
    return static_cast<uint8_t>(-sum);
}
