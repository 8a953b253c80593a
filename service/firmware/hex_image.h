// The drive's memory image built from Intel-HEX files: segments filled with
// their fill byte, the records read into them, the two image checksums, and
// the image written out again as a normalised Intel-HEX file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "service/firmware/intel_hex.h"
#include "service/firmware/loader_device_types.h"

struct ImageSegment {
    uint32_t start = 0;
    uint8_t fill = 0xFF;
    uint32_t writtenAt = SegmentLayout::kSameAsStart;
    std::vector<uint8_t> bytes;  // the segment's length, filled with `fill` at first

    uint32_t Length() const { return static_cast<uint32_t>(bytes.size()); }
    // Where the image file puts the segment.
    uint32_t Base() const { return writtenAt == SegmentLayout::kSameAsStart ? start : writtenAt; }
    bool Holds(uint32_t address) const { return address >= start && address - start < Length(); }
};

// The segments of a device type, in table order.
using LoaderImage = std::vector<ImageSegment>;

LoaderImage MakeLoaderImage(const LoaderDeviceType& type);

// The image byte at `address`; null when no segment holds it.
uint8_t* ImageByte(LoaderImage& image, uint32_t address);

// Reads the records of `reader` (from its start) into the image until the end
// record. kHexOk, the record errors of ReadHexRecord, kHexOutsideImage with
// the byte's address (before remapping) in `number`, or kHexUnknownType with
// the record type in `number`. A base record with fewer than two data bytes
// cannot give a base and counts as an unknown type.
int ReadHexIntoImage(HexTextReader& reader, LoaderImage& image, const LoaderDeviceType& type, uint32_t& number);

struct ImageChecksums {
    uint16_t sum = 0;
    uint16_t xorWord = 0;
};

// Sum and exclusive-or of the image's little-endian 16-bit words, leaving
// out the four bytes at the checksum address.
ImageChecksums ComputeImageChecksums(const LoaderImage& image, const LoaderDeviceType& type);
// Stores the sum at the checksum address and the exclusive-or two bytes
// further, both little-endian. Bytes outside the image are left out.
void StoreImageChecksums(LoaderImage& image, const LoaderDeviceType& type, const ImageChecksums& sums);

// The image as Intel-HEX text, one record per line (each followed by "\n"):
// `recordLength` data bytes per record, records made only of the segment's
// fill byte left out, an address record of `addressKind` at the start of
// each segment and every 64 KB. Empty for a record length outside 1..255 or
// an unknown address kind.
std::string ImageHexText(const LoaderImage& image, int recordLength, int addressKind);
// Writes ImageHexText to `fileName` with CR LF line ends (the file goes to
// the drive family's other tools). False when it cannot be written.
bool WriteImageHexFile(const LoaderImage& image, int recordLength, std::string_view fileName, int addressKind);
