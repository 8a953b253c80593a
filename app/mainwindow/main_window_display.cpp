#include "app/mainwindow/main_window_display.h"

#include <cmath>
#include <cstdlib>

#include "app/main/app_context.h"
#include "app/main/main_display.h"
#include "app/main/main_object.h"
#include "app/main/user_levels.h"
#include "app/mainwindow/device_menus.h"
#include "app/mainwindow/docking_manager.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/net_list.h"
#include "app/services/program_flags.h"
#include "app/services/user_level.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"

namespace {

// The state frames of every family, closed before the active device's own
// are opened.
constexpr const char* kStateFrames[] = {
    "MD_StateMachine", "DeviceState",         "Ruvex_PosMod_State", "Ruvex_Reference", "Ruvex_200_Reference",
    "Ruvex_IO_State",  "Ruvex_State",         "Marlo_Reference",    "Marlo_Set",       "Marlo_IO_State",
    "Marlo_State",     "Marlo_200_Reference", "Pesco_DriveSet",     "Pesco_State",     "Wenzo_State",
    "Pesco_Reference", "Pesco_IO_State",      "Wenzo_IO_State",     "Talin_IO_State",  "Zov_State",
    "Zov_Reference",   "Zov_Current",         "AutoMessage"};
constexpr const char* kDeviceTools[] = {
    "TD_PPrn", "TD_Edit", "TD_LdMot", "TD_Ctrl", "TD_Scope", "TK_ClAll", "TB_Fi2Dv", "TB_Dv2Fi", "TF_Part"};
constexpr const char* kGatedTools[] = {
    "TB_Dv2Fi", "TB_Fi2Dv", "TK_ClAll", "TD_Edit", "TD_PPrn", "CompareDeviceWithFile"};
constexpr const char* kBusTools[] = {"TK_SeDev", "TK_ScNet", "TK_Bdiag", "TK_SwLst"};
constexpr char kAutoMessageFrame[] = "AutoMessage";
constexpr int kPartialBaseLevel = 5;
constexpr int kResetLevel = 4;
constexpr int kScopeLevel = 2;
constexpr char kNewActiveDeviceLog[] = "NewActivDevice: ";

void SetEnabled(const char* name, bool on) {
    if (GwCore* widget = MainChild(name)) on ? widget->enable() : widget->disable();
}

void SetEnabled(GwCore* widget, bool on) {
    if (widget != nullptr) on ? widget->enable() : widget->disable();
}

void SetDeviceMenusEnabled(bool on) {
    const MainWindowWidgets& w = MainWidgets();
    for (GwCore* menu : {w.activeDeviceMenu, w.loadFromOther, w.storeToOther, w.chooseDevice, w.killDevice}) {
        SetEnabled(menu, on);
    }
}

void ShowStateFrame(const char* name, bool neverForced = false) {
    if (DockingManager* manager = App().GetDockingManager())
        manager->OpenDockingFrame(name, !neverForced && !UserStateFlag);
}

// Whether the version belongs to the 2.0x line (205 -> 20).
bool IsVersion20Line(float version) { return std::lround(version * 100.0f) / 10 == 20; }

void ShowFamilyFrames(int family, float version) {
    switch (family) {
        case 3:
            if (IsVersion20Line(version)) {
                ShowStateFrame("Marlo_200_Reference");
            } else {
                ShowStateFrame("Marlo_Reference");
                ShowStateFrame("Marlo_Set");
            }
            ShowStateFrame("Marlo_IO_State");
            ShowStateFrame("Marlo_State");
            break;
        case 4:
            ShowStateFrame("DeviceState");
            ShowStateFrame("Ruvex_IO_State");
            ShowStateFrame("Ruvex_State");
            if (IsVersion20Line(version)) {
                ShowStateFrame("Ruvex_200_Reference");
            } else {
                ShowStateFrame("Ruvex_PosMod_State");
                ShowStateFrame("Ruvex_Reference");
            }
            break;
        case 5:
        case 6:
        case 7:
            ShowStateFrame("Wenzo_State");
            ShowStateFrame("Pesco_Reference");
            ShowStateFrame(family == 5 ? "Pesco_IO_State" : family == 6 ? "Talin_IO_State" : "Wenzo_IO_State");
            ShowStateFrame(kAutoMessageFrame, true);
            ShowStateFrame("Pesco_DriveSet");
            break;
        case 8:
            ShowStateFrame("Zov_State");
            ShowStateFrame("Zov_Reference");
            ShowStateFrame("Zov_Current");
            break;
        default:
            break;
    }
}

// Installed by the program's start-up.
struct DisplayHooksState {
    void (*Reopener)() = nullptr;
    void (*PlcEditorFollower)() = nullptr;
};

DisplayHooksState& State() {
    static DisplayHooksState state;
    return state;
}

platform::ResetHook ResetState([] { State() = {}; });

class MainWindowDisplay : public MainDisplay {
public:
    void RefreshBusDisplay() override {
        UpdateBusDisplay();
        netlist::FillBusFields();
    }
    void RefreshActiveDeviceViews() override {
        UpdateActiveDeviceDisplay();
        netlist::FillActiveDeviceFields();
        if (State().PlcEditorFollower != nullptr) State().PlcEditorFollower();
    }
    void UpdateMainTitle() override { SetActiveDeviceTitle(); }
    void ClearActiveDeviceFields() override { netlist::ClearActiveDeviceFields(); }
    void FillDeviceMenus() override { RebuildDeviceMenus(); }
    void FillDeviceList() override { netlist::FillDeviceList(); }
    void UpdateLevelDependentTools() override { RefreshLevelDependentTools(); }
    void SaveDockingLayout() override {
        if (DockingManager* manager = App().GetDockingManager()) manager->SaveLayout();
    }
    void ReopenAutostartWindows() override {
        if (State().Reopener != nullptr) State().Reopener();
    }
    void ShowUserLevelText(const std::string& text) override {
        if (GwCore* label = MainChild("TB_UserLevel")) label->set_text(text);
    }
};

}  // namespace

void InstallMainWindowDisplay() {
    // Holds nothing of its own: one for the program's run.
    static MainWindowDisplay display;
    SetMainDisplay(&display);
}

void SetAutostartWindowsReopener(void (*reopen)()) { State().Reopener = reopen; }
void SetPlcEditorFollower(void (*follow)()) { State().PlcEditorFollower = follow; }

int ToolLevelGate(const char* toolName) {
    GwCore* tool = MainChild(toolName);
    return tool != nullptr ? std::atoi(tool->user_data().text()) : 0;
}

bool IsSerialBusActive() {
    Main* main = App().GetMain();
    DataBus* bus = main != nullptr ? main->GetActiveBus() : nullptr;
    return bus != nullptr && bus->GetBusType() == kSerialBusType;
}

void ResetDeviceTools() {
    SetEnabled("CompareDeviceWithFile", false);
    SetEnabled("Debug", false);
    if (DockingManager* manager = App().GetDockingManager()) {
        for (const char* frame : kStateFrames) manager->CloseDockingFrame(frame);
    }
    for (const char* tool : kDeviceTools) SetEnabled(tool, false);
}

void EnableDeviceTools() {
    const int level = GetUserLevel();
    for (const char* tool : kGatedTools) {
        SetEnabled(tool, false);
        SetEnabled(tool, level >= ToolLevelGate(tool));
    }
    const int controlGate = ToolLevelGate("TD_Ctrl");
    const bool serial = IsSerialBusActive();
    SetEnabled("Debug", serial);
    SetEnabled("TF_Part", level >= kPartialBaseLevel);
    Main* main = App().GetMain();
    DataBus* bus = main != nullptr ? main->GetActiveBus() : nullptr;
    if (bus == nullptr) return;
    const int family = bus->GetDeviceKind(main->GetActiveAddress());
    if (family >= 2 && family <= 10) SetEnabled("TD_Scope", true);
    if (family >= 3 && family <= 7) SetEnabled("TD_Ctrl", serial && level >= controlGate);
    if (family == 8) SetEnabled("TD_Ctrl", false);
    ShowFamilyFrames(family, main->GetActiveDeviceVersion());
}

void SetActiveDeviceTitle() {
    Main* main = App().GetMain();
    GwCore* frame = MainFrame();
    if (main == nullptr || frame == nullptr || !main->HasOnlineDevice()) return;
    const std::string title =
        GetBaseTitle() + " - " + main->GetActiveDeviceLabel() + " - [" + main->ReadActiveDeviceInfoText() + "]";
    frame->set_title(title);
}

void UpdateActiveDeviceDisplay() {
    GwCore* frame = MainFrame();
    if (frame == nullptr) return;
    ResetDeviceTools();
    Main* main = App().GetMain();
    if (main == nullptr || !main->HasOnlineDevice()) {
        SetDeviceMenusEnabled(false);
        frame->set_title(GetBaseTitle());
        return;
    }
    EnableDeviceTools();
    if (auto* list = dynamic_cast<GwCombo*>(MainChild("TB_DeviceList"))) {
        const auto& found = main->FoundDevices();
        for (size_t i = 0; i < found.size() && found[i] != -1; ++i) {
            if (found[i] == main->GetActiveAddress()) list->select_item(static_cast<int>(i));
        }
    }
    SetDeviceMenusEnabled(true);
    SetActiveDeviceTitle();
    TheDataLogger().WriteEntry(kNewActiveDeviceLog + frame->title());
}

void UpdateBusDisplay() {
    Main* main = App().GetMain();
    DataBus* bus = main != nullptr ? main->GetActiveBus() : nullptr;
    if (GwCore* state = MainWidgets().busState) {
        state->set_text(bus != nullptr
                            ? std::string(bus->GetName().View()) + " : " + std::string(bus->GetSettingsText().View())
                            : std::string());
    }
    for (const char* tool : kBusTools) SetEnabled(tool, bus != nullptr);
}

void RefreshLevelDependentTools() {
    if (MainFrame() == nullptr) return;
    const int level = GetUserLevel();
    if (Main* main = App().GetMain()) {
        ResetDeviceTools();
        if (main->HasOnlineDevice()) EnableDeviceTools();
    }
    SetEnabled("TD_Ctrl", IsHandModeEnabled() && IsSerialBusActive());
    SetEnabled("MD_Reset", level >= kResetLevel);
    SetEnabled("TD_Scope", level >= kScopeLevel);
}
