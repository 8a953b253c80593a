#include "app/mainwindow/net_list.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main/main_display.h"
#include "app/main/main_object.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/main_window_display.h"
#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "devicewin/poll_timer.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"

namespace {

constexpr uint32_t kListPollMaximumMs = 100000;
constexpr uint32_t kListPollAt9600Ms = 3000;
constexpr uint32_t kListPollMinimumMs = 1000;
constexpr int kMissingWidgetMessage = 7;
constexpr char kAliasParameterName[] = "NAME";
constexpr char kSioMonitorWindow[] = "SioMonitor";
// Bytes read of a row's address cell, and of a text file's line.
constexpr size_t kAddressCellSize = 5;
constexpr int kTextLineSize = 512;

struct NetListWidgets {
    GwRef<> Frame;
    GwRef<> BusState;
    GwRef<> BusName;
    GwRef<> BusBaud;
    GwRef<> DeviceCount;
    GwRef<> Alias;
    GwRef<GwPicture> Icon;
    GwRef<> Device;
    GwRef<> Address;
    GwRef<GwMultiList> List;
};

NetListWidgets& State() {
    static NetListWidgets state;
    return state;
}

platform::ResetHook ResetState([] { State() = NetListWidgets(); });

// The kept widgets while the list's window exists, else null.
const NetListWidgets* Open() { return State().Frame != nullptr ? &State() : nullptr; }

DataBus* ActiveBus() {
    Main* main = GetMain();
    return main != nullptr ? main->GetActiveBus() : nullptr;
}

void RestartListTimer(GwMultiList* list) {
    PollTimer timer{kListPollMaximumMs, kListPollAt9600Ms, kListPollMinimumMs, list};
    timer.Restart();
}

std::string PictureOf(const std::string& typeText, int family) {
    if (family >= 5 && family <= 7) return kDefaultDevicePicture;
    std::string picture = typeText;
    for (char& c : picture) {
        if (c == '.') c = '_';
    }
    return picture;
}

}  // namespace

namespace netlist {

GwCore* Window() { return Open() != nullptr ? State().Frame : nullptr; }

void FillBusFields() {
    const NetListWidgets* w = Open();
    if (w == nullptr) return;
    DataBus* bus = ActiveBus();
    if (bus == nullptr) {
        w->BusName->set_text("");
        w->BusBaud->set_text("");
        w->DeviceCount->set_text("");
        return;
    }
    w->BusName->set_text(std::string(bus->GetName().View()));
    w->BusBaud->set_text(std::string(bus->GetSettingsText().View()));
    w->DeviceCount->set_text(platform::Format("%d", bus->GetDeviceCount()));
}

void FillDeviceList() {
    const NetListWidgets* w = Open();
    if (w == nullptr) return;
    w->List->clear();
    if (GwCore* main = MainFrame()) main->peek_event();
    if (Open() == nullptr) return;
    DataBus* bus = ActiveBus();
    if (bus == nullptr) return;
    w->List->stop_timer();
    for (int address = 0; address < kBusDeviceSlots; ++address) {
        const BusDeviceRecord* record = bus->GetDevice(address);
        if (record == nullptr) continue;
        w->List->add_row(platform::Format(
            "%d|%s|%s|%s", address, std::string(record->typeText.View()), std::string(record->alias.View()), ""));
    }
    w->DeviceCount->set_text(platform::Format("%d", bus->GetDeviceCount()));
    RestartListTimer(w->List);
}

void FillActiveDeviceFields() {
    const NetListWidgets* w = Open();
    if (w == nullptr) return;
    Main* main = GetMain();
    DataBus* bus = ActiveBus();
    const BusDeviceRecord* record = main != nullptr && bus != nullptr && main->GetActiveAddress() >= 0
                                        ? bus->GetDevice(main->GetActiveAddress())
                                        : nullptr;
    if (main == nullptr || main->ActiveParaBase() == nullptr || !main->HasOnlineDevice() || record == nullptr) {
        ClearActiveDeviceFields();
        return;
    }
    const std::string typeText(record->typeText.View());
    w->Address->set_text(platform::Format("%d", main->GetActiveAddress()));
    w->Device->set_text(typeText);
    w->Alias->set_text(std::string(record->alias.View()));
    w->Icon->set_bitmap(PictureOf(typeText, bus->GetDeviceKind(main->GetActiveAddress())));
}

void ClearActiveDeviceFields() {
    const NetListWidgets* w = Open();
    if (w == nullptr) return;
    w->Address->set_text("");
    w->Device->set_text("");
    w->Alias->set_text("");
    w->Icon->set_bitmap(kNoDevicePicture);
}

}  // namespace netlist

int NetList_show(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    GwCore* frame = widget->frame();
    NetListWidgets w;
    w.Frame = frame;
    w.BusState = frame->child("BusState");
    w.BusName = frame->child("BusStateName");
    w.BusBaud = frame->child("BusStateBaud");
    w.DeviceCount = frame->child("BusStateDeviceCount");
    w.Alias = frame->child("AD_Alias");
    w.Icon = dynamic_cast<GwPicture*>(frame->child("AD_Icon"));
    w.Device = frame->child("AD_Device");
    w.Address = frame->child("AD_Address");
    w.List = dynamic_cast<GwMultiList*>(frame->child("DeviceList"));
    if (w.BusState == nullptr || w.BusName == nullptr || w.BusBaud == nullptr || w.DeviceCount == nullptr ||
        w.Alias == nullptr || w.Icon == nullptr || w.Device == nullptr || w.Address == nullptr || w.List == nullptr) {
        State() = NetListWidgets();
        ShowErrorMessage(kMissingWidgetMessage);
        return 1;
    }
    State() = w;
    netlist::FillBusFields();
    netlist::FillDeviceList();
    netlist::FillActiveDeviceFields();
    if (ActiveBus() != nullptr && Open() != nullptr) State().List->start_timer(kNetListFirstRefreshMs);
    if (const WindowDimension* size = GetSavedWindowDimension(frame)) {
        if (GwCore* first = frame->first_control()) first->set_dimension({size->width, size->height});
    }
    return 1;
}

int CB_UpdateDeviceState(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    DataBus* bus = ActiveBus();
    const NetListWidgets* w = Open();
    if (main == nullptr || !main->CheckTimerIntegrity(widget, false) || bus == nullptr || w == nullptr) return 1;
    const int rows = w->List->row_count();
    w->DeviceCount->set_text(platform::Format("%d", rows));
    if (rows <= 0 || rows >= 32) return 1;
    w->List->stop_timer();
    for (int row = 0; row < rows; ++row) {
        const std::string cell = w->List->cell(row, 0, kAddressCellSize);
        if (cell.empty()) break;
        const int address = std::atoi(cell.c_str());
        if (address < 1 || address > 30) continue;
        // A drive that left the bus ends the refresh at its row.
        if (bus->GetDevice(address) == nullptr) break;
        w->List->set_cell(row, 3, main->GetDeviceStateText(address));
    }
    RestartListTimer(w->List);
    return 1;
}

int DeviceList_Default(GwCore* widget, GwEvent* event, GwUD) {
    auto* list = dynamic_cast<GwMultiList*>(widget);
    if (list == nullptr || list->row_count() == 0) return 1;
    if (list->first_selected() < 0) list->select(0);
    if (event == nullptr || (event->button & 1) == 0 || event->click_count != 2) return 1;
    const int row = list->first_selected();
    const std::string address = list->cell(row, 0);
    const std::string device = list->cell(row, 1);
    const std::string alias = list->cell(row, 2);
    Main* main = GetMain();
    if (main == nullptr || !main->SetActiveDevice(std::atoi(address.c_str()))) return 1;
    const NetListWidgets* w = Open();
    if (w == nullptr) return 1;
    w->Address->set_text(address);
    w->Device->set_text(device);
    w->Alias->set_text(alias);
    DataBus* bus = ActiveBus();
    w->Icon->set_bitmap(PictureOf(device, bus != nullptr ? bus->GetDeviceKind(std::atoi(address.c_str())) : 0));
    return 1;
}

int CB_SetAliasName(GwCore* widget, GwEvent*, GwUD) {
    const NetListWidgets* w = Open();
    if (widget == nullptr || w == nullptr) return 1;
    const std::string alias = widget->text();
    const std::string address = w->Address->text();
    int row = -1;
    for (int i = 0; i < w->List->row_count() && row < 0; ++i) {
        if (w->List->cell(i, 0) == address) row = i;
    }
    if (row < 0) return 1;
    w->List->set_cell(row, 2, alias);
    DataBus* bus = ActiveBus();
    if (BusDeviceRecord* record = bus != nullptr ? bus->GetDevice(std::atoi(address.c_str())) : nullptr) {
        record->alias = dstring(alias.c_str());
        record->hasAlias = !alias.empty();
    }
    Main* main = GetMain();
    ParaBase* base = main != nullptr ? main->ActiveParaBase() : nullptr;
    if (base != nullptr) {
        const char* name = base->GetParameterName(kAliasParameter);
        // A failed write leaves the alias in the program only.
        if (name != nullptr && std::string(name).find(kAliasParameterName) != std::string::npos) {
            base->WriteValueString(kAliasParameter, dstring(alias.c_str()));
        }
    }
    FillDeviceMenus();
    RefreshActiveDeviceViews();
    return 1;
}

int CB_CloseNetList(GwCore* widget, GwEvent*, GwUD) {
    if (widget != nullptr) TheWindowHandler().DeleteWindow(widget->frame());
    return 1;
}

int CB_Netlist_Key(GwCore* widget, GwEvent* event, GwUD) {
    if (widget != nullptr && event != nullptr && event->key == GwKEY_ESCAPE) widget->frame()->hide();
    return 1;
}

int CB_SioMonitor(GwCore*, GwEvent*, GwUD) {
    if (!IsSerialBusActive() || TheWindowHandler().FindByName(kSioMonitorWindow) != nullptr) return 1;
    GwCore* window = GwRcMgr::load(GetMainWindow(), kSioMonitorWindow, 1);
    if (window == nullptr) return 1;
    GwCore::set_global_cursor(GwCURSOR_WAIT);
    TheWindowHandler().Add(window, 0);
    window->show();
    return 1;
}

int CB_CreateTextViewer(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    GwCore* frame = widget->frame();
    GwCore* text = frame->child("Text");
    if (text == nullptr) return 1;
    GwCore::set_global_cursor(GwCURSOR_ARROW);
    std::FILE* file = std::fopen(platform::ToNativePath(frame->user_data().string()).c_str(), "rt");
    if (file == nullptr) return 1;
    std::string content;
    char line[kTextLineSize];
    while (std::fgets(line, sizeof line, file) != nullptr) content += line;
    text->set_text(content);
    std::fclose(file);
    return 1;
}
