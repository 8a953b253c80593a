// The interface every drive bus implements, so the parameter database and the
// application reach a device the same way on the serial line or on CANopen:
// the twelve operations, the table of devices found, and the error
// bookkeeping and error texts shared by all buses.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "bus/base/parameter_entry.h"
#include "parameters/values/dstring.h"

class BasicSlider;

// Bus addresses of devices; the serial line's broadcast address lies above.
inline constexpr int kBusDeviceSlots = 31;
inline constexpr int kHighestDeviceAddress = 30;
inline constexpr int kErrorCategoryCount = 16;

// Bus types.
inline constexpr int16_t kSerialBusType = 1;
inline constexpr int16_t kCanOpenBusType = 2;

// Results of DataBus::ReadDeviceState that are not a state.
inline constexpr uint16_t kDeviceStateReadFailed = 0xFFFE;
inline constexpr uint16_t kDeviceStateNoDevice = 0xFFFF;
// The device parameter that holds the run state.
inline constexpr int kDeviceStateParameter = 403;

// Room for the text of an error looked up by BasicBus::GetErrorText.
inline constexpr int kBusErrorTextSize = 512;

// One device found on a bus.
struct BusDeviceRecord {
    uint16_t typeNumber = 0;
    bool hasAlias = false;  // kept by the main window
    dstring alias;
    dstring typeText;  // filled by the main window
    float version = 0.0f;
};

// Slot operations of all buses that succeeded and that failed, for the bus
// monitor.
struct BusRequestCounterSet {
    uint32_t succeeded = 0;
    uint32_t failed = 0;
};
extern BusRequestCounterSet BusRequestCounters;

// What a successful request does to the bus's last error code: the one way
// the buses differ in their bookkeeping.
enum class LastErrorOnSuccess {
    kCleared,  // the serial bus: the code always tells how the last request went
    kKept,     // the CANopen bus: a failure's code outlives the successes after it
};

// The category a bus counts an error code in; -1 for none.
using ErrorCategoryOf = int (*)(int code);

class BasicBus {
public:
    BasicBus();
    virtual ~BasicBus();
    BasicBus(const BasicBus&) = delete;
    BasicBus& operator=(const BasicBus&) = delete;

    // Every operation returns success; on failure the bus keeps an error
    // code (GetLastError), whose text GetErrorText gives. `address` is the
    // device's bus address.

    // Reads `count` elements (in: wanted, out: read) of `width` bytes (1, 2
    // or 4) of an array parameter from element `first` into `destination`,
    // which holds at least the wanted elements.
    virtual bool ReadBlock(int number, void* destination, int first, uint16_t& count, int width, int address) = 0;
    virtual bool ReadParameterText(int number, dstring& text, int address) = 0;
    virtual bool WriteBlock(int number, const void* source, int first, uint16_t count, int width, int address) = 0;
    virtual bool WriteParameterText(int number, const char* text, int address) = 0;
    virtual bool ReadParameterValue(int number, int32_t& value, int address) = 0;
    virtual bool WriteParameterValue(int number, int32_t value, int address) = 0;
    // Device search; the slider (may be null) shows the progress.
    virtual bool ConnectDevice(BasicSlider* slider) = 0;
    // Network scan.
    virtual bool CheckDevice(BasicSlider* slider) = 0;
    // Text of the last error from the message section of the bus name, in one
    // text shared by all buses that the next call overwrites; also written to
    // the program log.
    virtual const char* GetErrorText();

    void ClearStatistics();
    // Counts a failure of category 0..15; other categories are ignored.
    void CountErrorCategory(uint32_t category);
    // Stores the code as the last error and counts its category.
    void SetError(int code);
    LastErrorOnSuccess GetLastErrorOnSuccess() const { return onSuccess_; }
    void ClearDevices();

    const dstring& GetName() const { return name_; }
    int16_t GetBusType() const { return busType_; }
    uint32_t GetBaudRate() const { return baudRate_; }
    const dstring& GetSettingsText() const { return settingsText_; }
    int16_t GetDeviceCount() const { return deviceCount_; }
    bool IsOpen() const { return open_; }
    // The record at a device address; null without one or for an address
    // outside 0..30.
    BusDeviceRecord* GetDevice(int address) const;
    uint32_t GetCategoryCount(int category) const;
    uint32_t GetLastCategory() const { return lastCategory_; }
    uint16_t GetLastError() const { return lastError_; }

protected:
    // Set by each bus's constructor before its first request.
    void SetErrorBookkeeping(ErrorCategoryOf categoryOf, LastErrorOnSuccess onSuccess);
    // Ends a slot operation: counts one request that succeeded (code 0) or
    // failed, keeps the code of a failure; returns success.
    bool Finish(int code);

    dstring name_;
    int16_t busType_ = 0;
    uint32_t baudRate_ = 0;
    dstring settingsText_;
    int16_t deviceCount_ = 0;
    bool open_ = false;
    std::array<std::unique_ptr<BusDeviceRecord>, kBusDeviceSlots> devices_;
    std::array<uint32_t, kErrorCategoryCount> categoryCounts_{};
    uint32_t lastCategory_ = 0;
    uint16_t lastError_ = 0;

private:
    ErrorCategoryOf categoryOf_ = nullptr;
    LastErrorOnSuccess onSuccess_ = LastErrorOnSuccess::kCleared;
};

// The bus operations that need more than reading and writing values: the
// description of a parameter, value texts and the recorder's sample blocks,
// and the device table's upkeep.
class DataBus : public BasicBus {
public:
    // Fills the description part of `entry`. `notPresent` is set when the
    // device says it has no such parameter.
    virtual bool ReadParameterInfo(int number, ParameterEntry& entry, bool& notPresent, int address) = 0;
    // The text of value `index` of a parameter into `text`; returns the text,
    // or null on failure.
    virtual const char* ReadValueText(int number, uint8_t index, dstring& text, int address) = 0;
    // The next block of the recorder's sample buffer. `count` in: room in
    // `destination` (bytes); out: bytes stored. `lastBlock` is set on the
    // last block.
    virtual bool ReadSampleBlock(uint8_t* destination, uint16_t& count, bool& lastBlock, int address) = 0;

    // Replaces any record at the address by a new one. False (nothing
    // registered) for an address outside 0..30.
    bool AddDevice(int address, uint16_t typeNumber, float version);
    void RemoveDevice(int address);
    // Kind of the device at the address (DeviceKindFromTypeNumber); 0 without
    // a record.
    int GetDeviceKind(int address) const;
    // The run state from parameter 403: bits 12..15 for kinds 3, 4 and 8,
    // the low 16 bits for kinds 5, 6 and 7; kDeviceStateNoDevice without a
    // record or for another kind, kDeviceStateReadFailed when the read fails.
    uint16_t ReadDeviceState(int address);
};
