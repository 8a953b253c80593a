#include "service/firmware/tests/firmware_fixture.h"

#include <unistd.h>

#include <filesystem>

#include "app/services/app_files.h"
#include "bus/serial/striowin.h"
#include "platform/base/format.h"
#include "platform/system/serial_port.h"
#include "testsupport/test_env.h"

namespace fwtest {

namespace {

std::filesystem::path FixtureRoot() { return testsupport::RuntimePath("TMP/fixture"); }

// Messages whose arguments the tests look at; every other loader message
// reads as its key ("FLM_041"). One device type has a label.
constexpr char kMessages[] =
    "[FirmLoaderMessages]\n"
    "FLM_001=Unknown option %s\n"
    "FLM_002=No option file %s\n"
    "FLM_004=Step failed: %s\n"
    "FLM_005=Loading %s\n"
    "FLM_006=Device %s\n"
    "FLM_007=Cannot open %s\n"
    "FLM_008=Error in %s\n"
    "FLM_014=Address %lX outside the image\n"
    "FLM_015=Record type %d\n"
    "FLM_018=Sum %04X XOR %04X\n"
    "FLM_020=Cold start %s\n"
    "FLM_044=No answer to line %d\n"
    "FLM_053=Position %u beyond the loader\n"
    "FLM_054=%s line %u: %s\n"
    "FLM_059=field %u for %u bytes\n"
    "FLM_061=type %u\n"
    "[RS232-Messages]\n"
    "RS232_M14=Plausibility\n";

}  // namespace

std::string Record(uint8_t type, uint16_t address, const std::vector<uint8_t>& data) {
    uint8_t sum = static_cast<uint8_t>(data.size() + (address >> 8) + (address & 0xFF) + type);
    std::string line =
        platform::Format(":%02X%04X%02X", static_cast<unsigned>(data.size()), unsigned{address}, unsigned{type});
    for (uint8_t b : data) {
        line += platform::Format("%02X", unsigned{b});
        sum = static_cast<uint8_t>(sum + b);
    }
    return line + platform::Format("%02X", unsigned{static_cast<uint8_t>(-sum)});
}

std::string DataRecord(uint16_t address, const std::vector<uint8_t>& data) { return Record(0x00, address, data); }

std::string SegmentBase(uint16_t base) {
    return Record(0x02, 0, {static_cast<uint8_t>(base >> 8), static_cast<uint8_t>(base)});
}

std::string LinearBase(uint16_t base) {
    return Record(0x04, 0, {static_cast<uint8_t>(base >> 8), static_cast<uint8_t>(base)});
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

std::vector<uint8_t> Counting(size_t count, uint8_t first) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(first + i);
    return bytes;
}

std::string BooterText(const std::vector<uint8_t>& bytes) {
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        text += platform::Format("%02x", unsigned{bytes[i]});
        text += i % 16 == 15 ? "\r\n" : (i % 2 != 0 ? "\t" : " ");
    }
    return text;
}

void FirmwareTest::SetUp() {
    std::filesystem::create_directories(FixtureRoot() / "bin");
    testsupport::WriteFile(FixtureRoot() / "bin/Torvan.ini", "[Options]\nLanguage=7\n");
    testsupport::WriteFile(FixtureRoot() / "LANGUAGE/007/TORVAN.MSG", kMessages);
    testsupport::WriteFile(FixtureRoot() / "LANGUAGE/007/BLabel.dat", "[Loader]\nMarlo=Marlo drive\n");
    ASSERT_EQ(chdir((FixtureRoot() / "bin").c_str()), 0);
    OpenApplicationFiles();
    platform::SetSerialPortOpener(line_.Opener("COM2"));
}

void FirmwareTest::TearDown() {
    CloseSerio(false);
    CloseApplicationFiles();
    ASSERT_EQ(chdir(testsupport::RuntimePath("bin").c_str()), 0);
}

void FirmwareTest::WriteFile(const std::string& name, const std::string& bytes) {
    testsupport::WriteFile(FixtureRoot() / "bin" / name, bytes);
}

std::string FirmwareTest::ReadFile(const std::string& name) {
    return testsupport::ReadFile(FixtureRoot() / "bin" / name);
}

std::string FirmwareTest::ProgramLog() { return testsupport::ReadFile(testsupport::RuntimePath("TMP/DataLogger.txt")); }

}  // namespace fwtest
