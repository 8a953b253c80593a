#include "app/shell/program_exit.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/main/main_display.h"
#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "app/shell/main_window_parts.h"
#include "bus/base/basic_bus.h"
#include "bus/serial/tarn_bus.h"
#include "motor/datalogger/data_logger.h"
#include "platform/system/system_error.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr char kExitWindowName[] = "ExitTorvel";
constexpr char kPlacementSection[] = "Pos_MainWindow";

void SetLabel(GwCore* window, const char* child, const char* key) {
    const char* text = GetProfileText("CloseWindow", key);
    GwCore* widget = window->child(child);
    if (text != nullptr && widget != nullptr) widget->set_text(text);
}

void SavePlacement(GwProfile& profile, GwCore* frame) {
    if (frame == nullptr) return;
    profile.select_section(kPlacementSection, true);
    const GwPosition position = frame->position();
    profile.write_position("Pos", position.x, position.y);
    if (GwCore* first = frame->first_control()) {
        const GwDimension size = first->dimension();
        profile.write_dimension("Dim", size.width, size.height);
    }
}

bool OptionIsYes(GwProfile& profile, const char* key) {
    return profile.select_section("Options") && std::strcmp(profile.read(key), "yes") == 0;
}

void SaveBusSettings(GwProfile& profile, Main& main) {
    if (!OptionIsYes(profile, "SaveBusConf") || main.GetSerialBus() == nullptr) return;
    profile.select_section("TarnBus", true);
    char baud[16];
    std::snprintf(baud, sizeof baud, "%lu", static_cast<unsigned long>(main.GetSerialBus()->GetBaudRate()));
    profile.write("Baudrate", baud);
}

void SaveAliases(GwProfile& profile, Main& main) {
    if (!OptionIsYes(profile, "SaveAliasName")) return;
    profile.select_section("AliasNames", true);
    DataBus* bus = main.GetActiveBus();
    if (bus == nullptr) return;
    for (int address = 0; address < kBusDeviceSlots; ++address) {
        const BusDeviceRecord* record = bus->GetDevice(address);
        if (record == nullptr) continue;
        char key[16];
        std::snprintf(key, sizeof key, "Device%02u", static_cast<unsigned>(address));
        profile.write(key, record->alias.Text());
    }
}

// The layout, aliases and bus settings would be lost unnoticed: the log
// names the file and the reason.
void SaveMainProfile(GwProfile& profile) {
    errno = 0;
    if (profile.save()) return;
    const int error = errno;
    TheDataLogger().WriteEntry(
        platform::ErrorWithCause(std::string("Exit: cannot save \"") + profile.path() + "\".", error));
}

// The exit itself; `confirmation` is the dialogue that asked, if any.
void ExitProgram(GwCore* confirmation) {
    GwCore* mainFrame = GetMainWindow();
    Main* main = GetMain();
    GwProfile* profile = MainProfile();
    if (profile != nullptr) SavePlacement(*profile, mainFrame);
    if (confirmation != nullptr) confirmation->hide();
    TheWindowHandler().CloseAllOnExit();
    if (profile != nullptr && main != nullptr) {
        SaveBusSettings(*profile, *main);
        SaveAliases(*profile, *main);
        SaveDockingLayout();
        SaveMainProfile(*profile);
    }
    if (mainFrame != nullptr && GwRcMgr::is_valid_child(mainFrame)) {
        mainFrame->stop_timer();
        mainFrame->peek_event();
    }
    DestroyDeviceStateMessagesOnExit();
    if (mainFrame != nullptr && GwRcMgr::is_valid_child(mainFrame)) mainFrame->hide();
    DestroyMainObject();
}

}  // namespace

int CB_CanExitTorvel(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    if (frame != nullptr && frame->frame_state() == GwSTATE_MINIMIZED) frame->restore();
    GwCore* window = GwRcMgr::load(frame, kExitWindowName, 1);
    if (window != nullptr) {
        window->go();
        if (GwRcMgr::is_valid_child(window)) window->destroy();
    }
    // Still there after the dialogue: the user cancelled, the frame stays.
    return GetMain() == nullptr ? 1 : 0;
}

int CB_ShowCloseTorvelText(GwCore* widget, GwEvent*, GwUD) {
    GwCore* window = widget != nullptr ? widget->frame() : nullptr;
    if (window == nullptr) return 1;
    SetLabel(window, "Text", "Text");
    SetLabel(window, "Button", "Button");
    return 1;
}

int CB_ExitTorvel(GwCore* widget, GwEvent*, GwUD) {
    ExitProgram(widget != nullptr ? widget->frame() : nullptr);
    return 1;
}

void ExitOnSignal(int signal) {
    if (GetMain() == nullptr) return;
    const char* name = strsignal(signal);
    TheDataLogger().WriteEntry("Exit: ended by signal " + std::to_string(signal) + " (" +
                               (name != nullptr ? name : "unknown") + ")");
    ExitProgram(nullptr);
}
