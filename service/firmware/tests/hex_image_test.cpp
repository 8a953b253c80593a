// The image file and the image checksums, against hand-made golden records.
#include <string>
#include <vector>

#include "platform/files/text_file.h"
#include "service/firmware/hex_image.h"
#include "service/firmware/tests/firmware_fixture.h"

namespace fwtest {
namespace {

const LoaderDeviceType& Type(int index) { return *FindLoaderDeviceType(index); }

void Put(LoaderImage& image, uint32_t address, std::vector<uint8_t> bytes) {
    for (uint8_t b : bytes) {
        uint8_t* at = ImageByte(image, address++);
        ASSERT_NE(at, nullptr) << address - 1;
        *at = b;
    }
}

TEST(ImageFile, RecordsOfEachAddressKind) {
    const struct {
        int type;
        std::string text;
    } cases[] = {
        {0, ":020000020000FC\n:020000021000EC\n:00000001FF\n"},
        // The first segment of "Marlo" lies at 0 but is written at 0x40000.
        {1, ":020000024000BC\n:020000024800B4\n:020000025800A4\n:02000002680094\n:02000002780084\n:00000001FF\n"},
        {4, ":020000040010EA\n:020000040011E9\n:0200000400C03A\n:0200000400C139\n:00000001FF\n"},
    };
    for (const auto& c : cases) {
        const LoaderDeviceType& type = Type(c.type);
        EXPECT_EQ(ImageHexText(MakeLoaderImage(type), type.recordLength, type.addressKind), c.text) << c.type;
    }
}

TEST(ImageFile, OnlyRecordsWithOtherBytesThanTheFillAreWritten) {
    LoaderImage image = MakeLoaderImage(Type(0));
    Put(image, 0x3F, {0x07});
    Put(image, 0x10000, {0x01});
    EXPECT_EQ(ImageHexText(image, 32, kSegmentAddressRecords),
              ":020000020000FC\n"
              ":20002000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF07D8\n"
              ":020000021000EC\n"
              ":2000000001FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFE\n"
              ":00000001FF\n");
    // A record of zeros in a segment filled with zeros is left out too.
    LoaderImage ruvex = MakeLoaderImage(Type(2));
    Put(ruvex, 0x4000, {0x00});
    EXPECT_EQ(ImageHexText(ruvex, 64, kSegmentAddressRecords).find(":40"), std::string::npos);
}

TEST(ImageFile, RefusesRecordLengthsAndKindsItCannotWrite) {
    const LoaderImage image = MakeLoaderImage(Type(0));
    EXPECT_EQ(ImageHexText(image, 0, kSegmentAddressRecords), "");
    EXPECT_EQ(ImageHexText(image, 256, kSegmentAddressRecords), "");
    EXPECT_EQ(ImageHexText(image, 32, 3), "");
}

TEST_F(FirmwareTest, ImageFileHasCrLfLineEnds) {
    const LoaderDeviceType& type = Type(0);
    ASSERT_TRUE(WriteImageHexFile(MakeLoaderImage(type), type.recordLength, "IhexSeg.hex", type.addressKind));
    EXPECT_EQ(ReadFile("IhexSeg.hex"), ":020000020000FC\r\n:020000021000EC\r\n:00000001FF\r\n");
    EXPECT_FALSE(WriteImageHexFile(MakeLoaderImage(type), type.recordLength, "nodir/IhexSeg.hex", type.addressKind));
}

TEST(ImageChecksums, SumAndXorOfTheWordsBesideTheChecksum) {
    const struct {
        const char* what;
        int type;
        std::vector<std::pair<uint32_t, std::vector<uint8_t>>> bytes;
        uint16_t sum;
        uint16_t xorWord;
    } cases[] = {
        // 0xFFFE words of 0xFFFF: sum 2, an even count cancels in the XOR.
        {"erased", 0, {}, 0x0002, 0x0000},
        // The first word starts both and is counted once.
        {"first word", 0, {{0x0, {0x34, 0x12}}}, 0x1237, 0xEDCB},
        {"checksum bytes left out", 0, {{0x0, {0x34, 0x12}}, {0x10000, {1, 2, 3, 4}}}, 0x1237, 0xEDCB},
        {"second segment counts", 1, {{0x48004, {0x01, 0x01}}}, 0x0104, 0xFEFE},
    };
    for (const auto& c : cases) {
        LoaderImage image = MakeLoaderImage(Type(c.type));
        for (const auto& [address, bytes] : c.bytes) Put(image, address, bytes);
        const ImageChecksums sums = ComputeImageChecksums(image, Type(c.type));
        EXPECT_EQ(sums.sum, c.sum) << c.what;
        EXPECT_EQ(sums.xorWord, c.xorWord) << c.what;
    }
}

TEST(ImageChecksums, StoredLittleEndianAtTheChecksumAddress) {
    const LoaderDeviceType& pesco = Type(4);
    LoaderImage image = MakeLoaderImage(pesco);
    StoreImageChecksums(image, pesco, {0x1234, 0xABCD});
    const uint8_t* at = ImageByte(image, 0x11EFFC);
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(at - 1, at + 5), (std::vector<uint8_t>{0xFF, 0x34, 0x12, 0xCD, 0xAB, 0xFF}));
}

}  // namespace
}  // namespace fwtest
