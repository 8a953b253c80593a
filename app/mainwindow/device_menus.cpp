#include "app/mainwindow/device_menus.h"

#include <array>

#include "app/main/main_object.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/main_window_display.h"
#include "app/services/activity_message.h"
#include "app/services/message_box.h"
#include "app/services/window_handler.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/menus/gw_menu_item.h"

namespace {

constexpr int kReadingDataSetMessage = 3;
constexpr int kWritingDataSetMessage = 2;
constexpr int kDeviceAccessMessage = 5;

enum DeviceMenu { kLoadFrom, kStoreTo, kChoose, kKill, kDeviceMenuCount };

// The items of each menu by bus address, owned here until the next rebuild.
using ItemTable = std::array<GwRef<GwMenuItem>, kBusDeviceSlots>;
struct DeviceMenuState {
    std::array<ItemTable, kDeviceMenuCount> Items{};
};

DeviceMenuState& State() {
    static DeviceMenuState state;
    return state;
}

platform::ResetHook ResetState([] { State() = {}; });

bool DeviceActive(Main& main) { return main.GetActiveAddress() >= 0 && main.ActiveParaBase() != nullptr; }

BusDeviceRecord* DeviceAt(const Main& main, int address) {
    DataBus* bus = main.GetActiveBus();
    return bus != nullptr ? bus->GetDevice(address) : nullptr;
}

void ActivateFirstFound(Main& main) {
    if (main.FoundDevices()[0] != -1) main.SetActiveDevice(main.FoundDevices()[0]);
}

void SearchAgain(bool scan) {
    Main* main = GetMain();
    if (main == nullptr) return;
    const bool online = DeviceActive(*main) && (!scan || TheWindowHandler().HasOnlineWindow());
    if (online && !ShowQuestionMessage(kEndOnlineWorkQuestion)) return;
    main->UncoupleAllDevices();
    scan ? main->ScanNet() : main->SearchDevice();
    ActivateFirstFound(*main);
}

// Reads the data set of `source`'s drive and writes it into `target`'s,
// each under its activity message. A failed read is shown as error 5 and
// ends the copy: what it left in the table is no data set to give a drive.
// A failed write is shown by `showWriteFailure` with `target`'s message.
void CopyDataSet(ParaBase& source, ParaBase& target, bool (*showWriteFailure)(int, ParaBase*, GwCore*)) {
    int rc = 0;
    {
        ActivMessage reading(kReadingDataSetMessage);
        rc = source.ReadBusData(false);
    }
    if (rc != 0) {
        ShowErrorMessageFor(kDeviceAccessMessage, &source);
        return;
    }
    {
        ActivMessage writing(kWritingDataSetMessage);
        rc = target.WriteBusData(source);
    }
    if (rc != 0) showWriteFailure(kDeviceAccessMessage, &target, nullptr);
}

GwCore* MenuOf(DeviceMenu menu) {
    const MainWindowWidgets& w = MainWidgets();
    const GwRef<>* const menus[] = {&w.loadFromOther, &w.storeToOther, &w.chooseDevice, &w.killDevice};
    return *menus[menu];
}

}  // namespace

int CB_SearchDevice(GwCore*, GwEvent*, GwUD) {
    SearchAgain(false);
    return 1;
}

int CB_ScanNetwork(GwCore*, GwEvent*, GwUD) {
    SearchAgain(true);
    return 1;
}

int CB_SetActiveDevice(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    auto* list = dynamic_cast<GwCombo*>(widget);
    if (main == nullptr || list == nullptr) return 1;
    const int index = list->selected_index();
    if (index < 0 || index >= kBusDeviceSlots || main->FoundDevices()[index] == -1) return 1;
    main->SetActiveDevice(main->FoundDevices()[index]);
    return 1;
}

int CB_KillAllDevices(GwCore*, GwEvent*, GwUD) {
    Main* main = GetMain();
    if (main == nullptr) return 1;
    if (!DeviceActive(*main) || !TheWindowHandler().HasOnlineWindow() || ShowQuestionMessage(kEndOnlineWorkQuestion)) {
        main->UncoupleAllDevices();
    }
    return 1;
}

int CB_LoadFromOtherDevice(GwCore*, GwEvent*, GwUD address) {
    Main* main = GetMain();
    ParaBase* other = main != nullptr ? main->GetCachedParaBase(static_cast<int>(address.integer())) : nullptr;
    ParaBase* active = main != nullptr ? main->ActiveParaBase() : nullptr;
    if (other == nullptr || active == nullptr) return 1;
    TheWindowHandler().CloseDeviceWindows();
    CopyDataSet(*other, *active, ShowWarningMessageFor);
    return 1;
}

int CB_StoreToOtherDevice(GwCore*, GwEvent*, GwUD address) {
    Main* main = GetMain();
    ParaBase* other = main != nullptr ? main->GetCachedParaBase(static_cast<int>(address.integer())) : nullptr;
    ParaBase* active = main != nullptr ? main->ActiveParaBase() : nullptr;
    if (other == nullptr || active == nullptr) return 1;
    CopyDataSet(*active, *other, ShowErrorMessageFor);
    return 1;
}

int CB_ChooseDevice(GwCore*, GwEvent*, GwUD address) {
    Main* main = GetMain();
    const int n = static_cast<int>(address.integer());
    if (main != nullptr && DeviceAt(*main, n) != nullptr) main->SetActiveDevice(n);
    return 1;
}

int CB_KillDevice(GwCore*, GwEvent*, GwUD address) {
    Main* main = GetMain();
    const int n = static_cast<int>(address.integer());
    if (main == nullptr || DeviceAt(*main, n) == nullptr) return 1;
    if (n == main->GetActiveAddress() && TheWindowHandler().HasOnlineWindow() &&
        !ShowQuestionMessage(kEndOnlineWorkQuestion)) {
        return 1;
    }
    main->UncoupleDevice(n);
    return 1;
}

void RebuildDeviceMenus() {
    for (ItemTable& table : State().Items) {
        for (GwRef<GwMenuItem>& item : table) {
            if (item != nullptr) item->destroy();
            item.reset();
        }
    }
    auto* list = dynamic_cast<GwCombo*>(MainChild("TB_DeviceList"));
    if (list != nullptr) list->delete_all();
    Main* main = GetMain();
    if (main == nullptr || main->GetActiveBus() == nullptr) return;
    const GwCallback callbacks[] = {CB_LoadFromOtherDevice, CB_StoreToOtherDevice, CB_ChooseDevice, CB_KillDevice};
    for (int address = 0; address < kBusDeviceSlots; ++address) {
        if (DeviceAt(*main, address) == nullptr) continue;
        const std::string name = platform::Format("%02d", address);
        const std::string label = main->GetDeviceLabel(address);
        const bool hasBase = main->GetCachedParaBase(address) != nullptr;
        for (int menu = 0; menu < kDeviceMenuCount; ++menu) {
            GwCore* parent = MenuOf(static_cast<DeviceMenu>(menu));
            if (parent == nullptr) continue;
            auto* item = new GwMenuItem(name, parent, label);
            item->set_activate_callback(callbacks[menu], GwUD(address));
            item->show();
            if (!hasBase && (menu == kLoadFrom || menu == kStoreTo)) item->disable();
            State().Items[menu][address] = item;
        }
        if (list != nullptr) list->append(label);
    }
}
