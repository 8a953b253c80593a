// Cold start of a drive in its chip's bootstrap mode: synchronisation, the
// booter, and the loader as one raw block.
#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/services/message_box.h"
#include "bus/serial/striowin.h"
#include "platform/base/hex_digit.h"
#include "platform/files/text_file.h"
#include "platform/system/clock.h"
#include "service/firmware/hex_file_check.h"
#include "service/firmware/intel_hex.h"
#include "service/firmware/loader_console.h"
#include "service/firmware/loader_port.h"
#include "service/firmware/loader_transfer.h"
#include "service/firmware/transfer_codes.h"

namespace {

// Main message that asks the user to put the drive into bootstrap mode.
constexpr int kBootstrapModeMessage = 49;
// Waits around the synchronisation byte (ms), and the chip's answer limit.
constexpr uint32_t kBeforeSyncMs = 20;
constexpr uint32_t kAfterSyncMs = 60;
constexpr uint16_t kIdentificationLimitMs = 10;
// Bytes left over from before the boot ROM took the line are dropped; a device
// that keeps sending cannot hold the download here for longer than this.
constexpr int kMaxStaleInputBytes = 65536;
// Base units of the address records when the loader file is scanned.
constexpr int kSegmentShift = 4;
constexpr int kLinearShift = 16;
constexpr uint32_t kSegmentBaseUnit = 16;

int SendBooterBytes(const std::string& path, unsigned port, int32_t baud, int chipCode, bool readIdentification,
                    bool compareIdentification) {
    const std::optional<std::string> text = platform::ReadTextFile(path);
    if (!text) return booter_code::kFileNotOpened;
    std::vector<uint8_t> booter;
    int result = ParseBooterText(*text, booter);
    if (result != 0) return result;

    result = OpenLoaderPort(port, baud);
    if (result != kSerioOk) return result;
    uint8_t byte = 0;
    for (int dropped = 0; dropped < kMaxStaleInputBytes && SerioReceiveByte(byte) == kSerioOk; ++dropped) {}
    ShowInfoMessage(kBootstrapModeMessage, TheLoaderConsole().Window());
    platform::BusyWait(kBeforeSyncMs);
    result = SerioTransmitByte(kBootstrapSync);
    if (result != kSerioOk) return result;
    platform::BusyWait(kAfterSyncMs);

    if (readIdentification) {
        result = LoaderReceiveByte(byte, kIdentificationLimitMs);
        if (result == kLoaderReceiveTimedOut) return booter_code::kNoIdentification;
        if (result != 0) return result;
        if (compareIdentification && byte != ChipIdentificationByte(chipCode)) return booter_code::kWrongChip;
    }
    for (uint8_t b : booter) {
        result = SerioTransmitByte(b);
        if (result != kSerioOk) return result;
    }
    return kTransferSuccess;
}

// Lowest and highest data address of a loader file; a segment base counts
// 16 bytes a unit, a linear base 64 KB.
int ScanHexAddressRange(std::string_view text, uint32_t& lowest, uint32_t& highest, bool& hasData) {
    HexTextReader reader(text);
    HexRecord record;
    uint32_t base = 0;
    lowest = std::numeric_limits<uint32_t>::max();
    highest = 0;
    hasData = false;
    for (;;) {
        if (ReadHexRecord(reader, record) != kHexOk) return image_code::kBadFile;
        switch (record.type) {
            case kHexDataRecord:
                if (record.length == 0) break;
                hasData = true;
                lowest = std::min(lowest, base + record.address);
                highest = std::max(highest, base + record.address + record.length - 1u);
                break;
            case kHexEndRecord:
                return 0;
            case kHexSegmentRecord:
            case kHexLinearRecord:
                if (record.length < 2) return image_code::kBadFile;
                base = static_cast<uint32_t>(record.data[0] << 8 | record.data[1])
                       << (record.type == kHexSegmentRecord ? kSegmentShift : kLinearShift);
                break;
            default:
                return image_code::kBadFile;
        }
    }
}

}  // namespace

int ParseBooterText(const std::string& text, std::vector<uint8_t>& bytes) {
    for (std::string line : platform::SplitLines(text)) {
        std::erase_if(line, [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
        if (line.size() % 2 != 0) return booter_code::kBadFile;
        for (size_t i = 0; i < line.size(); i += 2) {
            const int high = platform::HexDigitValue(line[i]);
            const int low = platform::HexDigitValue(line[i + 1]);
            if (high < 0 || low < 0) return booter_code::kBadFile;
            bytes.push_back(static_cast<uint8_t>(high * 16 + low));
            if (bytes.size() > kBooterBytes) return booter_code::kBadFile;
        }
    }
    return bytes.size() == kBooterBytes ? 0 : booter_code::kBadFile;
}

int SendBooter(const std::string& path, unsigned port, int32_t baud, int chipCode, bool readIdentification,
               bool compareIdentification) {
    const int result = SendBooterBytes(path, port, baud, chipCode, readIdentification, compareIdentification);
    return SetTransferResult(TransferFamily::kBooter, result);
}

int LoadHexImage(std::string_view text, std::vector<uint8_t>& image, uint32_t& position) {
    uint32_t lowest = 0;
    uint32_t highest = 0;
    bool hasData = false;
    int result = ScanHexAddressRange(text, lowest, highest, hasData);
    if (result != 0) return result;
    if (hasData && highest - lowest >= image.size()) {
        position = highest - lowest;
        return image_code::kOutsideImage;
    }

    HexTextReader reader(text);
    HexRecord record;
    uint32_t segmentBase = 0;
    for (;;) {
        if (ReadHexRecord(reader, record) != kHexOk) return image_code::kBadFile;
        switch (record.type) {
            case kHexDataRecord: {
                // The position is formed in 16 bits, as the loader's own
                // addresses are; a linear base does not take part.
                const uint32_t first = static_cast<uint16_t>(record.address + segmentBase * kSegmentBaseUnit - lowest);
                for (uint32_t i = 0; i < record.length; ++i) {
                    if (first + i >= image.size()) {
                        position = first + i;
                        return image_code::kOutsideImage;
                    }
                    image[first + i] = record.data[i];
                }
                break;
            }
            case kHexEndRecord:
                return kTransferSuccess;
            case kHexSegmentRecord:
                segmentBase = static_cast<uint32_t>(record.data[0] << 8 | record.data[1]);
                break;
            default:
                break;
        }
    }
}

int SendLoaderImage(const std::string& path, unsigned port, int32_t baud, const LoaderDeviceType& type) {
    std::vector<uint8_t> image(type.loaderImageSize, 0x00);
    // A refused file leaves the port as it was.
    const std::optional<std::string> bytes = platform::ReadBinaryFile(path);
    if (bytes && RefuseMalformedHexFile(path, *bytes, TransferFamily::kLoaderImage, image_code::kMalformedFile) != 0) {
        return image_code::kMalformedFile;
    }
    int result = OpenLoaderPort(port, baud);
    if (result != kSerioOk) return SetTransferResult(TransferFamily::kLoaderImage, result);
    uint8_t discarded = 0;
    SerioReceiveByte(discarded);

    const std::optional<std::string> text = platform::ReadTextFile(path);
    if (!text) return SetTransferResult(TransferFamily::kLoaderImage, image_code::kScanFileNotOpened);
    uint32_t position = 0;
    result = LoadHexImage(*text, image, position);
    if (result != kTransferSuccess) return SetTransferResult(TransferFamily::kLoaderImage, result, position);

    result = iSerioTransmittString(image.data(), static_cast<int>(image.size()));
    return SetTransferResult(TransferFamily::kLoaderImage, result == kSerioOk ? kTransferSuccess : result);
}
