// Whole-table transfer against the virtual drive: the table built from the
// device, the data set read and written under the download handshake,
// refused and mismatching sets, the checksum comparison and the listed
// parameters.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/services/program_flags.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/tests/transfer_fixture.h"
#include "parameters/parabase/value_text_table.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "sim/drive_faults.h"
#include "toolkit/core/gw_interaction.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using parabasetest::Define;
using parabasetest::Elements;
using parabasetest::kNineDigitFloatBits;
using parabasetest::SetElements;
using parabasetest::TransferTest;

constexpr char kSet[] = "..\\userdata\\set.00D";
constexpr int kTableElementsRead = 256;
constexpr int kDownloadEndParameterForTest = 15;

std::unique_ptr<ParaBase> Load(const char* path) { return std::make_unique<ParaBase>(dstring(path)); }

std::vector<int> PresentNumbers(const ParaBase& base) {
    std::vector<int> numbers;
    for (int i = 0; i < kParameterCount; ++i)
        if (base.IsPresent(i)) numbers.push_back(i);
    return numbers;
}

class DataSetTest : public TransferTest {
protected:
    // The device's table saved as a file set and loaded again: the source of
    // a data-set write.
    std::unique_ptr<ParaBase> SavedDeviceSet() {
        base_->InitFile(kSet);
        EXPECT_EQ(base_->WriteFileBase(), 0) << base_->MessageBuffer;
        auto file = Load(kSet);
        EXPECT_EQ(file->TableLoaded, 1) << file->MessageBuffer;
        return file;
    }
    void Handshake(int busyPolls, uint32_t result) {
        drive_->Table().handshake = {.enabled = true, .busy_polls = busyPolls, .result = result};
    }
    // The block writes of a USIGN16 array, 25 elements to a telegram.
    static std::vector<std::string> U16BlockWrites(int number, const std::vector<uint16_t>& elements) {
        std::vector<std::string> writes;
        for (size_t first = 0; first < elements.size(); first += 25) {
            const size_t n = std::min<size_t>(25, elements.size() - first);
            std::string text = platform::Format("W 70%03d%05u%02u=", number, unsigned(first), unsigned(n));
            for (size_t i = first; i < first + n; ++i) text += platform::Format("%04X", unsigned{elements[i]});
            writes.push_back(text);
        }
        return writes;
    }
    int Count(const std::string& telegram) {
        const std::vector<std::string> texts = TelegramTexts();
        return static_cast<int>(std::count(texts.begin(), texts.end(), telegram));
    }
};

TEST_F(TransferTest, ReadBusBaseBuildsTheTableFromTheDevice) {
    WriteDescriptionFile("5_003_60");
    BusTransferFlag = false;
    ASSERT_EQ(base_->ReadBusBase(), 0) << base_->MessageBuffer;
    EXPECT_EQ(base_->TableLoaded, 1);
    EXPECT_EQ(base_->EntryCount, kParameterCount);
    EXPECT_EQ(PresentNumbers(*base_), (std::vector<int>{15,  80,  90,  91,  92,  115, 116, 120, 121, 123, 125,
                                                        130, 140, 200, 201, 300, 301, 727, 728, 729, 730}));
    const ParameterEntry& speed = *base_->GetEntry(123);
    EXPECT_STREQ(speed.name, "SPEED");
    EXPECT_EQ(speed.type, kTypeInt32);
    EXPECT_EQ(speed.minimum, -6000);
    EXPECT_EQ(speed.maximum, 6000);
    EXPECT_EQ(speed.value, 1500);
    EXPECT_EQ(speed.SCGroup, 2);
    EXPECT_EQ(speed.markA + speed.transfer + speed.markB, 3);
    EXPECT_EQ(base_->GetEntry(125)->value, 0x3F800000);

    // Arrays keep at most 256 elements of what the device has.
    std::vector<int32_t> table(kTableElementsRead, 0);
    table[0] = 1, table[1] = 2, table[2] = 3;
    EXPECT_EQ(Elements(*base_, 200), table);
    EXPECT_EQ(base_->GetArrayObject(200)->GetElementSize(), 2);
    EXPECT_EQ(Elements(*base_, 201), (std::vector<int32_t>{-1, 2, -3, 0, 0, 0, 0, 0}));
    EXPECT_STREQ(base_->GetTextObject(130)->Text(), "Axis one");

    const ValueTextTable& texts = base_->GetValueTextTable();
    auto text = [&](int number, int value) {
        const char* t = texts.GetValueText(number, value);
        return t != nullptr ? std::string(t) : std::string("(null)");
    };
    EXPECT_EQ(text(120, 0) + "|" + text(120, 1) + "|" + text(120, 2), "Off|Speed control|Position");
    EXPECT_EQ(text(121, 0) + "|" + text(121, 1) + "|" + text(121, 2), "Left||Right");
    // An error structure's texts end at the first "-----".
    EXPECT_EQ(text(140, 0) + "|" + text(140, 1) + "|" + text(140, 2), "E_NONE|E_OVER|(null)");

    EXPECT_STREQ(base_->GetPath(kDescriptionFilePath), "..\\LANGUAGE\\044\\5_003_60.PIT");
    EXPECT_TRUE(BusWriteLogging);
    EXPECT_FALSE(BusTransferFlag);
    const std::string log = ProgramLog();
    EXPECT_NE(log.find("ParaBase->ReadBusBase: \n"), std::string::npos);
    // The value-text reads write their index without a log entry each.
    EXPECT_EQ(log.find("parameter write access"), std::string::npos);
}

TEST_F(TransferTest, UncoupledDevicesKeepTheTableWithoutBusTraffic) {
    ReadDevice();
    DevicesUncoupled = true;
    EXPECT_EQ(base_->ReadBusBase(), 0);
    EXPECT_EQ(TelegramTexts(), std::vector<std::string>{});
    EXPECT_EQ(base_->TableLoaded, 1);
    EXPECT_EQ(base_->GetEntry(123)->value, 1500);
    EXPECT_EQ(Elements(*base_, 201).size(), 8u);
}

TEST_F(TransferTest, WithoutBusTheTableIsClearedAndTheAnswerIs25) {
    ParaBase base;
    Define(base, {.number = 5, .name = "X"});
    base.TableLoaded = 1;
    EXPECT_EQ(base.ReadBusBase(), kParaNoBus);
    EXPECT_STREQ(base.MessageBuffer, "No bus attached to this parameterbase");
    EXPECT_FALSE(base.IsPresent(5));
    EXPECT_EQ(base.TableLoaded, 0);
}

TEST_F(TransferTest, ReadBusBaseStopsAtABusError) {
    drive_->AddFault(sim::DriveFault::Silence().For("30123").Times(sim::kForever));
    EXPECT_EQ(base_->ReadBusBase(), kParaBusError);
    EXPECT_STREQ(base_->MessageBuffer, "RS232 transmission error: \nNo acknowlege of device");
    EXPECT_EQ(base_->TableLoaded, 0);
    EXPECT_TRUE(base_->IsPresent(120));
    EXPECT_FALSE(base_->IsPresent(125));
    EXPECT_TRUE(BusWriteLogging);
}

TEST_F(TransferTest, ValueTheDeviceRefusesAsksWhetherToGoOn) {
    MessageBoxesEnabled = true;
    for (const int answer : {GwRESULT_OK, GwRESULT_CANCEL}) {
        drive_->AddFault(sim::DriveFault::Nak(sim::kStatusNoParameter).For("20123"));
        gwtest::AnswerBox(answer);
        const int result = base_->ReadBusBase();
        ASSERT_FALSE(gwtest::Boxes().empty());
        EXPECT_EQ(gwtest::Boxes().back().caption, "Device access error");
        if (answer == GwRESULT_OK) {
            // The table is read on; the value not read stays out of the data set.
            EXPECT_EQ(result, 0) << base_->MessageBuffer;
            EXPECT_EQ(base_->TableLoaded, 1);
            EXPECT_TRUE(base_->IsPresent(123));
            EXPECT_EQ(base_->GetEntry(123)->transfer, 0);
            EXPECT_EQ(base_->GetEntry(125)->transfer, 1);
        } else {
            EXPECT_EQ(result, kParaBusErrorInParameter);
            EXPECT_EQ(base_->TableLoaded, 0);
            EXPECT_FALSE(base_->IsPresent(125));
        }
    }
}

TEST_F(DataSetTest, ReadBusDataReadsTheDataSetOrTheSelection) {
    ReadDevice();
    EXPECT_EQ(ParaBase().ReadBusData(false), kParaNoValidBase);

    OnDrive(123).value = static_cast<uint32_t>(-100);
    OnDrive(201).elements[0] = 5;
    base_->DeselectAll(true);
    ASSERT_EQ(base_->SelectParameter(123, true), 0);
    ASSERT_EQ(base_->ReadBusData(true), 0) << base_->MessageBuffer;
    EXPECT_EQ(TelegramTexts(), std::vector<std::string>{"R 20123"});
    EXPECT_EQ(base_->GetEntry(123)->value, -100);
    EXPECT_EQ(Elements(*base_, 201)[0], -1);

    drive_->ClearCapture();
    ASSERT_EQ(base_->ReadBusData(false), 0) << base_->MessageBuffer;
    EXPECT_EQ(Elements(*base_, 201)[0], 5);
    EXPECT_EQ(Count("R 20123"), 1);
    EXPECT_EQ(Count("R 702010000008"), 1);
    EXPECT_EQ(Count("R 20080"), 1);
}

TEST_F(DataSetTest, WriteBusDataWritesTheSetUnderTheHandshake) {
    ReadDevice();
    auto file = SavedDeviceSet();
    file->GetEntry(120)->value = 2;
    file->GetEntry(123)->value = 2000;
    file->GetEntry(125)->value = static_cast<int32_t>(kNineDigitFloatBits);
    file->GetTextObject(130)->AssignText("Axis two");
    SetElements(*file, 200, {1, 9});
    file->GetEntry(301)->value = 99;  // no SC group: not in the data set
    Handshake(2, 0);
    drive_->ClearCapture();

    BusTransferFlag = false;
    ASSERT_EQ(base_->WriteBusData(*file), 0) << base_->MessageBuffer;
    EXPECT_EQ(base_->NothingWritten, 0);

    std::vector<std::string> expected = {
        "W 20080=FFFFFFFF", "W 20120=2", "W 20121=0", "W 20123=7D0", "W 20125=41757237", "W 20130=Axis two"};
    std::vector<uint16_t> table(kTableElementsRead, 0);
    table[0] = 1, table[1] = 9, table[2] = 3;
    for (const std::string& w : U16BlockWrites(200, table)) expected.push_back(w);
    expected.push_back("W 702010000008=FF02FD0000000000");
    // The drive refuses the read-only parameter; the set goes on.
    expected.push_back("W 20300=5");
    expected.push_back("R 00085");
    expected.push_back("W 707280000003=000000000000");
    expected.push_back("W 20080=FFFFFFFE");
    for (int poll = 0; poll < 3; ++poll) expected.push_back("R 20080");
    expected.push_back("W 20015=1");
    EXPECT_EQ(TelegramTexts(), expected);

    // One second between the polls, on the clock.
    std::vector<uint64_t> polls;
    uint64_t end = 0;
    for (const auto& t : Telegrams()) {
        if (t.text == "R 20080") polls.push_back(t.time_us);
        if (t.text == "W 20080=FFFFFFFE") end = t.time_us;
    }
    ASSERT_EQ(polls.size(), 3u);
    for (size_t i = 0; i < polls.size(); ++i) {
        const uint64_t gap = polls[i] - (i == 0 ? end : polls[i - 1]);
        EXPECT_GE(gap, 1000000u) << i;
        EXPECT_LT(gap, 1100000u) << i;
    }

    EXPECT_EQ(OnDrive(120).value, 2u);
    EXPECT_EQ(OnDrive(123).value, 2000u);
    EXPECT_EQ(OnDrive(125).value, kNineDigitFloatBits);
    EXPECT_EQ(OnDrive(130).text, "Axis two");
    EXPECT_EQ(OnDrive(200).elements[1], 9u);
    EXPECT_EQ(OnDrive(301).value, 7u);
    EXPECT_EQ(OnDrive(15).value, 1u);
    EXPECT_TRUE(BusWriteLogging);
    EXPECT_FALSE(BusTransferFlag);
    const std::string log = ProgramLog();
    EXPECT_NE(log.find("ParaBase->WriteBusData: \n"), std::string::npos);
    EXPECT_EQ(log.find("parameter write access"), std::string::npos);
}

TEST_F(DataSetTest, HandshakeThatDoesNotEndWellIsAnError) {
    struct Case {
        int busyPolls;
        uint32_t result;
        int code;
        const char* message;
        int polls;
    };
    // clang-format off
    const Case cases[] = {
        {sim::kHandshakeBusyForever, 0, kParaDownloadTimeout,
         "Timeout during data transmission of parameterbase to device", 10},
        {0, 125, kParaRefusedByDevice, "New value of parameter 125-GAIN  is out of valid range", 1},
        {3, 2000, kParaRefusedByDevice, "New value of parameter 2000- is out of valid range", 4},
    };
    // clang-format on
    ReadDevice();
    auto file = SavedDeviceSet();
    for (const Case& c : cases) {
        Handshake(c.busyPolls, c.result);
        OnDrive(kDownloadEndParameterForTest).value = 0;
        drive_->ClearCapture();
        EXPECT_EQ(base_->WriteBusData(*file), c.code) << c.message;
        EXPECT_STREQ(base_->MessageBuffer, c.message);
        EXPECT_EQ(Count("R 20080"), c.polls) << c.message;
        EXPECT_EQ(Count("W 20015=1"), 0) << c.message;
        EXPECT_TRUE(BusWriteLogging);
    }
}

TEST_F(DataSetTest, SetOfAnotherDeviceClassIsRefusedWithoutAWrite) {
    MessageBoxesEnabled = true;
    struct Case {
        uint16_t sourceCode;
        int answer;  // to the question about another class; 0: none asked
        const char* box;
        bool written;
    };
    const Case cases[] = {
        {4001, 0, "The file belongs to device type Ruvex4001, the device is of type Pesco5123", false},
        {1234, GwRESULT_NO, "The file belongs to another device class. Load it anyway?", false},
        {1234, GwRESULT_YES, "The file belongs to another device class. Load it anyway?", true},
    };
    ReadDevice();
    auto file = SavedDeviceSet();
    for (const Case& c : cases) {
        Handshake(0, 0);
        file->GetEntry(91)->value = c.sourceCode;
        if (c.answer != 0)
            gwtest::AnswerBox(c.answer);
        else
            gwtest::AnswerBox(GwRESULT_OK);
        base_->MessageBuffer[0] = 'x';
        drive_->ClearCapture();
        EXPECT_EQ(base_->WriteBusData(*file), 0) << c.sourceCode;
        if (!c.written) {
            EXPECT_STREQ(base_->MessageBuffer, "");
        }
        ASSERT_FALSE(gwtest::Boxes().empty());
        EXPECT_EQ(gwtest::Boxes().back().text, c.box);
        EXPECT_EQ(base_->NothingWritten, c.written ? 0 : 1) << c.sourceCode;
        EXPECT_EQ(TelegramTexts().empty(), !c.written) << c.sourceCode;
    }
}

TEST_F(DataSetTest, FirstParameterThatDoesNotMatchIsNamed) {
    ReadDevice();
    auto file = SavedDeviceSet();
    std::memcpy(file->GetEntry(123)->name, "SPED ", 6);
    file->GetEntry(130)->type = kTypeInt16;
    EXPECT_EQ(base_->CheckDataSetMatch(*file), 123);
    EXPECT_EQ(base_->WriteBusData(*file), kParaSetMismatch);
    EXPECT_STREQ(base_->MessageBuffer,
                 "Parameter 123-SPED  of file \"..\\userdata\\set.00D\" does not match the device");
    EXPECT_EQ(base_->NothingWritten, 1);
    std::memcpy(file->GetEntry(123)->name, "SPEED", 6);
    EXPECT_EQ(base_->CheckDataSetMatch(*file), 130);
    EXPECT_EQ(TelegramTexts(), std::vector<std::string>{});

    ParaBase empty;
    EXPECT_EQ(empty.WriteBusData(*file), kParaNoValidBase);
}

TEST_F(DataSetTest, SetReadSavedLoadedAndWrittenBackLeavesTheDriveAsItWas) {
    const sim::DriveTable before = drive_->Table();
    ReadDevice();
    auto file = SavedDeviceSet();
    Handshake(1, 0);
    ASSERT_EQ(base_->WriteBusData(*file), 0) << base_->MessageBuffer;
    for (int number = 0; number < kParameterCount; ++number) {
        const sim::DriveParameter* was = before.Find(number);
        const sim::DriveParameter* is = drive_->Table().Find(number);
        if (was == nullptr || number == kDownloadEndParameterForTest) continue;
        EXPECT_EQ(is->value, was->value) << number;
        EXPECT_EQ(is->text, was->text) << number;
        EXPECT_EQ(is->elements, was->elements) << number;
    }
    EXPECT_EQ(OnDrive(kDownloadEndParameterForTest).value, 1u);
}

TEST_F(TransferTest, ChecksumsDecideWhetherAFileBaseFitsTheDevice) {
    ReadDevice();
    EXPECT_TRUE(base_->IsFileBaseCompatible());
    EXPECT_EQ(TelegramTexts(), (std::vector<std::string>{"R 20116", "R 20115"}));

    base_->GetEntry(116)->value = 0xABCE;
    EXPECT_FALSE(base_->IsFileBaseCompatible());
    EXPECT_NE(ProgramLog().find("\tParaBase::IsFileBaseCompatible(): Parameter base file incompatible ->  "
                                "CSADD (File) = 0000ABCEH CSXOR (File) = 00001234H "
                                "CSADD (device) = 0000ABCDH CSXOR (device) = 00001234H\n"),
              std::string::npos)
        << ProgramLog();

    // A device that does not answer is no match, and nothing is logged.
    const size_t logged = ProgramLog().size();
    base_->GetEntry(116)->value = 0xABCE;
    drive_->AddFault(sim::DriveFault::Silence().For("20115").Times(sim::kForever));
    EXPECT_FALSE(base_->IsFileBaseCompatible());
    EXPECT_EQ(ProgramLog().substr(logged).find("IsFileBaseCompatible"), std::string::npos);

    // A table without both checksum names fits without a device read.
    std::memcpy(base_->GetEntry(116)->name, "CSAD ", 6);
    drive_->ClearCapture();
    EXPECT_TRUE(base_->IsFileBaseCompatible());
    EXPECT_EQ(TelegramTexts(), std::vector<std::string>{});
}

TEST_F(DataSetTest, ListedParametersMoveFromAFileToTheDevice) {
    ReadDevice();
    EXPECT_EQ(base_->GetListedParameters(), std::vector<int>{});
    base_->GetEntry(91)->value = 4001;  // a class with a list
    EXPECT_EQ(base_->GetListedParameters(), (std::vector<int>{728, 729, 727, 730}));
    auto file = SavedDeviceSet();
    file->GetEntry(727)->value = 11;
    SetElements(*file, 728, {1, 2, 3});
    file->GetTextObject(729)->AssignText("xyz");
    file->GetEntry(730)->value = 0x40200000;  // 2.5f
    file->GetEntry(123)->value = 99;          // not listed
    ASSERT_EQ(file->WriteFileBase(), 0) << file->MessageBuffer;

    ASSERT_EQ(base_->CopyListedFromFile(kSet, false), 0) << base_->MessageBuffer;
    EXPECT_EQ(base_->GetEntry(123)->value, 1500);
    ASSERT_EQ(base_->WriteListedToDevice(false), 0) << base_->MessageBuffer;
    EXPECT_EQ(
        TelegramTexts(),
        (std::vector<std::string>{"W 707280000003=000100020003", "W 20729=xyz", "W 20727=B", "W 20730=40200000"}));
    EXPECT_EQ(OnDrive(727).value, 11u);

    // Only what carries mark B, when asked.
    base_->DeselectAll(true);
    base_->SelectParameter(729, true);
    drive_->ClearCapture();
    ASSERT_EQ(base_->WriteListedToDevice(true), 0);
    EXPECT_EQ(TelegramTexts(), std::vector<std::string>{"W 20729=xyz"});

    // An array of another length in the file is a mismatch.
    file->SetArrayObject(728, CreateArrayForType(kTypeUsign16, 4));
    ASSERT_EQ(file->WriteFileBase(), 0);
    EXPECT_EQ(base_->CopyListedFromFile(kSet, false), kParaSetMismatch);
    EXPECT_STREQ(base_->MessageBuffer,
                 "Parameter 728-LB    of file \"..\\userdata\\set.00D\" does not match the device");
    EXPECT_EQ(base_->CopyListedFromFile("..\\userdata\\none.00D", false), kParaCannotOpenFile);
    EXPECT_STREQ(base_->MessageBuffer, "Cannot open file \"..\\userdata\\none.00D\"");

    EXPECT_EQ(ParaBase().WriteListedToDevice(false), kParaNoValidBase);
}

}  // namespace
