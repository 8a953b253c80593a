// Reading Intel-HEX files into a drive image: record errors, bases, the
// remap window and the segments.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/files/text_file.h"
#include "service/firmware/hex_image.h"
#include "service/firmware/tests/firmware_fixture.h"

namespace fwtest {
namespace {

// Three segments and a window from 0x80 to 0x90 (inclusive) onto 0x1000.
constexpr SegmentLayout kSmallSegments[] = {{0x0, 0x100, 0xFF}, {0x1000, 0x100, 0x00}, {0x10000, 0x10, 0xFF}};
const LoaderDeviceType kSmall{
    "Small", 0, 0, 0x80, 0x10, 0x1000, 0x400, kSmallSegments, false, 0, 16, 0, kSegmentAddressRecords, false};

std::vector<uint8_t> Bytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i + 1);
    return bytes;
}

struct ReadResult {
    int error = 0;
    uint32_t number = 0;
    LoaderImage image;
};

ReadResult Read(const std::string& text, const LoaderDeviceType& type = kSmall) {
    ReadResult result;
    result.image = MakeLoaderImage(type);
    HexTextReader reader(text);
    result.error = ReadHexIntoImage(reader, result.image, type, result.number);
    return result;
}

int ByteAt(LoaderImage& image, uint32_t address) {
    const uint8_t* byte = ImageByte(image, address);
    return byte != nullptr ? *byte : -1;
}

TEST(HexReader, RecordsBasesAndErrors) {
    std::string badChecksum = DataRecord(0x10, {1, 2, 3});
    badChecksum.back() = badChecksum.back() == '0' ? '1' : '0';
    const struct {
        const char* what;
        std::string text;
        int error;
        uint32_t number;
        std::vector<std::pair<uint32_t, int>> bytes;  // address, value in the image
    } cases[] = {
        {"65 data bytes",
         Lines({DataRecord(0x00, Bytes(65)), kEndRecord}),
         kHexOk,
         0,
         {{0x00, 1}, {0x40, 65}, {0x41, 0xFF}}},
        {"66 data bytes", Lines({DataRecord(0x00, Bytes(66)), kEndRecord}), kHexRecordTooLong, 0, {{0x00, 0xFF}}},
        {"wrong checksum", Lines({badChecksum, kEndRecord}), kHexChecksumError, 0, {}},
        {"lower-case digits", Lines({":0100100aab3a", kEndRecord}), kHexChecksumError, 0, {}},
        {"record cut off", ":0300100001", kHexChecksumError, 0, {}},
        {"type 03", Lines({Record(0x03, 0, {0, 0, 0, 0}), kEndRecord}), kHexUnknownType, 3, {}},
        {"type 05", Lines({Record(0x05, 0, {0, 0, 0, 0}), kEndRecord}), kHexUnknownType, 5, {}},
        {"base record without a base", Lines({Record(0x02, 0, {0x01}), kEndRecord}), kHexUnknownType, 2, {}},
        {"no end record", Lines({DataRecord(0x10, {7})}), kHexNoRecordStart, 0, {{0x10, 7}}},
        {"empty line", Lines({DataRecord(0x10, {7}), "", kEndRecord}), kHexNoRecordStart, 0, {}},
        {"data after the end record is not read",
         Lines({kEndRecord, DataRecord(0x10, {7})}),
         kHexOk,
         0,
         {{0x10, 0xFF}}},
        {"window edges",
         Lines({DataRecord(0x7F, {0xA1, 0xA2}), DataRecord(0x90, {0xA3, 0xA4}), kEndRecord}),
         kHexOk,
         0,
         {{0x7F, 0xA1}, {0x80, 0xFF}, {0x1000, 0xA2}, {0x90, 0xFF}, {0x1010, 0xA3}, {0x91, 0xA4}, {0x1011, 0x00}}},
        {"segment base",
         Lines({SegmentBase(0x0100), DataRecord(0x0020, {0x5A}), kEndRecord}),
         kHexOk,
         0,
         {{0x1020, 0x5A}, {0x20, 0xFF}}},
        {"linear base, then segment base",
         Lines({LinearBase(0x0001),
                DataRecord(0x0004, {0x11}),
                SegmentBase(0x0000),
                DataRecord(0x0004, {0x22}),
                kEndRecord}),
         kHexOk,
         0,
         {{0x10004, 0x11}, {0x04, 0x22}}},
        {"byte outside every segment",
         Lines({DataRecord(0x00FE, {1, 2, 3}), kEndRecord}),
         kHexOutsideImage,
         0x100,
         {{0xFE, 1}, {0xFF, 2}}},
        {"outside after a base",
         Lines({SegmentBase(0x0200), DataRecord(0x0000, {1}), kEndRecord}),
         kHexOutsideImage,
         0x2000,
         {}},
    };
    for (const auto& c : cases) {
        ReadResult result = Read(c.text);
        EXPECT_EQ(result.error, c.error) << c.what;
        if (c.error == kHexOutsideImage || c.error == kHexUnknownType) {
            EXPECT_EQ(result.number, c.number) << c.what;
        }
        for (auto [address, value] : c.bytes) {
            EXPECT_EQ(ByteAt(result.image, address), value) << c.what << " at " << address;
        }
    }
}

// In the drive types' own windows the inclusive last address maps just past
// the end of the target segment, so a byte there is refused with its address.
TEST(HexReader, OskelWindowEndIsRefused) {
    const LoaderDeviceType& oskel = *FindLoaderDeviceType(0);
    ReadResult inside = Read(Lines({DataRecord(0xFA60, {0x31}), DataRecord(0xFD59, {0x32}), kEndRecord}), oskel);
    ASSERT_EQ(inside.error, kHexOk);
    EXPECT_EQ(ByteAt(inside.image, 0x1FD06), 0x31);
    EXPECT_EQ(ByteAt(inside.image, 0x1FFFF), 0x32);
    EXPECT_EQ(ByteAt(inside.image, 0xFA60), 0xFF);

    ReadResult end = Read(Lines({DataRecord(0xFD5A, {0x33}), kEndRecord}), oskel);
    EXPECT_EQ(end.error, kHexOutsideImage);
    EXPECT_EQ(end.number, 0xFD5Au);
}

TEST_F(FirmwareTest, LfAndCrLfFilesReadTheSame) {
    const std::vector<std::string> lines = {
        SegmentBase(0x0100), DataRecord(0x0000, Bytes(16)), DataRecord(0x0080, {9, 8}), kEndRecord};
    std::string crlf;
    for (const std::string& line : lines) crlf += line + "\r\n";
    WriteFile("lf.hex", Lines(lines));
    WriteFile("crlf.hex", crlf);
    const std::optional<std::string> lfText = platform::ReadTextFile("lf.hex");
    const std::optional<std::string> crlfText = platform::ReadTextFile("crlf.hex");
    ASSERT_TRUE(lfText && crlfText);
    ReadResult fromLf = Read(*lfText);
    ReadResult fromCrLf = Read(*crlfText);
    EXPECT_EQ(fromLf.error, kHexOk);
    EXPECT_EQ(fromCrLf.error, kHexOk);
    ASSERT_EQ(fromLf.image.size(), fromCrLf.image.size());
    for (size_t i = 0; i < fromLf.image.size(); ++i) EXPECT_EQ(fromLf.image[i].bytes, fromCrLf.image[i].bytes) << i;
    EXPECT_EQ(ByteAt(fromCrLf.image, 0x100F), 16);
    EXPECT_EQ(ByteAt(fromCrLf.image, 0x1080), 9);
}

}  // namespace
}  // namespace fwtest
