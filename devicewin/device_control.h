// The device control panel behind the manual control window: it takes the
// active drive over (forces a model's set of parameters to safe values and
// protects them through the parameter write lock), drives it by hand and,
// when it ends, waits for the drive to stop and writes the saved values back.
// One model per drive family: Marlo (3), Ruvex (4), Pesco (5 to 7).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "toolkit/core/gw_ref.h"

class ParaBase;
class GwCore;

struct ParameterCondition {
    int Number;
    double Lowest;  // both inclusive
    double Highest;
};

struct ProtectedParameter {
    uint16_t Number;
    double Forced;
    const ParameterCondition* Conditions;  // null: always active
    int ConditionCount;
};

// The keys usable in one device state.
struct ControlKeys {
    bool Start, Stop, Reverse, Halt, ErrorReset;
};

struct ControlTable {
    const ProtectedParameter* Entries;
    int Count;
    const ControlKeys* Keys;
    int KeyRows;
    uint8_t NoOnlineState;  // the state without an online device (or a failed read)
    uint8_t UnknownState;   // the state of a device of no known kind
};

// Waits n seconds by the tick count while the main window processes events.
uint32_t WaitSeconds(unsigned n);
// The text of ParaBase message n.
std::string GetParaBaseMessageText(int n);

class DeviceControl {
public:
    static constexpr int kSlots = 100;

    virtual ~DeviceControl();
    virtual bool SetCtrlType(uint8_t type);
    virtual uint8_t GetCtrlType();
    virtual int GetCtrlTypeCount();
    virtual std::string GetCtrlTypeName(int index);
    virtual bool SetRefVal(double value);
    virtual double GetRefVal();
    virtual double GetActVal();
    virtual bool Start();
    virtual bool Stop();
    virtual bool Reverse();
    virtual bool Halt();
    virtual bool ErrorReset();
    virtual bool IsStartEnabled();
    virtual bool IsStopEnabled();
    virtual bool IsReverseEnabled();
    virtual bool IsHaltEnabled();
    virtual bool IsErrorResetEnabled();
    virtual bool IsCtrlTypeEnabled();
    virtual std::string GetActValUnit();
    virtual uint8_t UpdateDeviceState();

    bool ProtectParameters();
    bool RestoreParameters();
    // Shows error 5 for a non-zero code (a negative answer sets the close
    // request); true when there was an error.
    bool ReportError(int code);

    DeviceControl(const DeviceControl&) = delete;
    DeviceControl& operator=(const DeviceControl&) = delete;

    bool Opened = false;
    bool CloseRequest = false;
    double RefMin = 0.0;
    double RefMax = 0.0;
    double StartRef = 0.0;
    uint8_t DeviceState = 0;
    int32_t OwnerToken = 0;
    GwRef<> Window;

protected:
    DeviceControl();
    // Steps 2 to 4 of the construction: the drive must be of `typeClass`
    // (0: any) and stopped; then the panel works on the active base.
    bool FindDrive(int typeClass);
    // Steps 6 to 9 of the construction, after the model's own checks.
    void TakeOver();
    // Info 31 and true while the drive runs: its control type stays.
    bool RefuseWhileRunning();
    // The shut-down of an opened panel; the model's destructor runs it, so
    // that the model's operations still answer.
    void ShutDown(bool stopFirst);
    // Reads the device state into DeviceState by the model's table.
    uint8_t ReadMappedState(bool* readAsIs);
    bool KeyOn(bool ControlKeys::*key) const;
    bool ReverseReference();
    // 300 := type, then 15 := 1, past the write lock.
    bool WriteCtrlType(uint8_t type);
    // 300 from the device as 8-bit; 0 on error.
    uint8_t ReadCtrlTypeRaw();
    double ReadDoubleOr(int number, double fallback);

    ParaBase* Base = nullptr;
    ControlTable Table{};

private:
    // The model's own parameters beyond the table, set after the take-over
    // and written back before the table's values.
    virtual void ForceModelParameters() {}
    virtual void RestoreModelParameters() {}
    bool DecideActive(int entry, bool* active);
    bool RestoreEntries(int count);

    std::array<uint8_t, kSlots> Active{};
    std::array<int32_t, kSlots> Saved{};
};

class Marlo_Control : public DeviceControl {
public:
    Marlo_Control();
    ~Marlo_Control() override;
    bool SetCtrlType(uint8_t type) override;
    uint8_t GetCtrlType() override;
    int GetCtrlTypeCount() override { return 3; }
    std::string GetCtrlTypeName(int index) override;
    bool SetRefVal(double value) override;
    double GetRefVal() override;
    double GetActVal() override;
    bool Start() override;
    bool Stop() override;
    bool Reverse() override { return ReverseReference(); }
    bool Halt() override;
    bool ErrorReset() override;
    bool IsStartEnabled() override { return KeyOn(&ControlKeys::Start); }
    bool IsStopEnabled() override { return KeyOn(&ControlKeys::Stop); }
    bool IsReverseEnabled() override { return RefMin < 0.0 && KeyOn(&ControlKeys::Reverse); }
    bool IsHaltEnabled() override { return KeyOn(&ControlKeys::Halt); }
    bool IsErrorResetEnabled() override { return KeyOn(&ControlKeys::ErrorReset); }
    bool IsCtrlTypeEnabled() override;
    std::string GetActValUnit() override { return "Hz"; }
    uint8_t UpdateDeviceState() override;

protected:
    // For the models that share Marlo's operations.
    explicit Marlo_Control(bool);
    // 551 (16-bit) AND 0xFF7F, then OR 0x80, then a stop.
    bool ResetErrorBit();
};

class Ruvex_Control : public Marlo_Control {
public:
    Ruvex_Control();
    ~Ruvex_Control() override;
    bool SetCtrlType(uint8_t type) override;
    uint8_t GetCtrlType() override;
    int GetCtrlTypeCount() override;
    std::string GetCtrlTypeName(int index) override;
    bool SetRefVal(double value) override;
    double GetRefVal() override;
    double GetActVal() override;
    bool Start() override;
    bool Stop() override;
    bool Halt() override;
    bool IsHaltEnabled() override;
    bool IsCtrlTypeEnabled() override;
    std::string GetActValUnit() override;
    uint8_t UpdateDeviceState() override;

private:
    void ForceModelParameters() override;
    void RestoreModelParameters() override;
    bool ScalesBy60();

    int UserLevel = 0;
    uint16_t Saved365 = 0;
    uint8_t Saved1 = 0;
};

class Pesco_Control : public Marlo_Control {
public:
    Pesco_Control();
    ~Pesco_Control() override;
    bool SetCtrlType(uint8_t type) override;
    double GetActVal() override;
    bool Start() override;
    bool Stop() override;
    bool Halt() override;
    bool ErrorReset() override;
    std::string GetActValUnit() override { return Unit; }

private:
    std::string Unit;
};

// The program-wide values of the Ruvex panels, which outlive a panel.
struct RuvexControlState {
    int Variant = 0;
    int Flag981 = 0;
    uint8_t PreviousState = 0;
};
RuvexControlState& TheRuvexControlState();
