// Opening and closing the buses, uncoupling devices, device search and
// network scan, and the device state texts.
#include <optional>

#include "app/main/main_display.h"
#include "app/main/main_object.h"
#include "app/services/activity_message.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/program_flags.h"
#include "app/services/window_handler.h"
#include "bus/can/can_open_tarn.h"
#include "bus/serial/tarn_bus.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr int kBusErrorBox = 1;  // warning, info or error message 1
constexpr int kNoActiveBusInfo = 2;
constexpr int kSearchActivity = 0;
constexpr int kScanActivity = 4;
constexpr double kSearchProgressMaximum = 100;

// The modal flag for a bus opening or closing, lowered on every way out.
class ModalScope {
public:
    ModalScope() { ModalFlag = true; }
    ~ModalScope() { ModalFlag = false; }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

void SetArrowCursor() { GwCore::set_global_cursor(GwCURSOR_ARROW); }

const char* StateSectionOfKind(int kind) {
    switch (kind) {
        case 3:
            return "Marlo-Device-States";
        case 4:
            return "Servo-Device-States";
        case 5:
        case 6:
        case 7:
            return "Pesco-Device-States";
        case 8:
            return "Zov-Device-States";
        default:
            return nullptr;
    }
}

}  // namespace

bool Main::OpenTarnBus(int32_t baud, unsigned port, bool makeActive) {
    ModalScope modal;
    UncoupleAllDevices();
    bool wasActive = false;
    if (serialBus_ != nullptr) {
        wasActive = activeBus_ == serialBus_.get();
        if (wasActive) activeBus_ = nullptr;
        serialBus_.reset();
    }
    auto bus = std::make_unique<TarnBus>(port, baud);
    if (!bus->IsOpen()) {
        ShowWarningMessage(kBusErrorBox);
        return false;
    }
    bus->SetWriteSettleWait(false);
    serialBus_ = std::move(bus);
    if (wasActive || makeActive) {
        activeBus_ = serialBus_.get();
        RefreshBusDisplay();
    }
    return true;
}

bool Main::OpenCanBus(int32_t baudRateId, int32_t hardwareId, uint32_t ioPort, uint32_t interrupt, bool makeActive) {
    ModalScope modal;
    UncoupleAllDevices();
    bool wasActive = false;
    if (canBus_ != nullptr) {
        wasActive = activeBus_ == canBus_.get();
        if (wasActive) activeBus_ = nullptr;
        canBus_.reset();
    }
    CanAdapterSettings settings;
    settings.baudRateId = baudRateId;
    settings.hardwareId = hardwareId;
    // Only the parallel-port adapter is addressed by port and interrupt.
    if (hardwareId == kHardwareParallel) {
        settings.ioPort = ioPort;
        settings.interrupt = interrupt;
    }
    auto bus = std::make_unique<CCanOpenTarn>(kCanOwnNode, &settings);
    if (!bus->IsOpen()) {
        ShowWarningMessage(kBusErrorBox);
        return false;
    }
    canBus_ = std::move(bus);
    if (wasActive || makeActive) {
        activeBus_ = canBus_.get();
        RefreshBusDisplay();
    }
    return true;
}

void Main::ReleaseActiveBus(DataBus* bus) {
    TheWindowHandler().CloseAll();
    UncoupleAllDevices();
    if (activeBus_ == bus) activeBus_ = nullptr;
}

void Main::CloseTarnBus() {
    ModalScope modal;
    if (serialBus_ == nullptr) return;
    const bool wasActive = activeBus_ == serialBus_.get();
    if (wasActive) ReleaseActiveBus(serialBus_.get());
    serialBus_.reset();
    if (wasActive) RefreshBusDisplay();
}

void Main::CloseCanBus() {
    ModalScope modal;
    if (canBus_ == nullptr) return;
    const bool wasActive = activeBus_ == canBus_.get();
    if (wasActive) ReleaseActiveBus(canBus_.get());
    canBus_.reset();
    if (wasActive) RefreshBusDisplay();
}

void Main::UncoupleDevice(int address) {
    if (address < 0 || address >= kBusDeviceSlots) return;
    bool activeUncoupled = false;
    if (cachedBases_[address] != nullptr) {
        TheDataLogger().WriteEntry(std::string("Uncoupling Device ") + GetDeviceLabel(address));
        if (address == activeAddress_) {
            ClearActiveDeviceFields();
            TheWindowHandler().CloseAll();
            activeAddress_ = -1;
            activeBase_ = nullptr;
            SetArrowCursor();
            activeUncoupled = true;
        }
        cachedBases_[address].reset();
    }
    if (RecordAt(address) != nullptr) {
        activeBus_->RemoveDevice(address);
        RebuildDeviceList();
    }
    if (activeUncoupled) {
        RefreshActiveDeviceViews();
        UpdateMainTitle();
        SaveDockingLayout();
    }
}

void Main::UncoupleAllDevices() {
    for (int address = 0; address < kBusDeviceSlots; ++address) UncoupleDevice(address);
    UncouplingPending = false;
    SetArrowCursor();
}

void Main::SearchDevice() { FindDevices(false); }

void Main::ScanNet() { FindDevices(true); }

void Main::FindDevices(bool scan) {
    BusTransferGuard transfer;
    if (activeBus_ == nullptr) {
        ShowInfoMessage(kNoActiveBusInfo);
        return;
    }
    std::optional<ProgressMessage> progress;
    progress.emplace(scan ? kScanActivity : kSearchActivity, kSearchProgressMaximum);
    const bool found = scan ? activeBus_->CheckDevice(&*progress) : activeBus_->ConnectDevice(&*progress);
    if (!found) {
        progress.reset();
        scan ? ShowErrorMessage(kBusErrorBox) : ShowInfoMessage(kBusErrorBox);
    }
    RebuildDeviceList();
    if (!scan) RefreshBusDisplay();
    lastSearchWasScan_ = scan;
}

std::string Main::GetDeviceStateText(int address) {
    const char* section = "Device-States";
    std::string key = "NotActiv";
    if (RecordAt(address) != nullptr) {
        const uint16_t state = activeBus_->ReadDeviceState(address);
        if (state == kDeviceStateNoDevice) {
            key = "UnknownDevice";
        } else if (state == kDeviceStateReadFailed) {
            key = "BusError";
        } else if (const char* kindSection = StateSectionOfKind(activeBus_->GetDeviceKind(address))) {
            section = kindSection;
            key = platform::Format("SS_%02u", static_cast<unsigned>(state));
        } else {
            key = "UnknownDevice";
        }
    }
    char text[kMessageTextSize];
    return GetMessageText(text, section, key.c_str(), kMessageTextSize);
}
