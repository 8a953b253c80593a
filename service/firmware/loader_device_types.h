// The drive types the boot-loader tool can load: memory layout of the image,
// the remap window, the boot loader's needs and the form of the image file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// One stretch of the drive's memory in the image.
struct SegmentLayout {
    uint32_t start = 0;
    uint32_t length = 0;
    uint8_t fill = 0xFF;
    // Where the image file puts the segment; kSameAsStart: at its start.
    uint32_t writtenAt = kSameAsStart;

    static constexpr uint32_t kSameAsStart = 0xFFFFFFFF;
};

// Address records of the image file.
inline constexpr int kSegmentAddressRecords = 1;
inline constexpr int kLinearAddressRecords = 2;

struct LoaderDeviceType {
    const char* name;
    uint16_t chipCode;            // index of the chip's identification byte
    uint16_t identificationFlag;  // 1: the identification byte is not read
    // Data bytes from remapStart up to and including remapStart + remapLength
    // are stored at remapTarget + (address - remapStart).
    uint32_t remapStart;
    uint32_t remapLength;
    uint32_t remapTarget;
    uint32_t loaderImageSize;  // bytes of the loader sent as one raw block
    std::span<const SegmentLayout> segments;
    bool secondLoader;         // a cold start sends a second loader by lines
    uint32_t checksumAddress;  // 0: no checksums in the image
    int recordLength;          // data bytes per record of the image file
    int wakeUp;                // 1: wake the loader with ACK before waiting for its ACK
    int addressKind;           // kSegmentAddressRecords or kLinearAddressRecords
    bool secondLoaderInImage;  // the second loader file is also read into the image
};

inline constexpr int kLoaderDeviceTypeCount = 8;
// Most segments one image has.
inline constexpr int kMaxImageSegments = 20;

// The row of a device type index; null outside 0..7.
const LoaderDeviceType* FindLoaderDeviceType(int index);

// The name shown for a device type: its label in section "Loader" of the
// label profile, or the table's name when there is none.
std::string LoaderDeviceLabel(const LoaderDeviceType& type);
