// The PLC program's transfer between the program parameters "PLCC0" ..
// "PLCC8" and a word file: golden bytes of the export, the import's word
// placement and mismatch text, the activity windows and their waits, and the
// device traffic of online transfers against the virtual drive.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/main/tests/main_fixture.h"
#include "parameters/parabase/tests/parabase_fixture.h"
#include "parameters/values/darray.h"
#include "platform/system/clock.h"
#include "plchost/plc_transfer.h"
#include "plchost/plc_word_file.h"
#include "sim/drive_faults.h"
#include "sim/drive_plc.h"
#include "testsupport/test_env.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using parabasetest::Define;
using parabasetest::Param;

constexpr char kWordFile[] = "..\\TMP\\PlcWords.txt";
constexpr char kProgramLine[] = "\tActive Message from MainWindow:\t";

std::string WordFileBytes() { return testsupport::ReadFile(testsupport::RuntimePath("TMP/PlcWords.txt")); }
void WriteWordFile(const std::string& bytes) {
    testsupport::WriteFile(testsupport::RuntimePath("TMP/PlcWords.txt"), bytes);
}
std::string Words(uint32_t first, int count, bool lowerCase = false) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        std::string line = FormatPlcWord(first + static_cast<uint32_t>(i));
        if (lowerCase)
            for (char& c : line) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        text += line;
    }
    return text;
}

class PlcTransferTest : public maintest::MainTest {
protected:
    void SetUp() override {
        MainTest::SetUp();
        std::filesystem::remove(testsupport::RuntimePath("TMP/PlcWords.txt"));
        gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
        NewLogText();
    }
    void TearDown() override {
        std::filesystem::remove(testsupport::RuntimePath("TMP/PlcWords.txt"));
        MainTest::TearDown();
    }

    // An offline base with a PLC project and the program parameters given
    // by number, name and element count (0: a scalar).
    void DefineProgram(std::vector<std::tuple<int, const char*, int>> parameters, bool withProject = true) {
        if (withProject) Define(*base_, Param{468, "PLCPJ", kTypeString});
        for (auto [number, name, elements] : parameters) {
            Param p{number, name, kTypeUsign32, 0, -1};
            if (elements > 0) p.flags = kFlagArray;
            Define(*base_, p, elements);
        }
    }
    std::vector<uint32_t> Stored(int number) {
        std::vector<uint32_t> words;
        for (int i = 0; i < base_->GetValueCount(number); ++i) {
            uint32_t w = 0;
            base_->GetValueU32(number, &w, i);
            words.push_back(w);
        }
        return words;
    }
    // The activity texts the program log gained.
    std::vector<std::string> ActivityTexts() {
        std::vector<std::string> texts;
        const std::string log = NewLogText();
        for (size_t at = log.find(kProgramLine); at != std::string::npos; at = log.find(kProgramLine, at + 1)) {
            const size_t start = at + std::strlen(kProgramLine);
            texts.push_back(log.substr(start, log.find('\n', start) - start));
        }
        return texts;
    }
    // A drive with the PLC, activated.
    sim::VirtualDrive& ActivatePlcDrive() {
        sim::DriveTable table = maintest::ActivationTable();
        sim::AddPlc(table);
        sim::VirtualDrive& drive = AddDrive(maintest::kAddress, table);
        Activate();
        return drive;
    }

    std::unique_ptr<ParaBase> base_ = std::make_unique<ParaBase>();
};

TEST_F(PlcTransferTest, ExportWritesOneWordPerLineWithCrLf) {
    DefineProgram({{700, "PLCC0", 2}});
    base_->SetValueU32(700, 0x000000AE, 0);
    base_->SetValueU32(700, 0x00250001, 1);
    const uint32_t start = platform::GetTickCount();
    EXPECT_TRUE(ExportPlcProgram(base_.get(), kWordFile, false));
    EXPECT_EQ(WordFileBytes(), "000000AE\r\n00250001\r\n");
    EXPECT_GE(platform::GetTickCount() - start, kExportSettleMs);
    EXPECT_EQ(ActivityTexts(), std::vector<std::string>{"Reading the PLC program from the file ..."});
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(PlcTransferTest, ExportFindsProgramParametersInRisingNumbers) {
    struct Case {
        const char* what;
        std::vector<std::tuple<int, const char*, int>> parameters;
        std::string bytes;
    };
    const Case cases[] = {
        {"no PLCC0: an empty file", {{701, "PLCC1", 1}}, ""},
        {"PLCC1 below PLCC0 is not found", {{650, "PLCC1", 1}, {700, "PLCC0", 1}}, "00000001\r\n"},
        {"a scalar is one word", {{700, "PLCC0", 0}, {702, "PLCC1", 2}}, "00000001\r\n00000001\r\n00000002\r\n"},
    };
    for (const Case& c : cases) {
        base_ = std::make_unique<ParaBase>();
        DefineProgram(c.parameters);
        for (auto [number, name, elements] : c.parameters)
            for (int i = 0; i < std::max(elements, 1); ++i) base_->SetValueU32(number, static_cast<uint32_t>(i + 1), i);
        EXPECT_TRUE(ExportPlcProgram(base_.get(), kWordFile, false)) << c.what;
        EXPECT_EQ(WordFileBytes(), c.bytes) << c.what;
    }
}

TEST_F(PlcTransferTest, ExportRefusesWithoutProjectOrFile) {
    DefineProgram({{700, "PLCC0", 2}}, false);
    EXPECT_FALSE(ExportPlcProgram(base_.get(), kWordFile, false));
    EXPECT_FALSE(std::filesystem::exists(testsupport::RuntimePath("TMP/PlcWords.txt")));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"warning: The device holds no PLC project!"});
    EXPECT_TRUE(ActivityTexts().empty());

    Define(*base_, Param{468, "PLCPJ", kTypeString});
    const std::string missing = "..\\NoSuchFolder\\PlcWords.txt";
    EXPECT_FALSE(ExportPlcProgram(base_.get(), missing, false));
    EXPECT_EQ(BoxTexts().back(), "error: Cannot open file \"" + missing + "\"!");
}

TEST_F(PlcTransferTest, OnlineExportReadsTheDeviceBeforeWritingTheFile) {
    sim::VirtualDrive& drive = ActivatePlcDrive();
    sim::DriveParameter* program = drive.Table().Find(sim::kPlcProgramFirstParameter);
    for (int i = 0; i < sim::kPlcProgramWords; ++i) program->elements[i] = 0x100 + i;
    NewLogText();
    EXPECT_TRUE(ExportPlcProgram(main_->ActiveParaBase(), kWordFile, true));
    const std::string bytes = WordFileBytes();
    EXPECT_EQ(bytes.substr(0, 20), "00000100\r\n00000101\r\n");
    EXPECT_EQ(bytes.size(), 3u * sim::kPlcProgramWords * 10);
    EXPECT_EQ(ActivityTexts(), std::vector<std::string>{"Reading the PLC program from the device ..."});
    const std::vector<std::string> heard = drive.Capture().TelegramTexts();
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.front().substr(0, 7), "R 70600");

    drive.AddFault(sim::DriveFault::Nak(0x0008).For("706010000099").Times(sim::kForever));
    EXPECT_FALSE(ExportPlcProgram(main_->ActiveParaBase(), kWordFile, true));
    ASSERT_FALSE(BoxTexts().empty());
    EXPECT_EQ(BoxTexts().back().substr(0, 7), "error: ");
}

TEST_F(PlcTransferTest, ImportFillsTheParametersInOrder) {
    DefineProgram({{700, "PLCC0", 512}, {710, "PLCC1", 512}});
    WriteWordFile(Words(1, 1024));
    const uint32_t start = platform::GetTickCount();
    EXPECT_TRUE(ImportPlcProgram(base_.get(), kWordFile, false));
    EXPECT_GE(platform::GetTickCount() - start, kImportSettleMs);
    EXPECT_EQ(ActivityTexts(), std::vector<std::string>{"Writing the PLC program to the file ..."});
    EXPECT_EQ(Stored(700).front(), 1u);
    EXPECT_EQ(Stored(700).back(), 512u);
    EXPECT_EQ(Stored(710).front(), 513u);
    EXPECT_EQ(Stored(710).back(), 1024u);
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(PlcTransferTest, ImportOfMoreWordsThanParametersNamesTheLineCount) {
    DefineProgram({{700, "PLCC0", 512}, {710, "PLCC1", 512}});
    WriteWordFile(Words(1, 1100));
    EXPECT_FALSE(ImportPlcProgram(base_.get(), kWordFile, false));
    EXPECT_EQ(BoxTexts(),
              std::vector<std::string>{"error: The PLC-program out of file \"..\\TMP\\PlcWords.txt\" (1100 lines)\n"
                                       "doesn´t match with count of PLC-program-parameter PLCCx!"});
    EXPECT_EQ(Stored(710).back(), 1024u) << "what was stored stays";
}

TEST_F(PlcTransferTest, ImportTakesShortFilesAndEitherCase) {
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<uint32_t> first;  // PLCC0 after the import
    };
    const Case cases[] = {
        {"empty file", "", {0, 0, 0}},
        {"lower case", "000000ae\nabcdef01\n", {0xAE, 0xABCDEF01, 0}},
        {"ends inside", "00000001\r\n", {1, 0, 0}},
        {"a line that is no word ends it", "00000001\n00000002 3\n00000004\n", {1, 0, 0}},
    };
    for (const Case& c : cases) {
        base_ = std::make_unique<ParaBase>();
        DefineProgram({{700, "PLCC0", 3}, {701, "PLCC1", 3}});
        WriteWordFile(c.bytes);
        EXPECT_TRUE(ImportPlcProgram(base_.get(), kWordFile, false)) << c.what;
        EXPECT_EQ(Stored(700), c.first) << c.what;
        EXPECT_EQ(Stored(701), std::vector<uint32_t>({0, 0, 0})) << c.what;
    }
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_FALSE(ImportPlcProgram(base_.get(), "..\\TMP\\NoWords.txt", false));
    EXPECT_EQ(BoxTexts().back(), "error: Cannot open file \"..\\TMP\\NoWords.txt\"!");
}

TEST_F(PlcTransferTest, OnlineImportWritesEachParameterToTheDrive) {
    sim::VirtualDrive& drive = ActivatePlcDrive();
    WriteWordFile(Words(0x1000, 768));
    NewLogText();
    const uint32_t start = platform::GetTickCount();
    EXPECT_TRUE(ImportPlcProgram(main_->ActiveParaBase(), kWordFile, true));
    EXPECT_GE(platform::GetTickCount() - start, kImportSettleMs);
    EXPECT_EQ(ActivityTexts(), std::vector<std::string>{"Writing the PLC program to the device ..."});
    for (int k = 0; k < 3; ++k) {
        const sim::DriveParameter* program = drive.Table().Find(sim::kPlcProgramFirstParameter + k);
        EXPECT_EQ(program->elements.front(), 0x1000u + 256u * k);
        EXPECT_EQ(program->elements.back(), 0x1000u + 256u * k + 255u);
    }
    std::vector<std::string> written;
    for (const std::string& text : drive.Capture().TelegramTexts())
        if (text.rfind("W 70", 0) == 0 && (written.empty() || written.back() != text.substr(0, 7)))
            written.push_back(text.substr(0, 7));
    EXPECT_EQ(written, std::vector<std::string>({"W 70600", "W 70601", "W 70602"}));
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(PlcTransferTest, FailedDeviceWriteKeepsWhatWasWrittenBefore) {
    sim::VirtualDrive& drive = ActivatePlcDrive();
    WriteWordFile(Words(0x2000, 768));
    drive.AddFault(sim::DriveFault::Nak(0x0080).For("706010000012").Times(sim::kForever));
    EXPECT_FALSE(ImportPlcProgram(main_->ActiveParaBase(), kWordFile, true));
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0],
              "error: RS232 transmission error in parameter 601-PLCC1: \nInvalid new value for parameter!");
    EXPECT_EQ(drive.Table().Find(sim::kPlcProgramFirstParameter)->elements.back(), 0x2000u + 255u);
    EXPECT_EQ(drive.Table().Find(sim::kPlcProgramFirstParameter + 2)->elements.front(), 0u);
    uint32_t stored = 0;
    main_->ActiveParaBase()->GetValueU32(sim::kPlcProgramFirstParameter + 1, &stored, 0);
    EXPECT_EQ(stored, 0x2100u);
}

}  // namespace
