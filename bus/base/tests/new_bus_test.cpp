// Descriptions, value texts and sample blocks through request parameters, on
// a bus whose parameter registers behave like a device's.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bus/base/new_bus.h"

namespace {

// Parameter 34 answers the description of the number last written to it;
// 35 answers the value text of the number written to it and the index
// written to 108; 37 hands out queued sample blocks.
class RegisterBus : public NewBus {
public:
    RegisterBus() { open_ = true; }

    std::map<int, std::string> descriptions;
    std::map<std::pair<int, int>, std::string> valueTexts;
    std::vector<std::vector<uint8_t>> sampleBlocks;
    bool failDescriptionRequest = false;
    std::vector<std::string> writes;

    bool WriteParameterText(int number, const char* text, int) override {
        writes.push_back(std::to_string(number) + "=" + text);
        if (number == kDescriptionRequestParameter && failDescriptionRequest) return false;
        registers_[number] = std::atoi(text);
        return true;
    }
    bool WriteParameterValue(int number, int32_t value, int) override {
        writes.push_back(std::to_string(number) + "=" + std::to_string(value));
        registers_[number] = value;
        return true;
    }
    bool ReadParameterText(int number, dstring& text, int) override {
        if (number == kDescriptionRequestParameter) {
            text.AssignText(descriptions[registers_[number]].c_str());
            return true;
        }
        if (number == kValueTextRequestParameter) {
            auto it = valueTexts.find({registers_[number], registers_[kValueIndexParameter]});
            if (it == valueTexts.end()) return false;
            text.AssignText(it->second.c_str());
            return true;
        }
        return false;
    }
    bool ReadBlock(int number, void* destination, int first, uint16_t& count, int width, int) override {
        if (number != kSampleBlockParameter || first != 0 || width != 1 || sampleBlocks.empty()) return false;
        const std::vector<uint8_t> block = sampleBlocks.front();
        sampleBlocks.erase(sampleBlocks.begin());
        count = static_cast<uint16_t>(std::min<size_t>(count, block.size()));
        if (count > 0) std::memcpy(destination, block.data(), count);
        return true;
    }
    bool WriteBlock(int, const void*, int, uint16_t, int, int) override { return false; }
    bool ReadParameterValue(int, int32_t&, int) override { return false; }
    bool ConnectDevice(BasicSlider*) override { return false; }
    bool CheckDevice(BasicSlider*) override { return false; }

private:
    std::map<int, int32_t> registers_;
};

// Number 007B, name, unit index 03, kind '1', type '7', two unused
// characters, minimum, maximum, default, read level 02, write level 03,
// flags 0420, keypad group 05, SC group 0A.
const std::string kSpeedRecord =
    "007BSPEED031"
    "7xx"
    "FFFF8000"
    "00007FFF"
    "00000064"
    "02"
    "03"
    "0420"
    "05"
    "0A";

TEST(NewBusDescription, IsParsedFromTheRecordByPosition) {
    RegisterBus bus;
    bus.descriptions[123] = kSpeedRecord;
    bus.valueTexts[{kUnitTextParameter, 3}] = "rpm";
    ParameterEntry entry;
    entry.extraWords[0] = 9;
    bool notPresent = true;

    ASSERT_TRUE(bus.ReadParameterInfo(123, entry, notPresent, 4));
    EXPECT_FALSE(notPresent);
    EXPECT_EQ(entry.number, 123);
    EXPECT_STREQ(entry.name, "SPEED");
    EXPECT_STREQ(entry.unit, "rpm");
    EXPECT_EQ(entry.kind, '1');
    EXPECT_EQ(entry.type, '7');
    EXPECT_EQ(entry.minimum, -32768);
    EXPECT_EQ(entry.maximum, 32767);
    EXPECT_EQ(entry.defaultValue, 100);
    EXPECT_EQ(entry.access, 0x32);
    EXPECT_EQ(entry.flags, 0x0420);
    EXPECT_EQ(entry.extraWords[0], 0);
    EXPECT_EQ(entry.KPGroup, 5);
    EXPECT_EQ(entry.SCGroup, 10);
    EXPECT_EQ(bus.writes, (std::vector<std::string>{"34=123", "35=107", "108=3"}));
}

TEST(NewBusDescription, RefusesWhatIsNotTheDescriptionAskedFor) {
    const struct {
        const char* name;
        std::string record;
        bool notPresent;
    } cases[] = {
        {"empty answer", "", true},
        {"other number", "007C" + kSpeedRecord.substr(4), false},
        {"short record", kSpeedRecord.substr(0, 50), false},
    };
    for (const auto& c : cases) {
        RegisterBus bus;
        bus.descriptions[123] = c.record;
        ParameterEntry entry;
        entry.number = 123;
        bool notPresent = !c.notPresent;
        EXPECT_FALSE(bus.ReadParameterInfo(123, entry, notPresent, 4)) << c.name;
        EXPECT_EQ(notPresent, c.notPresent) << c.name;
        if (!c.notPresent) {
            EXPECT_EQ(entry.number, 0) << c.name;
        }
    }
    RegisterBus refusing;
    refusing.failDescriptionRequest = true;
    refusing.descriptions[123] = kSpeedRecord;
    ParameterEntry entry;
    bool notPresent = true;
    EXPECT_FALSE(refusing.ReadParameterInfo(123, entry, notPresent, 4));
    EXPECT_FALSE(notPresent);
}

TEST(NewBusDescription, TheNoUnitTextGivesAnEmptyUnit) {
    RegisterBus bus;
    bus.descriptions[123] = kSpeedRecord;
    bus.valueTexts[{kUnitTextParameter, 3}] = "-----";
    ParameterEntry entry;
    bool notPresent = false;
    ASSERT_TRUE(bus.ReadParameterInfo(123, entry, notPresent, 4));
    EXPECT_STREQ(entry.unit, "");
}

TEST(NewBusValueText, NamesTheParameterAndTheIndexBeforeReading) {
    RegisterBus bus;
    bus.valueTexts[{17, 2}] = "Drehzahl";
    dstring text("old");
    EXPECT_STREQ(bus.ReadValueText(17, 2, text, 1), "Drehzahl");
    EXPECT_EQ(bus.writes, (std::vector<std::string>{"35=17", "108=2"}));
    // A text that cannot be read is no text, not an empty one.
    EXPECT_EQ(bus.ReadValueText(17, 3, text, 1), nullptr);
    EXPECT_STREQ(text.Text(), "");
}

TEST(NewBusSampleBlock, AnEmptyBlockIsTheLast) {
    RegisterBus bus;
    bus.sampleBlocks = {{1, 2, 3}, {}};
    uint8_t buffer[8] = {};
    uint16_t count = sizeof buffer;
    bool last = true;
    ASSERT_TRUE(bus.ReadSampleBlock(buffer, count, last, 1));
    EXPECT_EQ(count, 3);
    EXPECT_FALSE(last);
    EXPECT_EQ(buffer[2], 3);
    count = sizeof buffer;
    ASSERT_TRUE(bus.ReadSampleBlock(buffer, count, last, 1));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(last);
}

}  // namespace
