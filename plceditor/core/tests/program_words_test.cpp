// Halfword packing, programme CRC and usage figures.
#include "plceditor/core/program_words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plceditor/core/plc_compiler.h"

namespace plc {
namespace {

uint32_t Crc(const std::string& bytes) {
    return programCrc32(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()));
}

TEST(ProgramCrc32, StartsAtTheFirstByteAndNeverReturnsZero) {
    EXPECT_EQ(Crc("abc"), 0x8136879Eu);
    // "abc" followed by its own CRC, low byte first, comes out as 0.
    EXPECT_EQ(Crc(std::string("abc\x9E\x87\x36\x81", 7)), kZeroCrc);
    EXPECT_EQ(Crc(""), 0xA0A0A0A0u);
    EXPECT_EQ(programCrc32(nullptr, 0), 0xA0A0A0A0u);
}

TEST(ProgramWords, RecordsFillThreeHalfwordsEach) {
    std::vector<CodeRecord> code(4);
    code[0].SetHalfword(0, 0xA1A0);
    code[0].SetHalfword(1, 0x9999);  // the label never reaches the device
    code[0].SetHalfword(2, 0xB1B0);
    code[0].SetHalfword(3, 0xC1C0);
    code[1].SetHalfword(0, 0xD1D0);
    code[1].SetHalfword(2, 0xE1E0);
    code[1].SetHalfword(3, 0xF1F0);
    code[1].SetSourceLine(77);
    code[2].SetHalfword(0, 0x0102);  // beyond the capacity of 2
    std::vector<uint32_t> words(4, 0xDEADBEEF);
    PackProgramWords(code, 2, words);
    EXPECT_EQ(words, (std::vector<uint32_t>{0xB1B0A1A0, 0xD1D0C1C0, 0xF1F0E1E0, 0}));

    std::vector<CodeRecord> back(4);
    UnpackProgramWords(words, 2, back);
    for (int i = 0; i < 2; ++i) {
        for (int h : CodeRecord::kDeviceHalfwords) EXPECT_EQ(back[i].Halfword(h), code[i].Halfword(h));
        EXPECT_EQ(back[i].Label(), 0);
        EXPECT_EQ(back[i].SourceLine(), 0);
    }
    EXPECT_EQ(back[2], CodeRecord{});
}

// 747 words hold 498 records exactly: record 497 ends in the high half of the
// last word. 4096 words hold 2730 records and leave the last word empty.
TEST(ProgramWords, MemoryEndsAtTheCapacity) {
    std::vector<CodeRecord> code(PlcCompiler::kMaxRecords);
    for (CodeRecord& record : code) {
        record.SetOpcode(0x11);
        record.SetOperandA(0x22);
        record.SetConstant(0x44443333);
    }
    std::vector<uint32_t> small(747);
    PackProgramWords(code, 498, small);
    EXPECT_EQ(small[746], 0x44443333u);

    std::vector<uint32_t> full(4096);
    PackProgramWords(code, 2730, full);
    EXPECT_EQ(full[4094], 0x44443333u);
    EXPECT_EQ(full[4095], 0u);
}

TEST(ProgramWords, ChecksumLineAndUsage) {
    EXPECT_EQ(ChecksumText(0xDAB1BDDB, UsagePercent(3, 498), 3, 498), "0xDAB1BDDB CRC - 0.6% (3/498)");
    EXPECT_EQ(ChecksumText(0xA0A0A0A0, UsagePercent(0, 0), 0, 0), "0xA0A0A0A0 CRC - 0.0% (0/0)");
    EXPECT_DOUBLE_EQ(UsagePercent(249, 498), 50.0);
    EXPECT_EQ(UsagePercent(5, 0), 0.0);
    EXPECT_EQ(UsagePercent(5, -1), 0.0);
}

TEST(ProgramWords, EmptyMemoryHasTheZeroCrcAndNoUsage) {
    PlcCompiler store;
    store.setMemorySize(0);
    store.resetStore();
    uint32_t crc = 0;
    double percent = -1;
    int used = -1;
    store.programChecksumInfo(crc, percent, used);
    EXPECT_EQ(crc, 0xA0A0A0A0u);
    EXPECT_EQ(percent, 0.0);
    EXPECT_EQ(used, 0);
}

// Only the device bytes of a record count: a label or source line changes
// nothing, an operand does.
TEST(ProgramWords, ChecksumCoversOnlyDeviceBytes) {
    PlcCompiler store;
    store.setMemorySize(747);
    store.resetStore();
    store.CodeArray()[1].SetOpcode(37);
    uint32_t base = 0;
    double percent = 0;
    int used = 0;
    store.programChecksumInfo(base, percent, used);

    uint32_t crc = 0;
    store.CodeArray()[1].SetLabel(10);
    store.CodeArray()[1].SetSourceLine(12);
    store.CodeArray()[1].SetEndIndex(3);
    store.programChecksumInfo(crc, percent, used);
    EXPECT_EQ(crc, base);
    store.CodeArray()[1].SetOperandB(1);
    store.programChecksumInfo(crc, percent, used);
    EXPECT_NE(crc, base);
}

}  // namespace
}  // namespace plc
