// The serial drive bus: the bus interface over the telegram protocol, with
// device search over the baud rates and the network scan of addresses 1..30.
#pragma once

#include <cstdint>

#include "bus/base/basic_bus.h"
#include "bus/base/device_parameters.h"
#include "bus/serial/tarn_telegram.h"

// Highest parameter number a telegram code can carry.
inline constexpr int kHighestParameterNumber = 999;
// Bus error codes beyond the protocol's.
inline constexpr int kTarnBusClosed = 26;
inline constexpr int kTarnNoDeviceRecord = 27;
inline constexpr int kTarnNoDeviceFound = 29;
inline constexpr int kTarnBufferOverflow = 11;
// Times a failed write of the download handshake parameter is repeated.
inline constexpr int kHandshakeWriteRepeats = 10;

class TarnBus : public DataBus {
public:
    // Opens "COM<port>" at `baud`; IsOpen tells whether it came up, and the
    // last error why not.
    TarnBus(unsigned port, int32_t baud);
    ~TarnBus() override;

    void SetWriteSettleWait(bool on);
    unsigned GetPortNumber() const { return port_; }

    bool ReadBlock(int number, void* destination, int first, uint16_t& count, int width, int address) override;
    bool ReadParameterText(int number, dstring& text, int address) override;
    bool WriteBlock(int number, const void* source, int first, uint16_t count, int width, int address) override;
    // A text holding a character that frames telegrams is refused with 19.
    bool WriteParameterText(int number, const char* text, int address) override;
    bool ReadParameterValue(int number, int32_t& value, int address) override;
    bool WriteParameterValue(int number, int32_t value, int address) override;
    // Finds the one device of a point-to-point line at address 0, trying the
    // baud rates until one answers; the port keeps the rate found.
    bool ConnectDevice(BasicSlider* slider) override;
    // Registers every device that answers at addresses 1..30.
    bool CheckDevice(BasicSlider* slider) override;
    bool ReadParameterInfo(int number, ParameterEntry& entry, bool& notPresent, int address) override;
    const char* ReadValueText(int number, uint8_t index, dstring& text, int address) override;
    // The sample block's hex byte pairs; a '!' marks the last block.
    bool ReadSampleBlock(uint8_t* destination, uint16_t& count, bool& lastBlock, int address) override;

private:
    // 0 when a slot may talk to the device at the address, else its error.
    int CheckSlot(int address) const;
    int CheckSlot(int number, int address) const;
    // One exchange of `code` (copied into the code buffer) at `address`.
    int Exchange(const char* code, int address, int mode);
    void SetBaud(int32_t baud);
    // Reads type number, status word and version at `address`.
    int ReadIdentity(int address, uint16_t& typeNumber, float& version);
    void ReopenAt(int32_t baud);

    unsigned port_;
    int32_t settleFlag_ = 0;
    char code_[kTarnCodeSize] = {};
    char value_[kTarnValueSize] = {};
    uint8_t unitIndex_ = 0;
};
