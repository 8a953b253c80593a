#include "bus/serial/tests/serial_fixture.h"

#include <cstdio>

#include "bus/serial/striowin.h"
#include "platform/system/clock.h"
#include "platform/system/serial_port.h"
#include "testsupport/test_env.h"

namespace bustest {

sim::DriveTable StandardTable() {
    sim::DriveTable table;
    auto put = [&table](int number, const char* name, const char* type, uint32_t value) {
        return table.PutFullRange(number, name, type, value);
    };
    put(kValueParameter, "DVCOD", "USIGN32", 5000);
    put(kWritableParameter, "SPEED", "INT32", 0);
    put(80, "HANDS", "INT32", 0);
    put(kStateParameter, "STATE", "USIGN32", 0);
    put(kTextParameter, "MNAME", "STRING", 0)->text = "Motor A";
    sim::DriveParameter* array = put(kArrayParameter, "TABLE", "USIGN16", 0);
    array->flags = sim::kFlagArray;
    array->maximum = 0xFFFF;
    for (uint32_t i = 0; i < 40; ++i) array->elements.push_back(3 * i);
    sim::DriveParameter* enumerated = put(kEnumParameter, "MODE", "USIGN8", 0);
    enumerated->flags = sim::kFlagValueTexts;
    enumerated->maximum = 1;
    enumerated->value_texts = {{0, "AUS"}, {1, "EIN"}};
    put(kUnitParameter, "UNITS", "USIGN8", 0)->value_texts = {{3, "rpm"}, {4, "-"}};
    table.type_number = kTypeNumber;
    table.version = kVersionSteps;
    return table;
}

SerialLineTest::SerialLineTest() : sourceAttachment_(line_.Attach(&source_)) {
    platform::SetSerialPortOpener(line_.Opener("COM1"));
}

SerialLineTest::~SerialLineTest() {
    CloseSerio(false);
    platform::SetSerialPortOpener(nullptr);
}

sim::VirtualDrive& SerialLineTest::AddDrive(int address, int32_t baud) {
    drives_.push_back(std::make_unique<sim::VirtualDrive>(StandardTable(), address, baud));
    drives_.back()->AttachTo(line_);
    return *drives_.back();
}

void SerialLineTest::SendFromSource(const std::string& bytes, uint64_t delayUs, int32_t baud) {
    platform::SerialSettings settings;
    settings.baud = baud;
    line_.SendToHost(
        &source_, std::vector<uint8_t>(bytes.begin(), bytes.end()), settings, platform::TheClock().NowUs() + delayUs);
}

std::string SerialLineTest::Log() { return testsupport::ReadFile(testsupport::RuntimePath("TMP/DataLogger.txt")); }

int SerialLineTest::LogCount(const std::string& text) {
    const std::string log = Log();
    int count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + text.size())) ++count;
    return count;
}

std::string Frame(char addressChar, const std::string& body) {
    std::string frame{addressChar, '\x02'};
    frame += body;
    frame += '\x03';
    char check = 0;
    for (size_t i = 2; i < frame.size(); ++i) check = static_cast<char>(check ^ frame[i]);
    frame += check;
    return frame;
}

std::string Hex(const std::string& bytes) {
    std::string text;
    for (unsigned char c : bytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", c);
        if (!text.empty()) text += ' ';
        text += pair;
    }
    return text;
}

}  // namespace bustest
