#include "app/shell/startup_sequence.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/main/app_context.h"
#include "app/main/main_display.h"
#include "app/main/main_object.h"
#include "app/main/user_levels.h"
#include "app/mainwindow/docking_manager.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "app/shell/main_window_parts.h"
#include "app/shell/parameter_file_offline.h"
#include "app/shell/program_main.h"
#include "families/pos_prog_editor.h"
#include "parameters/values/dstring.h"
#include "platform/base/reset_hooks.h"
#include "platform/system/program_start.h"
#include "plchost/plc_editor_host.h"
#include "toolkit/base/gw_path.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/profile/gw_profile.h"

bool StartupDoneFlag = false;
bool StartupStepsFinished = false;
GwRef<> DeviceListWidget;

namespace {

constexpr int kErrorNoMainProfile = 11;
constexpr char kNetListName[] = "NetList";
constexpr char kDeviceListName[] = "TB_DeviceList";
constexpr char kOptions[] = "Options";
constexpr char kAutoStart[] = "AutoStart";
constexpr char kSerialBusName[] = "TarnBus";
constexpr char kCanBusName[] = "CANOpen";

platform::ResetHook ResetState([] {
    StartupDoneFlag = false;
    StartupStepsFinished = false;
    DeviceListWidget.reset();
});

GwCore* FindListedWindow(const char* name) {
    WindowHandler& handler = App().Windows();
    for (GwCore* w = handler.First(); w != nullptr; w = handler.Next()) {
        if (GwRcMgr::is_valid_child(w) && w->name() == name) return w;
    }
    return nullptr;
}

// Only a key that is present changes the flag: an absent one reads as 0,
// which would turn animations and device errors off unasked.
void ReadOptions(GwProfile& profile) {
    if (!profile.select_section(kOptions)) return;
    if (profile.key_exists("RelParaUpdateFrequence")) {
        PollRateFactor = profile.read_double("RelParaUpdateFrequence") * 0.01;
    }
    AnimationOff = false;
    if (profile.key_exists("Animation")) AnimationOff = profile.read_int("Animation") == 0;
    ShowDeviceErrorFlag = true;
    if (profile.key_exists("ShowDeviceError")) ShowDeviceErrorFlag = profile.read_int("ShowDeviceError") != 0;
}

uint32_t ReadHexPort(const char* digits) {
    unsigned value = 0;
    const std::string text = std::string("0x") + (digits != nullptr ? digits : "");
    if (std::sscanf(text.c_str(), "%x", &value) != 1) return 0;
    return value;
}

void OpenConfiguredBus(Main& main, GwProfile& profile) {
    if (!profile.select_section(kAutoStart) || std::strcmp(profile.read("InitBus"), "yes") != 0) return;
    if (!profile.select_section(kOptions) || !profile.key_exists("Bussystem")) return;
    const std::string bus = profile.read("Bussystem");
    if (!profile.select_section(bus.c_str())) return;
    if (bus == kSerialBusName) {
        const int baud = profile.read_int("Baudrate");
        const int port = profile.read_int("COM-Port");
        main.OpenTarnBus(baud, static_cast<unsigned>(port), true);
    } else if (bus == kCanBusName) {
        const int baudId = profile.read_int("BaudRateId");
        const int hardwareId = profile.read_int("HwId");
        const int interrupt = profile.read_int("IRQ");
        const uint32_t ioPort = ReadHexPort(profile.read("IoPort"));
        main.OpenCanBus(baudId, hardwareId, ioPort, static_cast<uint32_t>(interrupt), true);
    }
    profile.select_section(kAutoStart);
    const std::string scanner = profile.read("DeviceScanner");
    // A file named on the command line is opened instead of looking for devices.
    if (StartFileText().Length() == 0) {
        if (scanner == "SearchDevice") {
            main.SearchDevice();
        } else if (scanner == "ScanNet") {
            main.ScanNet();
        } else {
            return;
        }
    } else if (scanner != "SearchDevice" && scanner != "ScanNet") {
        return;
    }
    const int32_t first = main.FoundDevices()[0];
    if (first != -1) main.SetActiveDevice(first);
}

void SetTitleFromLabels(GwCore* frame) {
    const char* title = GetProfileText("MainWindow", "Title");
    if (title == nullptr || frame == nullptr) return;
    frame->set_title(title);
    KeepBaseTitle(frame->title());
}

void RunOnce(GwCore* frame) {
    SetTitleFromLabels(frame);
    Main* main = App().GetMain();
    GwProfile* profile = MainProfile();
    if (main != nullptr && profile != nullptr) {
        ReadOptions(*profile);
        OpenConfiguredBus(*main, *profile);
    } else {
        ShowErrorMessage(kErrorNoMainProfile);
    }
    if (main == nullptr || !main->HasOnlineDevice()) RefreshActiveDeviceViews();
    OpenNetListWindow();
    RefreshBusDisplay();
    if (main == nullptr || !main->HasOnlineDevice()) CloseNetListWindow();
    ShowUserLevel();
    StartupStepsFinished = true;
}

void OpenCommandLineFile(GwCore* frame) {
    const std::string path = StartFileText().Text();
    GwString extension;
    GwSplitpath(path.c_str(), nullptr, nullptr, nullptr, &extension);
    std::string upper = extension.c_str();
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "PRG") {
        const char* editor = GetPosProgEditor();
        if (frame != nullptr) frame->set_waiting(true);
        const std::string program = editor != nullptr ? editor : "";
        platform::StartProgram(program, {program, "\"" + path + "\""}, true);
        if (frame != nullptr && GwRcMgr::is_valid_child(frame)) frame->set_waiting(false);
    } else if (upper == "PLC") {
        OpenPlcEditor(path, false);
    } else {
        OpenParameterFileOffline(path.c_str(), false);
    }
}

}  // namespace

void OpenNetListWindow() {
    if (GwCore* listed = FindListedWindow(kNetListName)) {
        listed->show();
        return;
    }
    // The window list keeps children of the main window only.
    GwCore* window = GwRcMgr::load(App().GetMainWindow(), kNetListName, 1);
    if (window == nullptr) return;
    window->show();
    App().Windows().Add(window, 0);
}

void CloseNetListWindow() {
    if (GwCore* listed = FindListedWindow(kNetListName)) {
        listed->hide();
        App().Windows().DeleteWindow(listed);
    }
}

int CB_CallNetList(GwCore*, GwEvent*, GwUD) {
    OpenNetListWindow();
    return 1;
}

int CB_StartMacro(GwCore* widget, GwEvent* event, GwUD userData) {
    GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    if (frame != nullptr) frame->stop_timer();
    UserStateFlag = false;
    if (GwProfile* profile = MainProfile();
        profile != nullptr && profile->select_section(kOptions) && profile->key_exists("UserState")) {
        UserStateFlag = profile->read_int("UserState") != 0;
    }
    if (App().GetDockingManager() != nullptr) {
        ShowDockingFramesForStartup();
        DeviceListWidget = frame != nullptr ? frame->child(kDeviceListName) : nullptr;
    }
    RunStartupSequence(widget, event, userData);
    return 0;
}

int RunStartupSequence(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    if (!StartupDoneFlag) {
        StartupDoneFlag = true;
        RunOnce(frame);
    }
    if (StartFileText().Length() == 0) {
        if (frame != nullptr && GwRcMgr::is_valid_child(frame)) frame->set_focus();
        return 1;
    }
    OpenCommandLineFile(frame);
    return 1;
}
