#include "parameters/values/darray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(const darray& a) { return std::vector<uint8_t>(a.Data(), a.Data() + a.GetByteSize()); }

TEST(Darray, ElementsWidenByTheirClass) {
    struct Case {
        const char* name;
        std::unique_ptr<darray> array;
        std::vector<uint8_t> bytes;  // element 0, little-endian
        int32_t want;
    };
    Case cases[] = {
        {"darray", std::make_unique<darray>(1, 1), {0xFF}, 255},
        {"dusign8array", std::make_unique<dusign8array>(1), {0x80}, 128},
        {"dint8array", std::make_unique<dint8array>(1), {0x80}, -128},
        {"dusign16array FFFF", std::make_unique<dusign16array>(1), {0xFF, 0xFF}, 65535},
        {"dint16array FFFF", std::make_unique<dint16array>(1), {0xFF, 0xFF}, -1},
        {"dint16array 8001", std::make_unique<dint16array>(1), {0x01, 0x80}, -32767},
        {"dint16array 7FFF", std::make_unique<dint16array>(1), {0xFF, 0x7F}, 32767},
        {"dusign32array", std::make_unique<dusign32array>(1), {0x78, 0x56, 0x34, 0x12}, 0x12345678},
        {"dint32array", std::make_unique<dint32array>(1), {0xFF, 0xFF, 0xFF, 0xFF}, -1},
        {"dfloat32array 1.0f", std::make_unique<dfloat32array>(1), {0x00, 0x00, 0x80, 0x3F}, 0x3F800000},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.array->WriteBytes(c.bytes.data(), static_cast<int32_t>(c.bytes.size()), 0));
        int32_t value = 0;
        ASSERT_TRUE(c.array->GetElement(&value, 0));
        EXPECT_EQ(value, c.want);
    }
}

TEST(Darray, SetElementStoresTheElementWidthLittleEndian) {
    dint16array shorts(3);
    const int16_t minusTwo = -2;
    ASSERT_TRUE(shorts.SetElement(&minusTwo, 1));
    EXPECT_EQ(Bytes(shorts), (std::vector<uint8_t>{0, 0, 0xFE, 0xFF, 0, 0}));
    EXPECT_EQ(shorts.ElementAt(1), shorts.Data() + 2);

    dusign32array words(2);
    const uint32_t word = 0x12345678;
    ASSERT_TRUE(words.SetElement(&word, 1));
    EXPECT_EQ(Bytes(words), (std::vector<uint8_t>{0, 0, 0, 0, 0x78, 0x56, 0x34, 0x12}));

    dfloat32array floats(1);
    const float half = 0.5f;
    ASSERT_TRUE(floats.SetElement(&half, 0));
    int32_t bits = 0;
    ASSERT_TRUE(floats.GetElement(&bits, 0));
    EXPECT_EQ(bits, 0x3F000000);
}

TEST(Darray, AccessOutsideTheCountFailsAndChangesNothing) {
    dint16array a(2);
    const int16_t value = 0x1234;
    for (int32_t index : {2, -1, 65536, 65537}) {
        SCOPED_TRACE(index);
        int32_t out = 77;
        EXPECT_FALSE(a.GetElement(&out, index));
        EXPECT_EQ(out, 77);
        EXPECT_FALSE(a.SetElement(&value, index));
        EXPECT_EQ(a.ElementAt(index), nullptr);
    }
    EXPECT_EQ(Bytes(a), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(Darray, WriteBytesMustEndInsideTheBlock) {
    dusign16array a(2);  // 4 bytes
    const uint8_t bytes[] = {1, 2, 3};
    EXPECT_TRUE(a.WriteBytes(bytes, 2, 2));  // ends exactly at the byte size
    EXPECT_EQ(Bytes(a), (std::vector<uint8_t>{0, 0, 1, 2}));
    EXPECT_FALSE(a.WriteBytes(bytes, 3, 2));  // one byte more
    EXPECT_FALSE(a.WriteBytes(bytes, 1, 4));
    EXPECT_FALSE(a.WriteBytes(bytes, -1, 0));
    EXPECT_FALSE(a.WriteBytes(bytes, 1, -1));
    EXPECT_EQ(Bytes(a), (std::vector<uint8_t>{0, 0, 1, 2}));
}

TEST(Darray, CopyElementsNeedsEqualWidthsAndRoomInBoth) {
    dint16array src(4);
    const uint8_t bytes[] = {1, 0, 2, 0, 3, 0, 4, 0};
    ASSERT_TRUE(src.WriteBytes(bytes, 8, 0));

    dint16array dst(3);
    EXPECT_TRUE(dst.CopyElements(src, 1, 2));
    EXPECT_EQ(Bytes(dst), (std::vector<uint8_t>{0, 0, 2, 0, 3, 0}));
    EXPECT_FALSE(dst.CopyElements(src, 2, 2));  // beyond dst
    EXPECT_FALSE(src.CopyElements(dst, 3, 1));  // beyond the source
    EXPECT_FALSE(dst.CopyElements(src, -1, 1));
    dint32array wide(4);
    EXPECT_FALSE(wide.CopyElements(src, 0, 1));
    EXPECT_EQ(Bytes(dst), (std::vector<uint8_t>{0, 0, 2, 0, 3, 0}));

    const dint16array copy(src);
    EXPECT_EQ(copy.GetCount(), 4);
    EXPECT_EQ(copy.GetElementSize(), 2);
    EXPECT_EQ(Bytes(copy), Bytes(src));
}

TEST(Darray, SizesBeyondTheBlockLimitGiveAnEmptyArray) {
    struct Case {
        int32_t count;
        int32_t elementSize;
        uint16_t wantCount;
        uint16_t wantBytes;
    } cases[] = {
        {16383, 4, 16383, 65532},
        {16384, 4, 0, 0},
        {65535, 1, 65535, 65535},
        {65536, 1, 0, 0},
        {-1, 2, 0, 0},
        {3, 3, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " x " << c.elementSize);
        EXPECT_EQ(darray::IsValidSize(c.count, c.elementSize), c.wantCount != 0);
        const darray a(c.count, c.elementSize);
        EXPECT_EQ(a.GetCount(), c.wantCount);
        EXPECT_EQ(a.GetByteSize(), c.wantBytes);
        int32_t out = 5;
        EXPECT_EQ(a.GetElement(&out, 0), c.wantCount != 0);
    }
    const dint32array big(16384);
    EXPECT_EQ(big.GetCount(), 0);
    EXPECT_EQ(big.GetElementSize(), 4);
}

}  // namespace
