// Device search and network scan of the serial bus.
#include <array>

#include "app/services/basic_slider.h"
#include "bus/base/device_parameters.h"
#include "bus/base/hex_text.h"
#include "bus/serial/tarn_bus.h"

namespace {

// Rates the device search tries, in this order, when the device does not
// answer at the bus's own rate.
constexpr std::array<int32_t, 8> kSearchRates = {57600, 115200, 9600, 19200, 28800, 4800, 2400, 1200};
constexpr int32_t kLastChanceRate = 57600;
constexpr int kPointToPointAddress = 0;
constexpr int kFirstScanAddress = 1;

void StartSlider(BasicSlider* slider, unsigned maximum) {
    if (slider == nullptr) return;
    slider->SetMaximum(maximum);
    slider->SetValue(0);
}

void MoveSlider(BasicSlider* slider, unsigned value) {
    if (slider != nullptr) slider->SetValue(value);
}

// Restores TelegramTryCount when a search or scan ends, however it ends.
class TryCountScope {
public:
    TryCountScope() : saved_(TelegramTryCount) { TelegramTryCount = 1; }
    ~TryCountScope() { TelegramTryCount = saved_; }

private:
    int saved_;
};

}  // namespace

void TarnBus::ReopenAt(int32_t baud) {
    ExitTarnBus(true);
    InitTarnBus(port_, baud, settleFlag_);
    SetBaud(baud);
}

int TarnBus::ReadIdentity(int address, uint16_t& typeNumber, float& version) {
    if (const int result = Exchange(kTypeNumberCode, address, kTelegramRead)) return result;
    typeNumber = static_cast<uint16_t>(HexFieldValue(value_));
    if (const int result = Exchange(kStatusWordCode, address, kTelegramRead)) return result;
    if (Exchange(kVersionCode, address, kTelegramRead) != 0) {
        if (const int result = Exchange(kVersionParameterCode, address, kTelegramRead)) return result;
    }
    version = static_cast<float>(HexFieldValue(value_)) * kVersionUnit;
    return 0;
}

bool TarnBus::ConnectDevice(BasicSlider* slider) {
    if (!open_) return Finish(kTarnBusClosed);
    const int32_t savedBaud = static_cast<int32_t>(baudRate_);
    TryCountScope tries;
    ClearDevices();
    StartSlider(slider, kSearchRates.size());

    int result = Exchange(kBusAddressCode, kPointToPointAddress, kTelegramRead);
    for (size_t i = 0; result != 0 && i < kSearchRates.size(); ++i) {
        MoveSlider(slider, static_cast<unsigned>(i + 1));
        ReopenAt(kSearchRates[i]);
        result = Exchange(kBusAddressCode, kPointToPointAddress, kTelegramRead);
    }
    if (result != 0) {
        ReopenAt(kLastChanceRate);
        result = Exchange(kBusAddressCode, kPointToPointAddress, kTelegramRead);
    }
    if (result != 0) {
        ReopenAt(savedBaud);
        return Finish(kTarnNoDeviceFound);
    }

    const uint32_t deviceAddress = HexFieldValue(value_);
    uint16_t typeNumber = 0;
    float version = 0.0f;
    result = ReadIdentity(kPointToPointAddress, typeNumber, version);
    // A device claiming an address beyond the table could never be reached.
    if (result == 0 && deviceAddress > static_cast<uint32_t>(kHighestDeviceAddress)) result = kTarnPlausibility;
    if (result != 0) {
        ReopenAt(savedBaud);
        return Finish(result);
    }
    AddDevice(static_cast<int>(deviceAddress), typeNumber, version);
    return Finish(0);
}

bool TarnBus::CheckDevice(BasicSlider* slider) {
    if (!open_) return Finish(kTarnBusClosed);
    ClearDevices();
    const int32_t savedBaud = static_cast<int32_t>(baudRate_);
    bool found = false;
    {
        TryCountScope tries;
        StartSlider(slider, kHighestDeviceAddress);
        for (int address = kFirstScanAddress; address <= kHighestDeviceAddress; ++address) {
            MoveSlider(slider, static_cast<unsigned>(address));
            uint16_t typeNumber = 0;
            float version = 0.0f;
            if (ReadIdentity(address, typeNumber, version) != 0) continue;
            AddDevice(address, typeNumber, version);
            found = true;
        }
    }
    ExitTarnBus(true);
    InitTarnBus(port_, savedBaud, settleFlag_);
    return Finish(found ? 0 : kTarnNoDeviceFound);
}
