#include "service/firmware/loader_device_types.h"

#include <array>

#include "app/services/app_files.h"

namespace {

constexpr char kLabelSection[] = "Loader";

constexpr SegmentLayout kOskelSegments[] = {
    {0x0, 0x20000, 0xFF},
};
constexpr SegmentLayout kMarloSegments[] = {
    {0x0, 0x8000, 0xFF, 0x40000},
    {0x48000, 0x38000, 0xFF},
};
constexpr SegmentLayout kRuvexC167Segments[] = {
    {0x0, 0x3FC0, 0x00},
    {0x4000, 0x4000, 0x00},
    {0x18000, 0x38000, 0x00},
    {0x80000, 0x20000, 0xFF},
};
constexpr SegmentLayout kRuvexSt10Segments[] = {
    {0x0, 0x3FC0, 0xFF},
    {0x4000, 0x4000, 0xFF},
    {0x18000, 0x38000, 0xFF},
    {0x80000, 0x20000, 0xFF},
};
constexpr SegmentLayout kPesco16Segments[] = {
    {0x100000, 0x20000, 0xFF},
    {0xC00000, 0x20000, 0x00},
};
constexpr SegmentLayout kLargeRamSegments[] = {
    {0x100000, 0x20000, 0xFF},
    {0xC00000, 0x40000, 0x00},
};

// Remap windows shared by several rows.
constexpr uint32_t kRuvexWindowStart = 0xC000;
constexpr uint32_t kRuvexWindowLength = 0x1000;
constexpr uint32_t kRuvexWindowTarget = 0x4F000;
constexpr uint32_t kPescoWindowStart = 0x1F8000;
constexpr uint32_t kPescoWindowLength = 0x1000;
constexpr uint32_t kPescoWindowTarget = 0x11F000;
constexpr uint32_t kPescoChecksumAddress = 0x11EFFC;
constexpr uint32_t kPescoLoaderImageSize = 0x7DC;

// One row a device type, in the fields' order.
// clang-format off
const std::array<LoaderDeviceType, kLoaderDeviceTypeCount> kDeviceTypes = {{
    {"Oskel", 1, 0, 0xFA60, 0x2FA, 0x1FD06, 0x2FA, kOskelSegments, false, 0x10000, 32, 0,
     kSegmentAddressRecords, false},
    {"Marlo", 3, 0, 0xF600, 0x400, 0x7F900, 0x400, kMarloSegments, false, 0x48000, 32, 0,
     kSegmentAddressRecords, false},
    {"Ruvex C167", 3, 0, kRuvexWindowStart, kRuvexWindowLength, kRuvexWindowTarget, 0x400, kRuvexC167Segments,
     true, 0x18000, 64, 1, kSegmentAddressRecords, false},
    {"Ruvex ST10", 3, 0, kRuvexWindowStart, kRuvexWindowLength, kRuvexWindowTarget, 0x400, kRuvexSt10Segments,
     true, 0x18000, 64, 1, kSegmentAddressRecords, false},
    {"Pesco (XC167CI-16F)", 3, 0, kPescoWindowStart, kPescoWindowLength, kPescoWindowTarget,
     kPescoLoaderImageSize, kPesco16Segments, true, kPescoChecksumAddress, 128, 1, kLinearAddressRecords, true},
    {"Wenzo", 3, 0, kPescoWindowStart, kPescoWindowLength, kPescoWindowTarget, kPescoLoaderImageSize,
     kLargeRamSegments, true, kPescoChecksumAddress, 128, 1, kLinearAddressRecords, true},
    {"Talin", 3, 0, kPescoWindowStart, kPescoWindowLength, kPescoWindowTarget, kPescoLoaderImageSize,
     kLargeRamSegments, true, kPescoChecksumAddress, 128, 1, kLinearAddressRecords, true},
    {"Pesco (XC167CI-32F)", 3, 0, kPescoWindowStart, kPescoWindowLength, kPescoWindowTarget,
     kPescoLoaderImageSize, kLargeRamSegments, true, kPescoChecksumAddress, 128, 1, kLinearAddressRecords, true},
}};
// clang-format on

}  // namespace

const LoaderDeviceType* FindLoaderDeviceType(int index) {
    if (index < 0 || index >= kLoaderDeviceTypeCount) return nullptr;
    return &kDeviceTypes[static_cast<size_t>(index)];
}

std::string LoaderDeviceLabel(const LoaderDeviceType& type) {
    const char* label = GetProfileText(kLabelSection, type.name);
    return label != nullptr && *label != '\0' ? label : type.name;
}
