// Feeds arbitrary reply bytes through the line to the bus operations that
// parse replies (values, blocks, descriptions, sample blocks, value texts).
// The first input byte picks the operation; the rest is what the device
// answers to every request. The framing alone has its own target.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "bus/serial/striowin.h"
#include "bus/serial/tarn_bus.h"
#include "platform/system/clock.h"
#include "platform/system/serial_port.h"
#include "platform/testing/memory_serial_line.h"

namespace {

constexpr int kAddress = 5;

// Answers each request (a read at its ENQ, a write at its check character)
// with the same bytes.
class ScriptedDevice : public platform::LineDevice {
public:
    explicit ScriptedDevice(std::vector<uint8_t> reply) : reply_(std::move(reply)) {}

    void OnCharacter(platform::MemorySerialLine& line, const platform::LineCharacter& c) override {
        const bool checkFollows = afterEtx_;
        afterEtx_ = c.byte == kETX;
        if (c.byte == kEOT) return;
        if (c.byte == kENQ || checkFollows) {
            platform::SerialSettings settings;
            settings.baud = 9600;
            line.SendToHost(this, reply_, settings, c.end_us);
        }
    }

private:
    std::vector<uint8_t> reply_;
    bool afterEtx_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    if (platform::TheVirtualClock() == nullptr) {
        platform::InstallClock(std::make_unique<platform::VirtualClock>());
    }
    platform::MemorySerialLine line;
    ScriptedDevice device(std::vector<uint8_t>(data + 1, data + size));
    platform::LineAttachment attachment = line.Attach(&device);
    platform::SetSerialPortOpener(line.Opener("COM1"));
    {
        TarnBus bus(1, 9600);
        bus.AddDevice(kAddress, 4000, 1.0f);
        TelegramTryCount = 1;
        int32_t value = 0;
        dstring text;
        ParameterEntry entry;
        bool flag = false;
        uint8_t bytes[64 * 4] = {};
        uint16_t count = 0;
        switch (data[0] % 6) {
            case 0:
                bus.ReadParameterValue(91, value, kAddress);
                break;
            case 1:
                count = 64;
                bus.ReadBlock(123, bytes, 0, count, 1 << (data[0] / 6 % 3), kAddress);
                break;
            case 2:
                bus.ReadParameterInfo(123, entry, flag, kAddress);
                break;
            case 3:
                count = sizeof bytes;
                bus.ReadSampleBlock(bytes, count, flag, kAddress);
                break;
            case 4:
                bus.WriteParameterValue(123, 500, kAddress);
                break;
            default:
                bus.ReadValueText(17, 2, text, kAddress);
                break;
        }
    }
    platform::SetSerialPortOpener(nullptr);
    return 0;
}
