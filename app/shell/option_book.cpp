#include "app/shell/option_book.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "app/shell/option_settings.h"
#include "bus/can/can_open_tarn.h"
#include "bus/serial/tarn_bus.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/reset_hooks.h"
#include "platform/system/port_map.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_message_box.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr char kBookName[] = "Options";
constexpr int kErrorWindowMissing = 7;
constexpr int kErrorDeviceAccess = 5;
constexpr size_t kMaxPortNames = 128;
constexpr int kPortNamePrefixLength = 3;  // "COM"

constexpr uint32_t kDefaultSerialBaud = 9600;
constexpr unsigned kDefaultSerialPort = 1;
constexpr int kDefaultCanBaudRateId = 5;

// The drive's serial rate code and the command that makes it talk at it.
constexpr int kBaudCodeParameter = 81;
constexpr char kBaudCodeName[] = "SBAUD";
constexpr int kCommandParameter = 4;
constexpr int32_t kTakeBaudCodeCommand = 111;

constexpr char kOptions[] = "Options";
constexpr char kAutoStart[] = "AutoStart";
constexpr char kSerialSection[] = "TarnBus";
constexpr char kCanSection[] = "CANOpen";
constexpr char kDirectories[] = "Directories";

// The book as loaded by CB_ShowOptionBook, shown again on later requests.
struct OptionBookState {
    GwRef<> Book;
};

OptionBookState& State() {
    static OptionBookState state;
    return state;
}
platform::ResetHook ResetState([] { State() = {}; });

// The widgets of the book, looked up by name in its frame.
struct OptionWidgets {
    GwToggle* serialBus = nullptr;
    GwToggle* canBus = nullptr;
    GwToggle* noBus = nullptr;
    GwCombo* canBaudRateId = nullptr;
    GwCombo* canHardwareId = nullptr;
    GwCombo* canIoPort = nullptr;
    GwCombo* canInterrupt = nullptr;
    GwCore* parallelAdapterGroup = nullptr;
    GwCombo* serialBaud = nullptr;
    GwCombo* serialPort = nullptr;
    GwToggle* initBus = nullptr;
    GwToggle* searchDevice = nullptr;
    GwToggle* scanNet = nullptr;
    GwToggle* noScanner = nullptr;
    GwToggle* saveBus = nullptr;
    GwToggle* saveAlias = nullptr;
    GwSlider* refreshRate = nullptr;
    GwToggle* animation = nullptr;
    GwToggle* showDeviceError = nullptr;
    GwToggle* userState = nullptr;
    GwCore* userDir = nullptr;

    bool Complete() const {
        return serialBus && canBus && noBus && canBaudRateId && canHardwareId && canIoPort && canInterrupt &&
               parallelAdapterGroup && serialBaud && serialPort && initBus && searchDevice && scanNet && noScanner &&
               saveBus && saveAlias && refreshRate && animation && showDeviceError && userState && userDir;
    }
};

OptionWidgets FindWidgets(GwCore* frame) {
    OptionWidgets w;
    if (frame == nullptr) return w;
    w.serialBus = frame->child<GwToggle>("IsTarnBusActiv");
    w.canBus = frame->child<GwToggle>("IsCanBusActiv");
    w.noBus = frame->child<GwToggle>("IsNoBus");
    w.canBaudRateId = frame->child<GwCombo>("GwCanBaudRateId");
    w.canHardwareId = frame->child<GwCombo>("gwcCanHwId");
    w.canIoPort = frame->child<GwCombo>("gwcCanIoPort");
    w.canInterrupt = frame->child<GwCombo>("gwcCanIrq");
    w.parallelAdapterGroup = frame->child("gwcPeakDongle");
    w.serialBaud = frame->child<GwCombo>("TarnBusBaudRate");
    w.serialPort = frame->child<GwCombo>("TarnBusPortName");
    w.initBus = frame->child<GwToggle>("InitBus");
    w.searchDevice = frame->child<GwToggle>("SearchDevice");
    w.scanNet = frame->child<GwToggle>("ScanNet");
    w.noScanner = frame->child<GwToggle>("NoBus");
    w.saveBus = frame->child<GwToggle>("SaveBus");
    w.saveAlias = frame->child<GwToggle>("SaveAlias");
    w.refreshRate = frame->child<GwSlider>("ParaSlider");
    w.animation = frame->child<GwToggle>("Animation");
    w.showDeviceError = frame->child<GwToggle>("ShowDeviceError");
    w.userState = frame->child<GwToggle>("UserState");
    w.userDir = frame->child("UserDir");
    return w;
}

bool IsChecked(const GwToggle* toggle) { return toggle != nullptr && toggle->is_checked(); }

bool HasSelection(const GwCombo* list) { return list != nullptr && list->first_selected() >= 0; }

// The item of that text selected (and shown), or the text alone when the
// list has no such item.
void ShowInList(GwCombo& list, const std::string& text) {
    const int index = list.find(text);
    if (index >= 0) {
        list.select_item(index);
    } else {
        list.deselect_all();
        list.set_text(text);
    }
}

void SelectIndex(GwCombo& list, int index) {
    if (index >= 0 && index < list.count()) {
        list.select_item(index);
    } else {
        list.deselect_all();
    }
}

// A list entry of the parallel-port adapter, a hexadecimal number.
uint32_t HexEntryValue(const std::string& text) {
    unsigned value = 0;
    if (std::sscanf(("0x" + text).c_str(), "%x", &value) != 1) return 0;
    return value;
}

int IndexOfHexValue(const GwCombo& list, uint32_t value) {
    for (int i = 0; i < list.count(); ++i)
        if (HexEntryValue(list.item_text(i)) == value) return i;
    return -1;
}

std::string ReadKey(GwProfile& profile, const char* section, const char* key) {
    if (!profile.select_section(section) || !profile.key_exists(key)) return {};
    return profile.read(key);
}

void WriteKey(GwProfile& profile, const char* section, const char* key, const std::string& value) {
    if (profile.select_section(section, true)) profile.write(key, value.c_str());
}

// A stored 1/0 switch: a missing key takes the default, any value but 0
// counts as on.
bool ReadSwitch(GwProfile& profile, const char* key, bool missing) {
    if (!profile.select_section(kOptions) || !profile.key_exists(key)) return missing;
    return profile.read_int(key) != 0;
}

void ShowPortList(GwCombo& list) {
    const platform::SerialPortMap map = platform::ReadSerialPortMap();
    if (!map.error.empty()) {
        GwSystemMessageBox(map.error, "Error");
        return;
    }
    list.clear();
    for (size_t i = 0; i < map.ports.size() && i < kMaxPortNames; ++i) list.append(map.ports[i].port_name);
}

void ShowSerialSettings(const OptionWidgets& w, Main& main, GwProfile& profile) {
    uint32_t baud = kDefaultSerialBaud;
    unsigned port = kDefaultSerialPort;
    if (const TarnBus* bus = main.GetSerialBus()) {
        baud = bus->GetBaudRate();
        port = bus->GetPortNumber();
    } else if (profile.select_section(kSerialSection)) {
        baud = static_cast<uint32_t>(profile.read_int("Baudrate"));
        port = static_cast<unsigned>(profile.read_int("COM-Port"));
    }
    ShowInList(*w.serialBaud, std::to_string(baud));
    ShowInList(*w.serialPort, "COM" + std::to_string(port));
}

void ShowCanSettings(const OptionWidgets& w, Main& main, GwProfile& profile) {
    int baudRateId = kDefaultCanBaudRateId;
    int hardwareId = kHardwareParallel;
    int ioPortIndex = 0;
    int interruptIndex = 0;
    const CanAdapterSettings* open = main.GetCanBus() != nullptr ? CCanOpenTarn::GetDriverSettings() : nullptr;
    if (open != nullptr) {
        baudRateId = open->baudRateId;
        hardwareId = open->hardwareId;
        if (const int i = IndexOfHexValue(*w.canIoPort, open->ioPort); i >= 0) ioPortIndex = i;
        if (const int i = IndexOfHexValue(*w.canInterrupt, open->interrupt); i >= 0) interruptIndex = i;
    } else if (profile.select_section(kCanSection)) {
        baudRateId = profile.read_int("BaudRateId");
        hardwareId = profile.read_int("HwId");
        if (profile.key_exists("IoPort")) {
            if (const int i = w.canIoPort->find(profile.read("IoPort")); i >= 0) ioPortIndex = i;
        }
        if (profile.key_exists("IRQ")) {
            if (const int i = w.canInterrupt->find(profile.read("IRQ")); i >= 0) interruptIndex = i;
        }
    }
    SelectIndex(*w.canBaudRateId, baudRateId);
    SelectIndex(*w.canHardwareId, hardwareId);
    SelectIndex(*w.canIoPort, ioPortIndex);
    SelectIndex(*w.canInterrupt, interruptIndex);
    if (hardwareId == kHardwareParallel) {
        w.parallelAdapterGroup->show();
    } else {
        w.parallelAdapterGroup->hide();
    }
}

void ShowStartAndExitOptions(const OptionWidgets& w, GwProfile& profile) {
    if (profile.select_section(kAutoStart)) {
        if (profile.key_exists("InitBus")) w.initBus->set_checked(std::strcmp(profile.read("InitBus"), "yes") == 0);
        const std::string scanner = profile.read("DeviceScanner");
        if (scanner == "SearchDevice") w.searchDevice->set_checked(true);
        if (scanner == "ScanNet") w.scanNet->set_checked(true);
        if (scanner == "non") w.noScanner->set_checked(true);
    }
    if (profile.select_section(kOptions)) {
        if (profile.key_exists("SaveBusConf"))
            w.saveBus->set_checked(std::strcmp(profile.read("SaveBusConf"), "yes") == 0);
        if (profile.key_exists("SaveAliasName"))
            w.saveAlias->set_checked(std::strcmp(profile.read("SaveAliasName"), "yes") == 0);
        if (profile.key_exists("RelParaUpdateFrequence"))
            w.refreshRate->set_value(profile.read_double("RelParaUpdateFrequence"));
    }
    const bool animation = ReadSwitch(profile, "Animation", true);
    const bool showDeviceError = ReadSwitch(profile, "ShowDeviceError", true);
    const bool userState = ReadSwitch(profile, "UserState", false);
    w.animation->set_checked(animation);
    w.showDeviceError->set_checked(showDeviceError);
    w.userState->set_checked(userState);
    AnimationOff = !animation;
    ShowDeviceErrorFlag = showDeviceError;
    UserStateFlag = userState;
    w.userDir->set_text(ReadKey(profile, kDirectories, "UserdataDir"));
}

// After a new bus came up: the devices are looked for as they were found
// last, and the device that was active becomes active again.
void FindDevicesAgain(Main& main, bool lastWasScan, int activeAddress) {
    if (lastWasScan) {
        main.ScanNet();
    } else {
        main.SearchDevice();
    }
    if (activeAddress != -1) main.SetActiveDevice(activeAddress);
}

// A drive that cannot talk at the chosen rate is told the nearest code it
// can, and the rate of that code is shown. False, with error message 5, when
// the drive refused the change; the bus then stays as it is.
bool LimitDriveBaud(Main& main, GwCombo& baudList, uint32_t& baud, GwCore* book) {
    TarnBus* bus = main.GetSerialBus();
    ParaBase* base = main.ActiveParaBase();
    if (bus == nullptr || base == nullptr || main.GetActiveBus() != bus || !main.HasOnlineDevice() ||
        main.LastSearchWasScan() || DevicesUncoupled)
        return true;
    if (std::strcmp(base->GetParameterName(kBaudCodeParameter), kBaudCodeName) != 0) return true;
    if (base->ReadBusDescription(kBaudCodeParameter) != 0) return true;
    const ParameterEntry* entry = base->GetEntry(kBaudCodeParameter);
    int code = BaudRateCode(baud);
    if (code < entry->minimum) code = entry->minimum;
    if (code > entry->maximum) code = entry->maximum;
    baud = BaudRateOfCode(code);
    ShowInList(baudList, std::to_string(baud));
    const int address = main.GetActiveAddress();
    const auto refused = [&](int parameter) {
        base->CurrentParameter = static_cast<uint16_t>(parameter);
        base->CheckBusResult(false);
        ShowDeviceError(kErrorDeviceAccess, base, book);
        return false;
    };
    if (!bus->WriteParameterValue(kBaudCodeParameter, code, address)) return refused(kBaudCodeParameter);
    if (!bus->WriteParameterValue(kCommandParameter, kTakeBaudCodeCommand, address)) return refused(kCommandParameter);
    return true;
}

bool ApplySerialSettings(Main& main, const OptionWidgets& w, GwCore* book) {
    if (w.serialBaud == nullptr || w.serialPort == nullptr) return false;
    const std::string baudText = w.serialBaud->text();
    if (baudText.empty()) return false;
    uint32_t baud = static_cast<uint32_t>(std::strtoul(baudText.c_str(), nullptr, 10));
    const std::string portText = w.serialPort->text();
    const unsigned port = portText.size() > kPortNamePrefixLength
                              ? static_cast<unsigned>(std::atoi(portText.c_str() + kPortNamePrefixLength))
                              : 0;
    if (const TarnBus* bus = main.GetSerialBus();
        bus != nullptr && bus->GetBaudRate() == baud && bus->GetPortNumber() == port)
        return true;
    if (!LimitDriveBaud(main, *w.serialBaud, baud, book)) return false;
    const bool lastWasScan = main.LastSearchWasScan();
    const int activeAddress = main.GetActiveAddress();
    main.CloseTarnBus();
    if (!main.OpenTarnBus(static_cast<int32_t>(baud), port, true)) return false;
    FindDevicesAgain(main, lastWasScan, activeAddress);
    return true;
}

bool ApplyCanSettings(Main& main, const OptionWidgets& w) {
    if (w.canBaudRateId == nullptr || w.canHardwareId == nullptr || w.canIoPort == nullptr ||
        w.canInterrupt == nullptr || !HasSelection(w.canBaudRateId) || !HasSelection(w.canHardwareId))
        return false;
    const int baudRateId = w.canBaudRateId->first_selected();
    const int hardwareId = w.canHardwareId->first_selected();
    uint32_t ioPort = 0;
    uint32_t interrupt = 0;
    if (hardwareId == kHardwareParallel) {
        if (!HasSelection(w.canIoPort) || !HasSelection(w.canInterrupt)) return false;
        ioPort = HexEntryValue(w.canIoPort->selection_text());
        interrupt = HexEntryValue(w.canInterrupt->selection_text());
    }
    if (main.GetCanBus() != nullptr) {
        const CanAdapterSettings* open = CCanOpenTarn::GetDriverSettings();
        if (open != nullptr && open->baudRateId == baudRateId && open->hardwareId == hardwareId &&
            (hardwareId != kHardwareParallel || (open->ioPort == ioPort && open->interrupt == interrupt)))
            return true;
        main.CloseCanBus();
    }
    const bool lastWasScan = main.LastSearchWasScan();
    const int activeAddress = main.GetActiveAddress();
    if (!main.OpenCanBus(baudRateId, hardwareId, ioPort, interrupt, true)) return false;
    FindDevicesAgain(main, lastWasScan, activeAddress);
    return true;
}

const char* YesNo(const GwToggle* toggle) { return IsChecked(toggle) ? "yes" : "no"; }
std::string OneZero(const GwToggle* toggle) { return IsChecked(toggle) ? "1" : "0"; }

void SaveOptions(const OptionWidgets& w, GwProfile& profile) {
    if (w.refreshRate != nullptr) {
        const long rate = std::lround(w.refreshRate->value());
        WriteKey(profile, kOptions, "RelParaUpdateFrequence", std::to_string(rate));
        PollRateFactor = static_cast<double>(rate) * 0.01;
    }
    if (w.animation != nullptr) {
        WriteKey(profile, kOptions, "Animation", OneZero(w.animation));
        AnimationOff = !w.animation->is_checked();
    }
    if (w.showDeviceError != nullptr) {
        WriteKey(profile, kOptions, "ShowDeviceError", OneZero(w.showDeviceError));
        ShowDeviceErrorFlag = w.showDeviceError->is_checked();
    }
    if (w.userState != nullptr) {
        WriteKey(profile, kOptions, "UserState", OneZero(w.userState));
        UserStateFlag = w.userState->is_checked();
    }
    if (IsChecked(w.noBus)) {
        WriteKey(profile, kOptions, "Bussystem", "NoBus");
    } else if (IsChecked(w.serialBus)) {
        WriteKey(profile, kOptions, "Bussystem", kSerialSection);
    } else if (IsChecked(w.canBus)) {
        WriteKey(profile, kOptions, "Bussystem", kCanSection);
    }
    WriteKey(profile, kOptions, "SaveBusConf", YesNo(w.saveBus));
    WriteKey(profile, kOptions, "SaveAliasName", YesNo(w.saveAlias));
    WriteKey(profile, kAutoStart, "InitBus", YesNo(w.initBus));
    if (IsChecked(w.searchDevice)) {
        WriteKey(profile, kAutoStart, "DeviceScanner", "SearchDevice");
    } else if (IsChecked(w.scanNet)) {
        WriteKey(profile, kAutoStart, "DeviceScanner", "ScanNet");
    } else if (IsChecked(w.noScanner)) {
        WriteKey(profile, kAutoStart, "DeviceScanner", "non");
    }
    if (w.serialBaud != nullptr) WriteKey(profile, kSerialSection, "Baudrate", w.serialBaud->text());
    if (w.serialPort != nullptr) {
        const std::string port = w.serialPort->text();
        WriteKey(profile,
                 kSerialSection,
                 "COM-Port",
                 port.size() > kPortNamePrefixLength ? port.substr(kPortNamePrefixLength) : std::string());
    }
    if (HasSelection(w.canBaudRateId) && HasSelection(w.canHardwareId)) {
        const int hardwareId = w.canHardwareId->first_selected();
        WriteKey(profile, kCanSection, "BaudRateId", std::to_string(w.canBaudRateId->first_selected()));
        WriteKey(profile, kCanSection, "HwId", std::to_string(hardwareId));
        if (hardwareId == kHardwareParallel && HasSelection(w.canIoPort) && HasSelection(w.canInterrupt)) {
            WriteKey(profile, kCanSection, "IoPort", w.canIoPort->selection_text());
            WriteKey(profile, kCanSection, "IRQ", w.canInterrupt->selection_text());
        }
    }
    if (w.userDir != nullptr && !w.userDir->text().empty())
        WriteKey(profile, kDirectories, "UserdataDir", w.userDir->text());
    profile.save();
}

}  // namespace

int CB_ShowOption(GwCore* widget, GwEvent*, GwUD) {
    GwCore* book = widget != nullptr ? widget->frame() : nullptr;
    const OptionWidgets w = FindWidgets(book);
    if (!w.Complete()) {
        ShowErrorMessage(kErrorWindowMissing);
        return 1;
    }
    Main* main = GetMain();
    GwProfile* profile = MainProfile();
    if (main == nullptr || profile == nullptr) return 1;
    const DataBus* active = main->GetActiveBus();
    if (active == nullptr) {
        w.noBus->set_checked(true);
    } else if (active->GetBusType() == kSerialBusType) {
        w.serialBus->set_checked(true);
    } else if (active->GetBusType() == kCanOpenBusType) {
        w.canBus->set_checked(true);
    }
    ShowPortList(*w.serialPort);
    ShowSerialSettings(w, *main, *profile);
    ShowCanSettings(w, *main, *profile);
    ShowStartAndExitOptions(w, *profile);
    return 1;
}

int CB_SetOption(GwCore* widget, GwEvent*, GwUD) {
    GwCore* book = widget != nullptr ? widget->frame() : nullptr;
    Main* main = GetMain();
    GwProfile* profile = MainProfile();
    if (book == nullptr || main == nullptr || profile == nullptr) return 1;
    const OptionWidgets w = FindWidgets(book);
    if (!IsChecked(w.serialBus)) {
        main->CloseTarnBus();
    } else if (!ApplySerialSettings(*main, w, book)) {
        WriteKey(*profile, kOptions, "Bussystem", kSerialSection);
        return 1;
    }
    if (!IsChecked(w.canBus)) {
        main->CloseCanBus();
    } else if (!ApplyCanSettings(*main, w)) {
        WriteKey(*profile, kOptions, "Bussystem", kCanSection);
        return 1;
    }
    // Opening a bus runs boxes and timers; the book may be gone by now.
    if (!GwRcMgr::is_valid_child(book)) return 1;
    SaveOptions(FindWidgets(book), *profile);
    book->hide();
    return 1;
}

int CB_SearchUserDir(GwCore* widget, GwEvent*, GwUD) {
    GwCore* book = widget != nullptr ? widget->frame() : nullptr;
    GwCore* userDir = book != nullptr ? book->child("UserDir") : nullptr;
    GwFileSelectorControl selector("id", book);
    selector.set_folder_mode(true);
    if (userDir != nullptr) selector.set_start_folder(userDir->text());
    if (!selector.go()) return 0;
    if (userDir != nullptr) userDir->set_text(selector.folder());
    return 1;
}

int CB_ShowOptionBook(GwCore*, GwEvent*, GwUD) {
    if (State().Book == nullptr) {
        State().Book = GwRcMgr::load(GetMainWindow(), kBookName, 1);
        if (State().Book == nullptr) {
            ShowErrorMessage(kErrorWindowMissing);
            return 1;
        }
    }
    State().Book->show();
    State().Book->raise();
    TheWindowHandler().Add(State().Book, 0);
    return 1;
}
