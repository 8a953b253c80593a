// The serial bus's slots against the virtual drive: exact bytes on the wire,
// the checks before any telegram, error categories, blocks, sample blocks,
// descriptions, value texts and texts.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "bus/base/new_bus.h"
#include "bus/serial/tarn_bus.h"
#include "bus/serial/tests/serial_fixture.h"
#include "platform/base/format.h"
#include "platform/system/clock.h"

namespace bustest {
namespace {

constexpr int kAddress = 5;

class TarnBusTest : public SerialLineTest {
protected:
    void SetUp() override {
        drive_ = &AddDrive(kAddress);
        bus_ = std::make_unique<TarnBus>(1, 9600);
        ASSERT_TRUE(bus_->IsOpen());
        bus_->AddDevice(kAddress, kTypeNumber, 5.0f);
    }
    void TearDown() override { bus_.reset(); }

    // Lets the last bytes reach the drive.
    void Settle() {
        platform::TheVirtualClock()->AdvanceMs(10);
        line_.Service();
    }
    std::string Heard() {
        Settle();
        return drive_->Capture().ToDrive();
    }

    sim::VirtualDrive* drive_ = nullptr;
    std::unique_ptr<TarnBus> bus_;
};

TEST_F(TarnBusTest, ExactBytesOfAWriteAndARead) {
    ASSERT_TRUE(bus_->WriteParameterValue(kWritableParameter, 500, kAddress));
    EXPECT_EQ(Hex(Heard()), "04 45 02 32 30 31 32 33 3D 31 46 34 03 4F 04");
    EXPECT_EQ(Hex(drive_->Capture().FromDrive()), "45 06");
    EXPECT_EQ(drive_->Table().Find(kWritableParameter)->value, 500u);
    EXPECT_EQ(bus_->GetLastError(), 0);

    // The check character of this reply equals ACK and is still a check
    // character.
    drives_.clear();
    sim::VirtualDrive& atZero = AddDrive(0);
    bus_->AddDevice(0, kTypeNumber, 5.0f);
    int32_t value = 0;
    ASSERT_TRUE(bus_->ReadParameterValue(kValueParameter, value, 0));
    EXPECT_EQ(value, 5000);
    Settle();
    EXPECT_EQ(Hex(atZero.Capture().ToDrive()), "04 40 32 30 30 39 31 05 04");
    EXPECT_EQ(Hex(atZero.Capture().FromDrive()), "40 02 32 30 30 39 31 3D 31 33 38 38 03 06");
}

TEST_F(TarnBusTest, NegativeValuesTravelAs32BitHex) {
    ASSERT_TRUE(bus_->WriteParameterValue(kWritableParameter, -1, kAddress));
    EXPECT_EQ(drive_->Table().Find(kWritableParameter)->value, 0xFFFFFFFFu);
    int32_t value = 0;
    ASSERT_TRUE(bus_->ReadParameterValue(kWritableParameter, value, kAddress));
    EXPECT_EQ(value, -1);
}

TEST_F(TarnBusTest, SlotsRefuseBeforeAnyTelegram) {
    const struct {
        const char* name;
        int number;
        int address;
        int error;
    } cases[] = {
        {"no record", 91, 4, 27},
        {"broadcast address", 91, 31, 27},
        {"beyond the table", 91, 40, 27},
        {"negative address", 91, -1, 27},
        {"number above 999", 1000, kAddress, 14},
        {"negative number", -1, kAddress, 14},
    };
    for (const auto& c : cases) {
        int32_t value = 0;
        dstring text;
        uint16_t count = 1;
        uint8_t bytes[8];
        EXPECT_FALSE(bus_->ReadParameterValue(c.number, value, c.address)) << c.name;
        EXPECT_EQ(bus_->GetLastError(), c.error) << c.name;
        EXPECT_FALSE(bus_->WriteParameterValue(c.number, 1, c.address)) << c.name;
        EXPECT_FALSE(bus_->ReadParameterText(c.number, text, c.address)) << c.name;
        EXPECT_FALSE(bus_->WriteParameterText(c.number, "x", c.address)) << c.name;
        EXPECT_FALSE(bus_->ReadBlock(c.number, bytes, 0, count, 1, c.address)) << c.name;
        EXPECT_FALSE(bus_->WriteBlock(c.number, bytes, 0, 1, 1, c.address)) << c.name;
        EXPECT_EQ(bus_->ReadValueText(c.number, 0, text, c.address), nullptr) << c.name;
        EXPECT_EQ(bus_->GetLastError(), c.error) << c.name;
    }
    // A closed bus refuses everything with 26.
    TarnBus closed(2, 9600);
    EXPECT_FALSE(closed.IsOpen());
    int32_t value = 0;
    EXPECT_FALSE(closed.ReadParameterValue(91, value, kAddress));
    EXPECT_EQ(closed.GetLastError(), 26);
    EXPECT_FALSE(closed.ConnectDevice(nullptr));
    EXPECT_FALSE(closed.CheckDevice(nullptr));
    EXPECT_EQ(closed.GetLastError(), 26);
    EXPECT_EQ(Heard(), "");
}

TEST_F(TarnBusTest, OpeningCountsOneRequestAndAFailedOpenKeeps14) {
    EXPECT_STREQ(bus_->GetName().Text(), "RS232");
    EXPECT_EQ(bus_->GetBusType(), kSerialBusType);
    EXPECT_STREQ(bus_->GetSettingsText().Text(), "9600 Baud");
    EXPECT_EQ(TelegramTryCount, 3);
    EXPECT_EQ(BusRequestCounters.succeeded, 1u);
    bus_.reset();
    EXPECT_FALSE(line_.HostPortOpen());

    TarnBus failed(2, 19200);
    EXPECT_FALSE(failed.IsOpen());
    EXPECT_EQ(failed.GetLastError(), 14);
    EXPECT_EQ(failed.GetCategoryCount(6), 1u);
    EXPECT_STREQ(failed.GetSettingsText().Text(), "19200 Baud");
    EXPECT_EQ(BusRequestCounters.failed, 1u);
}

TEST_F(TarnBusTest, ErrorsAreCountedByCategory) {
    const int categories[31] = {-1, 5,  5, 5,  15, 7, 7,  5, 6, 5, 5,  5,  5,  6,  6, 5,
                                8,  10, 9, 11, 13, 5, 12, 6, 4, 5, -1, -1, -1, -1, -1};
    for (int code = 0; code <= 30; ++code) {
        bus_->ClearStatistics();
        bus_->SetError(code);
        EXPECT_EQ(bus_->GetLastError(), code);
        for (int category = 0; category < kErrorCategoryCount; ++category) {
            EXPECT_EQ(bus_->GetCategoryCount(category), category == categories[code] ? 1u : 0u)
                << "code " << code << " category " << category;
        }
    }
}

TEST_F(TarnBusTest, WriteBlockSendsAHundredHexCharactersATime) {
    std::vector<uint16_t> elements(30);
    std::string first;
    std::string second;
    for (uint16_t i = 0; i < 30; ++i) {
        elements[i] = static_cast<uint16_t>(0xA000 + i);
        (i < 25 ? first : second) += platform::Format("%04X", unsigned{elements[i]});
    }
    ASSERT_TRUE(bus_->WriteBlock(kArrayParameter, elements.data(), 0, 30, 2, kAddress));
    EXPECT_EQ(first.size(), 100u);
    EXPECT_EQ(second.size(), 20u);
    EXPECT_EQ(Hex(Heard()),
              Hex("\x04" + Frame('E', "702000000025=" + first) + "\x04" + "\x04" +
                  Frame('E', "702000002505=" + second) + "\x04"));
    EXPECT_EQ(drive_->Table().Find(kArrayParameter)->elements[29], 0xA01Du);

    drive_->ClearCapture();
    EXPECT_TRUE(bus_->WriteBlock(kArrayParameter, elements.data(), 0, 0, 2, kAddress));
    EXPECT_EQ(Heard(), "");
}

TEST_F(TarnBusTest, ReadBlockFollowsTheDevicesCounts) {
    drive_->SetBlockLimit(7);
    std::vector<uint16_t> elements(20, 0xEEEE);
    uint16_t count = 20;
    ASSERT_TRUE(bus_->ReadBlock(kArrayParameter, elements.data(), 3, count, 2, kAddress));
    EXPECT_EQ(count, 20);
    for (uint16_t i = 0; i < 20; ++i) EXPECT_EQ(elements[i], 3 * (3 + i)) << i;
    const std::string heard = Heard();
    EXPECT_NE(heard.find("E702000000320\x05"), std::string::npos);
    EXPECT_NE(heard.find("E702000001013\x05"), std::string::npos);
    EXPECT_NE(heard.find("E702000001706\x05"), std::string::npos);

    // Past the end of the array the device delivers nothing more.
    count = 10;
    ASSERT_TRUE(bus_->ReadBlock(kArrayParameter, elements.data(), 35, count, 2, kAddress));
    EXPECT_EQ(count, 5);
    EXPECT_EQ(elements[4], 3 * 39);

    // A NAK ends the read successfully with what was read.
    count = 4;
    ASSERT_TRUE(bus_->ReadBlock(kValueParameter, elements.data(), 0, count, 2, kAddress));
    EXPECT_EQ(count, 0);
}

TEST_F(TarnBusTest, ReadBlockStoresNoMoreThanWasAskedFor) {
    const struct {
        const char* name;
        std::string reply;
        bool ok;
        int error;
        uint16_t count;
    } cases[] = {
        {"more elements than asked", Frame('E', "702000000005=0001000200030004FFFF"), true, 0, 2},
        {"fewer elements than counted", Frame('E', "702000000002=0001"), false, 13, 0},
        {"count not decimal", Frame('E', "7020000000x2=00010002"), false, 23, 0},
        {"other element echoed", Frame('E', "702000000102=00010002"), false, 23, 0},
    };
    for (const auto& c : cases) {
        drive_->AddFault(sim::DriveFault::RawReply(std::vector<uint8_t>(c.reply.begin(), c.reply.end())));
        uint16_t elements[4] = {0xEEEE, 0xEEEE, 0xEEEE, 0xEEEE};
        uint16_t count = 2;
        EXPECT_EQ(bus_->ReadBlock(kArrayParameter, elements, 0, count, 2, kAddress), c.ok) << c.name;
        EXPECT_EQ(count, c.count) << c.name;
        if (!c.ok) {
            EXPECT_EQ(bus_->GetLastError(), c.error) << c.name;
        }
        EXPECT_EQ(elements[2], 0xEEEE) << c.name;
        EXPECT_EQ(elements[3], 0xEEEE) << c.name;
    }
}

TEST_F(TarnBusTest, BlockArgumentsAreCheckedBeforeAnyTelegram) {
    uint8_t bytes[16] = {};
    const struct {
        int first;
        int width;
    } cases[] = {{0, 0}, {0, 3}, {0, 8}, {0, -2}, {-1, 2}};
    for (const auto& c : cases) {
        uint16_t count = 2;
        EXPECT_FALSE(bus_->ReadBlock(kArrayParameter, bytes, c.first, count, c.width, kAddress)) << c.width;
        EXPECT_EQ(bus_->GetLastError(), 14) << c.width;
        EXPECT_FALSE(bus_->WriteBlock(kArrayParameter, bytes, c.first, 2, c.width, kAddress)) << c.width;
        EXPECT_EQ(bus_->GetLastError(), 14) << c.width;
    }
    EXPECT_EQ(Heard(), "");
}

TEST_F(TarnBusTest, SampleBlocksEndAtTheMark) {
    drive_->SetSamples({0x0A, 0x0B});
    uint8_t bytes[64] = {};
    uint16_t count = sizeof bytes;
    bool last = false;
    ASSERT_TRUE(bus_->ReadSampleBlock(bytes, count, last, kAddress));
    EXPECT_EQ(Hex(drive_->Capture().FromDrive()), Hex(Frame('E', "60002=0A0B!")));
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(last);
    EXPECT_EQ(bytes[0], 0x0A);
    EXPECT_EQ(bytes[1], 0x0B);
    EXPECT_EQ(bytes[2], 0);

    std::vector<uint8_t> samples(61);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint8_t>(i);
    drive_->SetSamples(samples);
    count = sizeof bytes;
    ASSERT_TRUE(bus_->ReadSampleBlock(bytes, count, last, kAddress));
    EXPECT_EQ(count, 60);
    EXPECT_FALSE(last);
    EXPECT_EQ(bytes[59], 59);
    // A block the destination cannot hold is refused whole.
    count = 0;
    EXPECT_FALSE(bus_->ReadSampleBlock(bytes, count, last, kAddress));
    EXPECT_EQ(bus_->GetLastError(), 11);
    EXPECT_EQ(count, 0);
}

TEST_F(TarnBusTest, DescriptionComesFromTheAttributeRecord) {
    sim::DriveParameter* p = drive_->Table().Find(kEnumParameter);
    p->name = "MODEXY";
    p->unit_index = 3;
    p->kind = '1';
    p->read_level = 2;
    p->write_level = 3;
    p->keypad_group = 5;
    p->sc_group = 10;
    p->default_value = 1;
    ParameterEntry entry;
    bool notPresent = true;
    ASSERT_TRUE(bus_->ReadParameterInfo(kEnumParameter, entry, notPresent, kAddress));
    EXPECT_FALSE(notPresent);
    EXPECT_EQ(entry.number, kEnumParameter);
    EXPECT_STREQ(entry.name, "MODEX");
    EXPECT_STREQ(entry.unit, "rpm");
    EXPECT_EQ(entry.kind, '1');
    EXPECT_EQ(entry.type, '2');
    EXPECT_EQ(entry.minimum, 0);
    EXPECT_EQ(entry.maximum, 1);
    EXPECT_EQ(entry.defaultValue, 1);
    EXPECT_EQ(entry.access, 0x32);
    EXPECT_EQ(entry.flags, sim::kFlagValueTexts);
    EXPECT_EQ(entry.KPGroup, 5);
    EXPECT_EQ(entry.SCGroup, 10);
    const std::string heard = Heard();
    EXPECT_NE(heard.find("E30017\x05"), std::string::npos);
    EXPECT_NE(heard.find("E\x02"
                         "20108=3\x03"),
              std::string::npos);
    EXPECT_NE(heard.find("E61107\x05"), std::string::npos);

    p->unit_index = 4;  // the unit text "-"
    ASSERT_TRUE(bus_->ReadParameterInfo(kEnumParameter, entry, notPresent, kAddress));
    EXPECT_STREQ(entry.unit, "");

    EXPECT_FALSE(bus_->ReadParameterInfo(999, entry, notPresent, kAddress));
    EXPECT_TRUE(notPresent);
    EXPECT_EQ(bus_->GetLastError(), 22);

    const std::string shortRecord = Frame('E', "30017=MODE  031200000000");
    drive_->AddFault(sim::DriveFault::RawReply(std::vector<uint8_t>(shortRecord.begin(), shortRecord.end())));
    EXPECT_FALSE(bus_->ReadParameterInfo(kEnumParameter, entry, notPresent, kAddress));
    EXPECT_FALSE(notPresent);
}

TEST_F(TarnBusTest, ValueTexts) {
    dstring text("old");
    EXPECT_STREQ(bus_->ReadValueText(kEnumParameter, 1, text, kAddress), "EIN");
    EXPECT_STREQ(text.Text(), "EIN");
    // No text for the index: the device says no, and the text stays empty.
    EXPECT_STREQ(bus_->ReadValueText(kEnumParameter, 7, text, kAddress), "");
    EXPECT_EQ(bus_->GetLastError(), 0);

    // A device of unknown family has no texts; the index stands for itself.
    bus_->AddDevice(kAddress, 7000, 1.0f);
    drive_->ClearCapture();
    EXPECT_STREQ(bus_->ReadValueText(kEnumParameter, 1, text, kAddress), "1");
    const std::string heard = Heard();
    EXPECT_NE(heard.find("20108=1"), std::string::npos);
    EXPECT_EQ(heard.find("61017"), std::string::npos);
}

TEST_F(TarnBusTest, TextsCannotBreakTheFraming) {
    for (char framing : {'\x02', '\x03', '\x04', '\x05', '\x06', '\x15'}) {
        const std::string text = std::string("ab") + framing + "cd";
        EXPECT_FALSE(bus_->WriteParameterText(kTextParameter, text.c_str(), kAddress)) << int{framing};
        EXPECT_EQ(bus_->GetLastError(), 19);
    }
    EXPECT_EQ(Heard(), "");

    // Positioning programs carry escape and carriage return.
    ASSERT_TRUE(bus_->WriteParameterText(kTextParameter, "G1\x1bX\r", kAddress));
    EXPECT_EQ(drive_->Table().Find(kTextParameter)->text, "G1\x1bX\r");
    dstring text;
    ASSERT_TRUE(bus_->ReadParameterText(kTextParameter, text, kAddress));
    EXPECT_STREQ(text.Text(), "G1\x1bX\r");

    const std::string longText(200, 'x');
    ASSERT_TRUE(bus_->WriteParameterText(kTextParameter, longText.c_str(), kAddress));
    EXPECT_EQ(drive_->Table().Find(kTextParameter)->text, std::string(128, 'x'));
}

TEST_F(TarnBusTest, TheDownloadHandshakeIsRepeatedUntilItGetsThrough) {
    drive_->AddFault(sim::DriveFault::Nak(0x0001).For("20080").Times(2));
    EXPECT_TRUE(bus_->WriteParameterValue(kDownloadHandshakeParameter, 1, kAddress));
    drive_->ClearCapture();
    drive_->AddFault(sim::DriveFault::Nak(0x0001).For("20080").Times(sim::kForever));
    EXPECT_FALSE(bus_->WriteParameterValue(kDownloadHandshakeParameter, 1, kAddress));
    EXPECT_EQ(bus_->GetLastError(), 22);
    const std::string heard = Heard();
    int writes = 0;
    for (size_t at = heard.find("20080=1"); at != std::string::npos; at = heard.find("20080=1", at + 1)) ++writes;
    EXPECT_EQ(writes, 11);
}

TEST_F(TarnBusTest, DeviceStateIsReadFromParameter403) {
    drive_->Table().Find(kStateParameter)->value = 0x3ABC;
    EXPECT_EQ(bus_->ReadDeviceState(kAddress), 3);
    EXPECT_NE(Heard().find("E20403\x05"), std::string::npos);
}

}  // namespace
}  // namespace bustest
