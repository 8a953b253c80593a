// Binary programme files and text declaration files of the code store.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "plceditor/core/plc_compiler.h"
#include "plceditor/core/plc_messages.h"
#include "plceditor/core/program_words.h"
#include "plceditor/core/tests/store_builder.h"
#include "testsupport/test_env.h"

namespace plc {
namespace {

std::string Golden(const std::string& name) {
    return testsupport::ReadFile(std::filesystem::path(PLCCORE_GOLDEN_DIR) / name);
}

std::string WithoutCr(std::string text) {
    std::erase(text, '\r');
    return text;
}

// Memory size 747, one program: head, "N10 NOP", END.
void BuildOneNop(PlcCompiler& store) {
    store.setMemorySize(747);
    store.resetStore();
    test::StoreBuilder build(store);
    build.Head(0);
    build.Nop(10);
    ASSERT_EQ(build.End(), msg::kNoError);
    int line = 0;
    ASSERT_EQ(store.linkProgram(line), msg::kNoError);
}

void ExpectDeviceBytesEqual(const PlcCompiler& read, const PlcCompiler& written) {
    for (int i = 0; i < PlcCompiler::kMaxRecords; ++i) {
        const auto& a = read.CodeArray()[i].Bytes();
        const auto& b = written.CodeArray()[i].Bytes();
        for (int byte : {0, 1, 4, 5, 6, 7}) ASSERT_EQ(a[byte], b[byte]) << "record " << i << " byte " << byte;
        for (int byte : {2, 3, 8, 9, 10, 11, 14, 15, 16, 17}) ASSERT_EQ(a[byte], 0) << "record " << i;
    }
}

TEST(ProgrammeFile, WritesTheGoldenFileAndReadsItBack) {
    PlcCompiler store;
    BuildOneNop(store);
    std::string path = "..\\TMP\\PlcOut.txt";
    ASSERT_TRUE(store.writeBinaryProgrammeFile(path));
    EXPECT_EQ(std::filesystem::path(path),
              std::filesystem::absolute(testsupport::RuntimePath("TMP/PlcOut.txt")).lexically_normal());
    const std::string written = testsupport::ReadFile(testsupport::RuntimePath("TMP/PlcOut.txt"));
    EXPECT_EQ(written, Golden("one_nop_747.txt"));

    uint32_t crc = 0;
    double percent = 0;
    int used = 0;
    store.programChecksumInfo(crc, percent, used);
    EXPECT_EQ(ChecksumText(crc, percent, used, store.recordCapacity()), "0xDAB1BDDB CRC - 0.6% (3/498)");

    PlcCompiler read;
    read.setMemorySize(747);
    read.resetStore();
    ASSERT_TRUE(read.readBinaryProgrammeFile("..\\TMP\\PlcOut.txt"));
    ExpectDeviceBytesEqual(read, store);
    EXPECT_TRUE(read.hasProgramHead());
    uint32_t readCrc = 0;
    read.programChecksumInfo(readCrc, percent, used);
    EXPECT_EQ(readCrc, crc);
}

TEST(ProgrammeFile, ReaderTakesLfLineEnds) {
    PlcCompiler store;
    BuildOneNop(store);
    testsupport::WriteFile(testsupport::RuntimePath("TMP/lf.txt"), WithoutCr(Golden("one_nop_747.txt")));
    PlcCompiler read;
    read.setMemorySize(747);
    read.resetStore();
    ASSERT_TRUE(read.readBinaryProgrammeFile("..\\TMP\\lf.txt"));
    ExpectDeviceBytesEqual(read, store);
}

TEST(ProgrammeFile, FullMemoryWritesEveryWord) {
    PlcCompiler store;
    store.setMemorySize(4096);
    for (CodeRecord& record : store.CodeArray()) {
        record.SetOpcode(0x25);
        record.SetOperandE(0x77);
    }
    std::string path = "..\\TMP\\full.txt";
    ASSERT_TRUE(store.writeBinaryProgrammeFile(path));
    const std::string text = testsupport::ReadFile(testsupport::RuntimePath("TMP/full.txt"));
    ASSERT_EQ(text.size(), 4096u * 10);
    EXPECT_EQ(text.substr(0, 20), "00000025\r\n00257700\r\n");
    // Record 2729 ends in the high half of word 4094; word 4095 would belong
    // to record 2730, which does not exist.
    EXPECT_EQ(text.substr(4093 * 10), "00257700\r\n77000000\r\n00000000\r\n");
}

// A shorter file replaces the whole program: records it does not reach are
// cleared, not left from the program read before.
TEST(ProgrammeFile, ShortFileLeavesNoOldRecords) {
    PlcCompiler store;
    BuildOneNop(store);
    testsupport::WriteFile(testsupport::RuntimePath("TMP/short.txt"), "000000ae\r\n");
    ASSERT_TRUE(store.readBinaryProgrammeFile("..\\TMP\\short.txt"));
    EXPECT_EQ(store.CodeArray()[0].Opcode(), 0xAE);
    EXPECT_EQ(store.CodeArray()[0].Target(), 0);
    EXPECT_EQ(store.CodeArray()[0].EndIndex(), 0);
    EXPECT_EQ(store.CodeArray()[1], CodeRecord{});
    EXPECT_EQ(store.CodeArray()[2], CodeRecord{});
}

TEST(ProgrammeFile, ReadingStopsWhereTheWordsStop) {
    struct Case {
        const char* name;
        std::string text;
        int memory;
        std::vector<uint16_t> halfwords;  // of records 0 and 1 in stream order
    } cases[] = {
        {"not hexadecimal ends the reading", "000000ae\r\nzz\r\n00250001\r\n", 747, {0xAE, 0, 0, 0, 0, 0}},
        {"spaces and prefixes as the scanner takes them", "  0x000000AE 00250001", 747, {0xAE, 0, 1, 0x25, 0, 0}},
        {"a word beyond 32 bits reads as all ones", "1ffffffff", 747, {0xFFFF, 0xFFFF, 0, 0, 0, 0}},
        {"a minus sign wraps", "-1", 747, {0xFFFF, 0xFFFF, 0, 0, 0, 0}},
        {"words beyond the memory are ignored",
         "11112222\n33334444\n55556666\n77778888\n",
         3,
         {0x2222, 0x1111, 0x4444, 0x3333, 0x6666, 0x5555}},
        {"no memory takes nothing", "11112222\n", 0, {0, 0, 0, 0, 0, 0}},
        {"an empty file gives an empty program", "", 747, {0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::WriteFile(testsupport::RuntimePath("TMP/in.txt"), c.text);
        PlcCompiler store;
        store.setMemorySize(c.memory);
        store.CodeArray()[2].SetOpcode(9);  // must be cleared, or beyond the memory stay unread
        ASSERT_TRUE(store.readBinaryProgrammeFile("..\\TMP\\in.txt"));
        std::vector<uint16_t> halfwords;
        for (int i = 0; i < 2; ++i) {
            for (int h : CodeRecord::kDeviceHalfwords) halfwords.push_back(store.CodeArray()[i].Halfword(h));
        }
        EXPECT_EQ(halfwords, c.halfwords);
        EXPECT_EQ(store.CodeArray()[2], CodeRecord{});
    }
}

TEST(ProgrammeFile, NoPathOrNoFileTouchesNothing) {
    PlcCompiler store;
    BuildOneNop(store);
    const CodeRecord head = store.CodeArray()[0];
    std::string empty;
    EXPECT_FALSE(store.writeBinaryProgrammeFile(empty));
    EXPECT_EQ(empty, "");
    EXPECT_FALSE(store.readBinaryProgrammeFile(""));
    EXPECT_FALSE(store.readBinaryProgrammeFile("..\\TMP\\missing.txt"));
    EXPECT_EQ(store.CodeArray()[0], head);

    std::string noDirectory = "..\\TMP\\no_such_dir\\out.txt";
    EXPECT_FALSE(store.writeBinaryProgrammeFile(noDirectory));
    EXPECT_EQ(noDirectory, "..\\TMP\\no_such_dir\\out.txt");
}

TEST(TextDeclarationFile, SectionsOnlyForLettersWithNames) {
    struct Name {
        char letter;
        int index;
        const char* name;
    };
    struct Case {
        const char* title;
        std::vector<Name> names;
        std::string content;
    } cases[] = {
        {"one float name", {{'F', 5, "Speed"}}, "[PLC_F]\r\n5: Speed\r\n"},
        {"no names", {}, ""},
        {"sections in the order C F H M Z, indices rising",
         {{'Z', 10, "Wait"}, {'M', 255, "Last"}, {'C', 0, "Count"}, {'M', 3, "Run"}, {'H', 127, "Pos_Max"}},
         "[PLC_C]\r\n0: Count\r\n[PLC_H]\r\n127: Pos_Max\r\n[PLC_M]\r\n3: Run\r\n255: "
         "Last\r\n[PLC_Z]\r\n10: Wait\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        PlcCompiler store;
        store.resetStore();
        store.MarkTextBlockSeen();
        store.SetTextName("Axis1");
        for (const Name& n : c.names) ASSERT_TRUE(store.Names().SetName(n.letter, n.index, n.name));
        std::string directory = "..\\TMP";
        ASSERT_TRUE(store.writeTextDeclarationFile(directory));
        EXPECT_EQ(std::filesystem::path(directory),
                  std::filesystem::absolute(testsupport::RuntimePath("TMP/Axis1.txt")).lexically_normal());
        EXPECT_EQ(testsupport::ReadFile(testsupport::RuntimePath("TMP/Axis1.txt")), c.content);
    }
}

TEST(TextDeclarationFile, PathAndFailures) {
    EXPECT_EQ(TextDeclarationPath("..\\TMP", "Axis"), "..\\TMP\\Axis.txt");
    EXPECT_EQ(TextDeclarationPath("..\\TMP\\", "Axis"), "..\\TMP\\Axis.txt");
    EXPECT_EQ(TextDeclarationPath("../TMP/", "Axis"), "../TMP/Axis.txt");

    PlcCompiler store;
    store.resetStore();
    store.SetTextName("Axis");
    std::string empty;
    EXPECT_FALSE(store.writeTextDeclarationFile(empty));
    EXPECT_EQ(empty, "");
    std::string missing = "..\\TMP\\no_such_dir";
    EXPECT_FALSE(store.writeTextDeclarationFile(missing));
    EXPECT_EQ(missing, "..\\TMP\\no_such_dir");
}

TEST(TextDeclarationFile, NamesKeepTheirSlots) {
    VariableNames names;
    EXPECT_TRUE(names.SetName('M', 255, std::string(40, 'x')));
    EXPECT_EQ(names.Name('M', 255), std::string(32, 'x'));
    EXPECT_FALSE(names.SetName('M', 256, "x"));
    EXPECT_FALSE(names.SetName('C', 11, "x"));
    EXPECT_FALSE(names.SetName('Q', 0, "x"));
    EXPECT_EQ(names.Name('C', 11), "");
    names.Clear();
    EXPECT_TRUE(names.Empty());
}

}  // namespace
}  // namespace plc
