#include "service/firmware/hex_image.h"

#include <algorithm>

#include "platform/base/format.h"
#include "platform/files/text_file.h"

namespace {

// Bases of the two address record kinds, in address units.
constexpr uint32_t kSegmentBaseUnit = 16;
constexpr uint32_t kLinearBaseUnit = 65536;
// A new address record is due wherever the low 16 bits of the offset are 0.
constexpr uint32_t kAddressRecordSpan = 0x10000;
constexpr int kMaxRecordLength = 255;
// Bytes of the two checksum words.
constexpr uint32_t kChecksumBytes = 4;

uint32_t RemappedAddress(uint32_t address, const LoaderDeviceType& type) {
    // The window includes its last address, start + length.
    if (address >= type.remapStart && address - type.remapStart <= type.remapLength) {
        return type.remapTarget + (address - type.remapStart);
    }
    return address;
}

uint16_t WordAt(const std::vector<uint8_t>& bytes, size_t index) {
    return static_cast<uint16_t>(bytes[index] | bytes[index + 1] << 8);
}

std::string AddressRecord(uint32_t address, int addressKind) {
    const uint32_t base =
        addressKind == kSegmentAddressRecords ? address / kSegmentBaseUnit : address / kLinearBaseUnit;
    const uint8_t type = addressKind == kSegmentAddressRecords ? kHexSegmentRecord : kHexLinearRecord;
    const uint8_t bytes[] = {2, 0, 0, type, static_cast<uint8_t>(base >> 8), static_cast<uint8_t>(base)};
    return platform::Format(":020000%02X%04lX%02X", unsigned{type}, base, unsigned{HexRecordChecksum(bytes, 6)});
}

std::string DataRecord(const uint8_t* data, int length, uint32_t offset) {
    std::vector<uint8_t> bytes = {
        static_cast<uint8_t>(length), static_cast<uint8_t>(offset >> 8), static_cast<uint8_t>(offset), kHexDataRecord};
    bytes.insert(bytes.end(), data, data + length);
    std::string line = platform::Format(":%02X%04X00", length, offset & 0xFFFF);
    for (int i = 0; i < length; ++i) line += platform::Format("%02X", unsigned{data[i]});
    return line + platform::Format("%02X", unsigned{HexRecordChecksum(bytes.data(), bytes.size())});
}

}  // namespace

LoaderImage MakeLoaderImage(const LoaderDeviceType& type) {
    LoaderImage image;
    for (const SegmentLayout& layout : type.segments) {
        if (image.size() == static_cast<size_t>(kMaxImageSegments)) break;
        ImageSegment segment;
        segment.start = layout.start;
        segment.fill = layout.fill;
        segment.writtenAt = layout.writtenAt;
        segment.bytes.assign(layout.length, layout.fill);
        image.push_back(std::move(segment));
    }
    return image;
}

uint8_t* ImageByte(LoaderImage& image, uint32_t address) {
    for (ImageSegment& segment : image) {
        if (segment.Holds(address)) return &segment.bytes[address - segment.start];
    }
    return nullptr;
}

int ReadHexIntoImage(HexTextReader& reader, LoaderImage& image, const LoaderDeviceType& type, uint32_t& number) {
    reader.Rewind();
    uint32_t base = 0;
    uint32_t baseUnit = kSegmentBaseUnit;
    HexRecord record;
    for (;;) {
        const int result = ReadHexRecord(reader, record);
        if (result != kHexOk) return result;
        switch (record.type) {
            case kHexDataRecord: {
                uint32_t address = record.address + base * baseUnit;
                for (int i = 0; i < record.length; ++i, ++address) {
                    uint8_t* byte = ImageByte(image, RemappedAddress(address, type));
                    if (byte == nullptr) {
                        number = address;
                        return kHexOutsideImage;
                    }
                    *byte = record.data[static_cast<size_t>(i)];
                }
                break;
            }
            case kHexEndRecord:
                return kHexOk;
            case kHexSegmentRecord:
            case kHexLinearRecord:
                if (record.length < 2) {
                    number = record.type;
                    return kHexUnknownType;
                }
                base = static_cast<uint32_t>(record.data[0] << 8 | record.data[1]);
                baseUnit = record.type == kHexSegmentRecord ? kSegmentBaseUnit : kLinearBaseUnit;
                break;
            default:
                number = record.type;
                return kHexUnknownType;
        }
    }
}

ImageChecksums ComputeImageChecksums(const LoaderImage& image, const LoaderDeviceType& type) {
    ImageChecksums sums;
    if (image.empty() || image.front().Length() < 2) return sums;
    sums.sum = WordAt(image.front().bytes, 0);
    sums.xorWord = sums.sum;
    bool first = true;
    for (const ImageSegment& segment : image) {
        const size_t words = segment.bytes.size() / 2;
        for (size_t w = first ? 1 : 0; w < words; ++w) {
            const uint32_t address = segment.start + static_cast<uint32_t>(2 * w);
            if (address >= type.checksumAddress && address - type.checksumAddress < kChecksumBytes) continue;
            const uint16_t word = WordAt(segment.bytes, 2 * w);
            sums.sum = static_cast<uint16_t>(sums.sum + word);
            sums.xorWord = static_cast<uint16_t>(sums.xorWord ^ word);
        }
        first = false;
    }
    return sums;
}

void StoreImageChecksums(LoaderImage& image, const LoaderDeviceType& type, const ImageChecksums& sums) {
    const uint8_t bytes[kChecksumBytes] = {static_cast<uint8_t>(sums.sum),
                                           static_cast<uint8_t>(sums.sum >> 8),
                                           static_cast<uint8_t>(sums.xorWord),
                                           static_cast<uint8_t>(sums.xorWord >> 8)};
    for (uint32_t i = 0; i < kChecksumBytes; ++i) {
        if (uint8_t* byte = ImageByte(image, type.checksumAddress + i)) *byte = bytes[i];
    }
}

std::string ImageHexText(const LoaderImage& image, int recordLength, int addressKind) {
    if (recordLength < 1 || recordLength > kMaxRecordLength) return {};
    if (addressKind != kSegmentAddressRecords && addressKind != kLinearAddressRecords) return {};
    const uint32_t step = static_cast<uint32_t>(recordLength);
    std::string text;
    for (const ImageSegment& segment : image) {
        // A trailing part shorter than a record is not written.
        for (uint32_t offset = 0; segment.Length() >= step && offset <= segment.Length() - step; offset += step) {
            if (offset % kAddressRecordSpan == 0) text += AddressRecord(segment.Base() + offset, addressKind) + "\n";
            const uint8_t* data = segment.bytes.data() + offset;
            const bool allFill = std::all_of(data, data + step, [&](uint8_t b) { return b == segment.fill; });
            if (!allFill) text += DataRecord(data, recordLength, offset) + "\n";
        }
    }
    return text + ":00000001FF\n";
}

bool WriteImageHexFile(const LoaderImage& image, int recordLength, std::string_view fileName, int addressKind) {
    const std::string text = ImageHexText(image, recordLength, addressKind);
    if (text.empty()) return false;
    return platform::ReplaceFile(fileName, platform::JoinLines(platform::SplitLines(text), platform::LineEnd::kCrLf));
}
