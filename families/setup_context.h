// The setup context of one device: the per-device object behind the setup
// windows of a drive family. It owns a copy of the device's parameter base
// (online: reads go to the device; offline: the table only), the table that
// maps a run mode to its setup page, the setup window's layout and the mark
// of changes not yet saved. Its virtual operations answer what the generic
// device-window callbacks ask without knowing the family.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "bus/base/device_parameters.h"
#include "parameters/parabase/on_off_base.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_types.h"

class FirmwareTexts;
class GwCore;
class dstring;

// Parameters every context reads.
inline constexpr int kRunModeParameter = 151;
inline constexpr int kSaveParameter = 150;
inline constexpr int kDeviceStateWordParameter = 403;
inline constexpr int kPescoStatusWordParameter = 410;
inline constexpr int kModeSelectionParameter = 578;
inline constexpr int kModeSelectionAltParameter = 579;
// The application list widget that installs a run mode.
inline constexpr char kApplicationListName[] = "_PN_152";
inline constexpr char kSetupControlName[] = "Setup";
// Places of the setup window's widgets, in this order.
inline constexpr int kContFuncRect = 0;
inline constexpr int kFirstControlRect = 1;
inline constexpr int kContValRect = 2;
inline constexpr int kContSaveRect = 3;

class DeviceSetupContext {
public:
    // Copies `base` into the context's own base with the online flag.
    DeviceSetupContext(GwCore* window, const ParaBase& base, bool online);
    virtual ~DeviceSetupContext();
    DeviceSetupContext(const DeviceSetupContext&) = delete;
    DeviceSetupContext& operator=(const DeviceSetupContext&) = delete;

    // The text that names `value` of parameter `number`; callers treat a text
    // equal to the plain number as "no name". The base gives the number.
    virtual void GetValueText(dstring& out, int number, int32_t value);
    // Brings the firmware texts up to date; the base does nothing.
    virtual void ReloadFirmwareTexts();
    // True while the drive reports the status bit that forbids a change of
    // run mode.
    virtual bool CheckStatusWordBit() = 0;
    // A second status bit (the error reset is sent only while it is set).
    virtual bool CheckStatusWordBitAlt() = 0;
    // Option-slot tests behind the "NoHollin" and "NoQuarn" marks.
    virtual bool CheckModeSelection() = 0;
    virtual bool CheckModeSelectionAlt() = 0;
    // Empties the firmware text profile, then loads it from the version
    // profile's path when there is one. Nothing for contexts without texts.
    void ReloadProfile();

    // The setup page of run mode `mode`; 0 when the mode has none or lies
    // beyond the table.
    int32_t SetupPageOf(int mode) const;
    // The firmware text profile, or null for contexts without one.
    FirmwareTexts* Texts() const { return texts_; }

    // Reads a value by the read rule: from the device when the context's base
    // is online, else from the table.
    int ReadDouble(int number, double* out);
    int ReadString(int number, dstring& out);
    // Expires when this context is destroyed: holders of a pointer to the
    // context (or its base) see its end through it.
    std::weak_ptr<const void> LifeToken() const { return life_; }
    // Stores a value by the same rule: written to the device when online,
    // else set in the table.
    int StoreDouble(int number, double value, int element = 0);
    int StoreString(int number, const dstring& text, int element = 0);

    int32_t RunModeParameter = kRunModeParameter;
    int32_t SaveParameter = kSaveParameter;
    GwRef<> SetupControl;
    const char* ApplicationListName = kApplicationListName;
    const char* SpecialsPageName = nullptr;
    const int32_t* SetupPageTable = nullptr;
    int32_t SetupPageTableLength = 0;
    bool Expanded = false;
    std::array<GwRect, 4> Rects;
    // Set once the show callback has recorded the full layout into Rects
    // and folded the window; a window that never folds (family 4) has no
    // layout to switch.
    bool LayoutRecorded = false;
    GwRef<> Window;
    std::unique_ptr<OnOffBase> Base;
    bool Modified = false;

protected:
    // A failed state read: device error 5 for the context's base.
    void ReportReadError();
    // Bit `bit` of parameter `number` read by the read rule; true after
    // device error 5 when the read fails.
    bool StatusBit(int number, int bit);
    // Bit `bit` of parameter `number` read from the device; true when the
    // read fails.
    bool DeviceStatusBit(int number, int bit);
    // Whether each of `numbers` differs from `value`; false (after device
    // error 5) when a read fails.
    bool AllDiffer(std::initializer_list<int> numbers, int value);

    FirmwareTexts* texts_ = nullptr;

private:
    std::shared_ptr<const int> life_ = std::make_shared<const int>(0);
};

// Set by the PLC host when the PLC editor reports a new project name;
// ReloadFirmwareTexts clears it.
extern bool FirmwareTextsReloadRequest;
