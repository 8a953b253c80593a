// The one application object: it owns the serial and the CANopen bus (one of
// them active), the cached parameter base of every device address, the
// active device with its signature and setup context, and the program's own
// parameter base. It fills in what the application services need of it for
// as long as it exists.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/main/parameterbase.h"
#include "app/services/services_hooks.h"
#include "bus/base/basic_bus.h"
#include "bus/base/device_parameters.h"
#include "parameters/values/dstring.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_slider.h"

class CCanOpenTarn;
class DeviceSetupContext;
class TarnBus;

// Node number of the CANopen master's own device.
inline constexpr int kCanOwnNode = 1;
// Device parameters of the activation and the signature.
inline constexpr int kPowerOnParameter = 88;
inline constexpr int kAliasParameter = 130;
inline constexpr int kRunModeReadParameter = 151;
inline constexpr int kUdsacParameter = 165;
// Power-on reports that may pass before an awaited run-mode change is given
// up.
inline constexpr int32_t kIgnoreRunModeReports = 20;

class Main : public ServicesHooks {
public:
    // Reads the Windows path from the registry and opens the run-time files.
    Main();
    // Deletes the cached bases, then the CANopen bus, then the serial bus,
    // and removes its hooks.
    ~Main() override;
    Main(const Main&) = delete;
    Main& operator=(const Main&) = delete;

    // --- what the services need of it ---
    const char* ActiveBusName() override;
    const char* ActiveBusErrorText() override;
    ParaBase* ActiveParaBase() override { return activeBase_; }
    ParaBase* WorkingParaBase() override { return &ownBase_; }
    const char* ParaBaseErrorText(ParaBase* base) override;
    bool ParaBaseHasBus(ParaBase* base) override;
    bool IsParaWriteLockHeld() override;
    uint32_t ActiveBusBaudRate() override;

    // --- buses ---
    // Uncouples every device, replaces the serial bus by one on "COM<port>";
    // it becomes active when the old one was or `makeActive` is set. False,
    // with warning 1 and no serial bus, when the port does not come up.
    bool OpenTarnBus(int32_t baud, unsigned port, bool makeActive);
    void CloseTarnBus();
    // The same for the CANopen bus; the I/O port and interrupt are passed
    // only for the parallel-port adapter (hardware identifier 0).
    bool OpenCanBus(int32_t baudRateId, int32_t hardwareId, uint32_t ioPort, uint32_t interrupt, bool makeActive);
    void CloseCanBus();
    // Drops the device's cached base (and the active device when it is
    // this one) and its record on the active bus.
    void UncoupleDevice(int address);
    void UncoupleAllDevices() override;
    // Device search and network scan on the active bus, with their progress
    // windows.
    void SearchDevice();
    void ScanNet();
    // The state text of the device at the address, from the message file.
    std::string GetDeviceStateText(int address);

    // --- the active device ---
    // Makes the device at the address active: its base from the cache, the
    // cache file or the device, its signature and setup context. False leaves
    // BusTransferFlag set.
    bool SetActiveDevice(int address);
    void CreateSetupContext();
    uint16_t ReadRunMode();
    std::string ReadActiveDeviceInfoText();
    // 1 when the device is unchanged (or the check could not be made), else
    // the DeviceSignatureFalseValue.
    uint8_t DeviceSignatureCheck();
    void IgnoreNextRunModeChange();

    // --- the timer guard and the queries of the active device ---
    // Whether a timer tick of `widget` may work now; stops the timer of an
    // invisible widget or main window.
    bool CheckTimerIntegrity(GwCore* widget, bool needsDevice);
    bool HasOnlineDevice() override;
    // For callers that may run without the application object: the active
    // base of GetMain(), and whether it is online; null and false without one.
    static ParaBase* ActiveBase();
    static bool OnlineDevicePresent();
    int GetActiveDeviceFamily();
    float GetActiveDeviceVersion();
    // The version "%0.2lf" with underscores for full stops ("1_30").
    dstring GetVersionTag();
    const char* GetActiveDeviceAlias();
    const char* GetActiveDeviceTypeText();
    // The alias, else "<address>-<type text>"; in a buffer per operation.
    const char* GetActiveDeviceLabel();
    const char* GetDeviceLabel(int address);
    int GetActiveDeviceTypeClass();
    bool IsActiveDeviceRunning();
    bool ReadActiveDeviceVersionIs200();
    bool ReadActiveDeviceServiceFlag();
    bool ShowActiveDeviceError(int number, GwCore* parent);

    // --- fields ---
    TarnBus* GetSerialBus() const { return serialBus_.get(); }
    CCanOpenTarn* GetCanBus() const { return canBus_.get(); }
    DataBus* GetActiveBus() const { return activeBus_; }
    GwSlider* GetProgressIndicator() const { return progressIndicator_; }
    void SetProgressIndicator(GwSlider* indicator) { progressIndicator_ = indicator; }
    int GetActiveAddress() const { return activeAddress_; }
    // Bus addresses of the found devices in ascending order, -1 after the
    // last.
    const std::array<int32_t, kBusDeviceSlots>& FoundDevices() const { return foundDevices_; }
    std::array<int32_t, kBusDeviceSlots>& FoundDevices() { return foundDevices_; }
    ParaBase* GetCachedParaBase(int address) const;
    parameterbase& OwnParaBase() { return ownBase_; }
    DeviceSetupContext* GetSetupContext() const { return setupContext_.get(); }
    float GetFirmwareVersion() const { return firmwareVersion_; }
    uint16_t GetFirmwareRevision() const { return firmwareRevision_; }
    const dstring& GetSerialNumber() const { return serialNumber_; }
    uint16_t GetStoredRunMode() const { return storedRunMode_; }
    // The run mode the program itself installed, so the signature watch
    // takes it for no change.
    void SetStoredRunMode(uint16_t mode) { storedRunMode_ = mode; }
    uint16_t GetUdsacValue() const { return udsacValue_; }
    bool IsIgnoringRunModeChange() const { return ignoreRunMode_; }
    int32_t GetIgnoreCountdown() const { return ignoreCountdown_; }
    const dstring& GetWindowsPath() const { return windowsPath_; }
    bool LastSearchWasScan() const { return lastSearchWasScan_; }
    int GetActivationCount() const { return activationCount_; }

private:
    // The record at the address on the active bus, or null.
    BusDeviceRecord* RecordAt(int address) const;
    // Closes the window list's online windows, uncouples every device and
    // clears the active bus when `bus` is it.
    void ReleaseActiveBus(DataBus* bus);
    // Builds the cached base at the active address from the cache file or the
    // device; false when it was dropped.
    bool LoadActiveBase(int address);
    bool ReadBaseFromDevice(int address, const std::string& cachePath);
    // The device search (ConnectDevice) or the network scan (CheckDevice).
    void FindDevices(bool scan);
    bool ReadSignature();
    // Parameter 88 "PWRON" when present.
    bool HasPowerOnFlag() const;

    std::unique_ptr<TarnBus> serialBus_;
    std::unique_ptr<CCanOpenTarn> canBus_;
    DataBus* activeBus_ = nullptr;
    GwRef<GwSlider> progressIndicator_;
    int16_t activeAddress_ = -1;
    std::array<int32_t, kBusDeviceSlots> foundDevices_;
    std::array<std::unique_ptr<ParaBase>, kBusDeviceSlots> cachedBases_;
    ParaBase* activeBase_ = nullptr;
    parameterbase ownBase_;
    std::unique_ptr<DeviceSetupContext> setupContext_;
    float firmwareVersion_ = 0.0f;
    uint16_t firmwareRevision_ = 0;
    dstring serialNumber_;
    uint16_t storedRunMode_ = 0;
    uint16_t udsacValue_ = 0;
    bool ignoreRunMode_ = false;
    int32_t ignoreCountdown_ = 0;
    dstring windowsPath_;
    bool lastSearchWasScan_ = false;
    int activationCount_ = 0;
};

// The application object, or null before CreateMainObject and after
// DestroyMainObject.
Main* GetMain();
// Makes the application object and sets the user data directory from the
// main profile. False only when it cannot be made.
bool CreateMainObject();
// Ends the application object (the exit command).
void DestroyMainObject();

// Whether "Type<class>.xdl" for the device type can be opened in the working
// directory (class: the low 16 bits of the type divided by 1000).
bool TypeDescriptionExists(uint32_t typeNumber);
// Rebuilds the found-device list from the active bus's device table, with the
// records' type texts and aliases, then the device menus and list.
void RebuildDeviceList();
// Sets CanArraySubindexOffset: 0 for the active device's families 3 and 4,
// 1 for all others.
void SetCanBlockOffsetFlag();
// Whether the base is of kind 3 or 4 with a stored firmware version from 200
// to 209.95.
bool IsVersion200Device(ParaBase* base);
// A failed device access with code `code`: device error 5 for the base (the
// active device's without one) and true; false for code 0.
bool ReportDeviceAccessError(int code, GwCore* parent, ParaBase* base);
