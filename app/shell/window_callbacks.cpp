#include "app/shell/window_callbacks.h"

#include <memory>
#include <string>
#include <vector>

#include "app/main/editor_context.h"
#include "app/main/main_object.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/main_window_display.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/services_hooks.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "app/shell/parameter_file_offline.h"
#include "bus/base/basic_bus.h"
#include "bus/base/device_parameters.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window.h"
#include "families/ruvex_side_windows.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_cursor.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/menus/gw_menu_item.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr int kInfoNoDevice = 6;
constexpr int kErrorWindowMissing = 7;
constexpr int kErrorDeviceAccess = 5;
constexpr int kErrorNotPosTabDevice = 68;
constexpr int kPosTabDeviceKind = 4;
constexpr int kFrameMinimised = 2;
constexpr char kSetupMainSuffix[] = "_SetupMain";
constexpr char kUserDataOnline[] = "online";
constexpr char kUserDataOffline[] = "offline";
constexpr char kParaFileFilter[] = "*.??D";
constexpr char kPosTabFilterFormat[] = "%s|*.00D|%s|*|";
constexpr char kAutostartKey[] = "autostart";
constexpr char kWindowItemPrefix[] = "M_";
constexpr char kCloseAllItem[] = "M_CloseAll";

// Levels of the "Extras" menu.
constexpr int kFirmwareLevel = 4;
constexpr int kDeveloperLevel = 6;
constexpr int kPartialBaseLevel = 4;
constexpr int kSioMonitorLevel = 5;
constexpr int kFamilyWithoutFirmwareLoad = 8;
constexpr int kFirstLoadableFamily = 2;
constexpr int kLastLoadableFamily = 7;

struct WindowCallbackState {
    std::string LastPosTabPath;
    std::vector<GwRef<>> WindowItems;
};

WindowCallbackState& State() {
    static WindowCallbackState state;
    return state;
}

platform::ResetHook ResetState([] { State() = {}; });

// Setup windows are per family: the thousands of the type number, the small
// families 1 and 2 sharing family 5's.
int SetupFamily(ParaBase& base) {
    uint16_t type = 0;
    base.GetValueU16(kDeviceCodeParameter, &type);
    const int family = type / kDeviceClassDivisor;
    return family == 1 || family == 2 ? 5 : family;
}

std::string LabelText(const char* section, const char* key) {
    const char* text = GetProfileText(section, key);
    return text != nullptr ? text : "";
}

void Show(GwCore* widget, bool on) {
    if (widget != nullptr) on ? widget->show() : widget->hide();
}

void Enable(GwCore* widget, bool on) {
    if (widget != nullptr) on ? widget->enable() : widget->disable();
}

// Lists the window and shows it.
void ListAndShow(GwCore* window, bool online) {
    TheWindowHandler().Add(window, online ? 1 : 0);
    window->show();
}

// Whether the main profile marks the window of section `section` for
// reopening.
bool MarkedForAutostart(const char* section) {
    GwProfile* profile = MainProfile();
    return profile != nullptr && profile->section_exists(section) && profile->select_section(section) &&
           profile->read_int(kAutostartKey, 0) != 0;
}

bool MainEntryEnabled(const char* name) {
    GwCore* entry = MainChild(name);
    return entry != nullptr && entry->is_enabled();
}

// Chosen item of the window menu: raises its window, restored first when it
// was minimised.
int RaiseListedWindow(GwCore* window) {
    if (window == nullptr || TheWindowHandler().IndexOf(window) < 0) return 1;
    if (window->frame_state() == kFrameMinimised) window->restore();
    window->raise();
    TheWindowHandler().Activate(window);
    return 1;
}

void DestroyWindowItems() {
    for (GwCore* item : State().WindowItems) {
        if (item != nullptr) item->destroy();
    }
    State().WindowItems.clear();
}

// "offline" copies the active base into the program's own; false (after
// info 6) without an active device.
bool PrepareOfflineCopy() {
    ParaBase* active = Main::ActiveBase();
    Main* main = GetMain();
    if (active == nullptr || main == nullptr) {
        ShowInfoMessage(kInfoNoDevice);
        return false;
    }
    main->OwnParaBase().CopyBase(*active);
    return true;
}

}  // namespace

GwCore* OpenDeviceWindow(const char* name) {
    ParaBase* active = Main::ActiveBase();
    TheParameterEditorContext().Base = active;
    if (active == nullptr) {
        ShowInfoMessage(kInfoNoDevice);
        return nullptr;
    }
    TheWindowHandler().CloseByName(name);
    GwCore* window = GwRcMgr::load(GetMainWindow(), name, 1);
    if (window == nullptr) {
        GwCore::set_global_cursor(GwCURSOR_ARROW);
        ShowErrorMessage(kErrorWindowMissing);
        return nullptr;
    }
    GwCore::set_global_cursor(GwCURSOR_WAIT);
    return window;
}

int CB_CallParameterEditor(GwCore*, GwEvent*, GwUD userData) {
    const std::string mode = userData.string();
    if (mode == kUserDataOnline) {
        TheParameterEditorContext().Mode = kEditorModeOnline;
    } else if (mode == kUserDataOffline) {
        if (!PrepareOfflineCopy()) return 1;
        TheParameterEditorContext().Mode = kEditorModeOffline;
    } else {
        return 1;
    }
    GwCore* editor = OpenDeviceWindow(kParameterEditorWindow);
    if (editor == nullptr) return 1;
    editor->set_title(TitleUpToBracket(editor->title()));
    editor->set_user_data(GwUD(mode));
    editor->set_document_option(1);
    ListAndShow(editor, true);
    return 1;
}

int OpenSetupMainOnline() {
    ParaBase* active = Main::ActiveBase();
    if (active == nullptr) {
        ShowInfoMessage(kInfoNoDevice);
        return 0;
    }
    const std::string name = std::to_string(SetupFamily(*active)) + kSetupMainSuffix;
    if (GwCore* setup = LoadDeviceWindowForVersion(GetMainWindow(), name, active)) {
        if (TheWindowHandler().IndexOf(setup) >= 0) {
            TheWindowHandler().Activate(setup);
            return 1;
        }
        TheParameterEditorContext().Base = active;
        setup->set_user_data(GwUD(kUserDataOnline));
        setup->set_document_option(1);
        ListAndShow(setup, true);
        return 1;
    }
    TheWindowHandler().CloseByName(kParameterEditorWindow);
    GwCore* editor = OpenDeviceWindow(kParameterEditorWindow);
    if (editor == nullptr) return 0;
    editor->set_title(TitleUpToBracket(editor->title()));
    editor->set_document_option(1);
    editor->set_user_data(GwUD(kUserDataOnline));
    TheParameterEditorContext().Mode = kEditorModeOnline;
    ListAndShow(editor, true);
    return 1;
}

int CB_Call_RunModeEditor(GwCore*, GwEvent*, GwUD) {
    OpenSetupMainOnline();
    return 1;
}

int CB_OpenParameterFile(GwCore* widget, GwEvent*, GwUD userData) {
    GwFileSelector chooser(widget != nullptr ? widget->frame() : GetMainWindow(), "ParameterFile");
    chooser.set_title(LabelText(kTitlesSection, "ChooseParaBaseFile"));
    chooser.set_filter(kParaFileFilter);
    chooser.set_mode(GwFILESELECTOR_OPEN);
    const std::string& last = LastParameterFileDirectory();
    chooser.set_directory(last.empty() ? GetUserDataDir() : last);
    if (!chooser.go() || chooser.selection().empty()) return 1;
    OpenParameterFileOffline(chooser.selection().c_str(), !userData.string().empty());
    return 1;
}

int CB_CallSioMonitor(GwCore*, GwEvent*, GwUD) {
    Main* main = GetMain();
    if (main == nullptr || main->GetActiveBus() == nullptr) return 1;
    if (TheWindowHandler().FindByName(kBusMonitorWindow) != nullptr) return 1;
    GwCore* monitor = GwRcMgr::load(GetMainWindow(), kBusMonitorWindow, 1);
    if (monitor == nullptr) {
        ShowErrorMessage(kErrorWindowMissing);
        return 1;
    }
    GwCore::set_global_cursor(GwCURSOR_WAIT);
    ListAndShow(monitor, false);
    return 1;
}

int CB_CallDebugWatch(GwCore*, GwEvent*, GwUD) {
    if (TheWindowHandler().FindByName(kDebugWatchWindow) != nullptr) return 1;
    GwCore* watch = OpenDeviceWindow(kDebugWatchWindow);
    if (watch == nullptr) return 0;
    ListAndShow(watch, Main::OnlineDevicePresent());
    return 1;
}

int CB_CallDigitalScope(GwCore*, GwEvent*, GwUD) {
    if (GwCore* scope = TheWindowHandler().FindByName(kDigitalScopeWindow)) {
        TheWindowHandler().Activate(scope);
        return 1;
    }
    GwCore* scope = OpenDeviceWindow(kDigitalScopeWindow);
    if (scope == nullptr) return 0;
    ListAndShow(scope, Main::OnlineDevicePresent());
    return 1;
}

int OpenPosTabEditor() {
    GwCore* listed = TheWindowHandler().FindByName(kPosTabEditorWindow);
    if (listed != nullptr && TheWindowHandler().IsOnlineWindow(listed)) return 1;
    GwCore* editor = OpenDeviceWindow(kPosTabEditorWindow);
    if (editor == nullptr) return 0;
    editor->set_title(TitleUpToBracket(editor->title()));
    editor->set_document_option(1);
    ListAndShow(editor, Main::OnlineDevicePresent());
    return 1;
}

int CallPosTabEditor(GwCore*, GwEvent*, GwUD) {
    OpenPosTabEditor();
    return 1;
}

std::string TitleForFile(const std::string& title, const std::string& path) {
    const size_t bracket = title.find('[');
    std::string head = title.substr(0, bracket);
    if (bracket != std::string::npos && !head.empty()) head.pop_back();
    return head + " [" + path + "]";
}

int CB_4_CallPosTabFileEditor(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || context->Base == nullptr) return 1;
    if (context->Base->IsOnline()) return CallPosTabEditor(widget, event, userData);
    const std::string path = FileSetPathOf(*context->Base, "01d");
    TheWindowHandler().CloseByName(kPosTabEditorWindow);
    GwCore* editor = GwRcMgr::load(widget, kPosTabEditorWindow, 1);
    if (editor == nullptr) {
        GwCore::set_global_cursor(GwCURSOR_ARROW);
        ShowErrorMessage(kErrorWindowMissing);
        return 1;
    }
    GwWaitObject wait;
    editor->set_user_data(GwUD(path));
    editor->set_modality(1);
    editor->set_title(TitleForFile(editor->title(), path));
    ListAndShow(editor, false);
    return 1;
}

int CB_CallPosTabFileEditor(GwCore* widget, GwEvent*, GwUD) {
    const std::string files = LabelText(kTitlesSection, "ParaBaseFiles");
    const std::string all = LabelText(kTitlesSection, "AllFiles");
    if (State().LastPosTabPath.empty()) State().LastPosTabPath = GetUserDataDir();
    GwFileSelector chooser(widget != nullptr ? widget->frame() : GetMainWindow(), "PosTabFile");
    chooser.set_title(LabelText(kTitlesSection, "ChooseParaBaseFile"));
    chooser.set_filter(platform::Format(kPosTabFilterFormat, files, all));
    chooser.set_mode(GwFILESELECTOR_OPEN);
    chooser.set_directory(State().LastPosTabPath);
    if (!chooser.go() || chooser.selection().empty()) return 0;
    const std::string path = chooser.selection();
    State().LastPosTabPath = path;

    ParaBase file;
    file.InitFile(path.c_str());
    if (file.ReadFileBase() != 0) {
        ShowErrorMessageFor(kErrorDeviceAccess, &file);
        return 1;
    }
    if (file.GetDeviceKind() != kPosTabDeviceKind) {
        ShowErrorMessage(kErrorNotPosTabDevice);
        return 1;
    }
    TheWindowHandler().CloseByName(kPosTabEditorWindow);
    GwCore* editor = GwRcMgr::load(GetMainWindow(), kPosTabEditorWindow, 1);
    if (editor == nullptr) {
        ShowErrorMessage(kErrorWindowMissing);
        return 1;
    }
    editor->set_user_data(GwUD(path));
    editor->set_document_option(1);
    editor->set_title(TitleUpToBracket(editor->title()) + " [" + path + "]");
    ListAndShow(editor, false);
    return 1;
}

int CB_ShowProgramInfo(GwCore*, GwEvent*, GwUD) {
    GwCore* info = GwRcMgr::load(GetMainWindow(), kInformationWindow, 1);
    if (info == nullptr) {
        ShowErrorMessage(kErrorWindowMissing);
        return 1;
    }
    info->show();
    return 1;
}

int CB_ShowInformationWindow(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    if (frame == nullptr) return 1;
    for (const char* key : {"Title", "Version"}) {
        GwCore* child = frame->child(key);
        const char* text = GetProfileText("MainWindow", key);
        if (child != nullptr && text != nullptr && text[0] != '\0') child->set_text(text);
    }
    return 1;
}

int CB_IdentUser(GwCore* widget, GwEvent*, GwUD) {
    GwCore* parent = widget != nullptr && widget->frame() != nullptr ? widget->frame() : GetMainWindow();
    GwCore* ident = GwRcMgr::load(parent, kIdentUserWindow, 1);
    if (ident == nullptr) return 0;
    ident->show();
    return 1;
}

int CB_ShowExtras(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    Main* main = GetMain();
    const int level = GetUserLevel();
    const bool online = Main::OnlineDevicePresent();
    const int family = main != nullptr ? main->GetActiveDeviceFamily() : 0;
    GwCore* firmware = widget->child("LoadFirmware");
    GwCore* debug = widget->child("Debug");
    GwCore* runModes = widget->child("RunModeDefaults");
    GwCore* paraEdit = widget->child("ParaEdit");
    GwCore* partialBase = MainChild("MF_Part");
    GwCore* sioMonitor = widget->child("SioMonitor");

    Show(firmware, family != kFamilyWithoutFirmwareLoad && level >= kFirmwareLevel);
    const bool developer = level == kDeveloperLevel && online;
    Show(debug, developer);
    Show(runModes, developer);
    Show(paraEdit, online);
    Show(partialBase, level >= kPartialBaseLevel);

    Enable(sioMonitor, false);
    DataBus* bus = main != nullptr ? main->GetActiveBus() : nullptr;
    if (bus == nullptr || bus->GetBusType() != kSerialBusType) {
        Enable(firmware, false);
        return 1;
    }
    Enable(sioMonitor, level >= kSioMonitorLevel);
    // Enabled again on the serial bus, so a menu that was opened without it
    // does not keep the entry disabled for the rest of the run.
    Enable(firmware, !online || (family >= kFirstLoadableFamily && family <= kLastLoadableFamily));
    return 1;
}

int CB_SetWindowList(GwCore* widget, GwEvent*, GwUD) {
    DestroyWindowItems();
    GwCore* menu = widget != nullptr ? widget : MainChild("M_Window");
    if (menu == nullptr) return 1;
    GwCore* closeAll = menu->child(kCloseAllItem);
    WindowHandler& list = TheWindowHandler();
    std::vector<GwCore*> windows;
    for (GwCore* window = list.First(); window != nullptr; window = list.Next()) windows.push_back(window);
    if (windows.empty()) {
        Enable(closeAll, false);
        return 1;
    }
    Enable(closeAll, true);
    for (GwCore* window : windows) {
        auto* item = new GwMenuItem(kWindowItemPrefix + window->name(), menu);
        if (!window->title().empty()) item->set_text(window->title());
        item->bind(GwCB_ACTIVATE, [listed = GwRef<>(window)](GwCore*, GwEvent*) { return RaiseListedWindow(listed); });

        item->show();
        State().WindowItems.push_back(item);
    }
    return 1;
}

int CB_CloseAllWindows(GwCore*, GwEvent*, GwUD) {
    TheWindowHandler().CloseAllOnExit();
    return 1;
}

int CallChildWindow(GwCore* widget, GwEvent*, GwUD userData) {
    const std::string name = userData.string();
    if (name.empty()) return 1;
    TheWindowHandler().CloseByName(name.c_str());
    GwCore* parent = widget != nullptr && widget->frame() != nullptr ? widget->frame() : GetMainWindow();
    GwCore* window = GwRcMgr::load(parent, name.c_str(), 1);
    if (window == nullptr) {
        ShowErrorMessage(kErrorWindowMissing);
        return 1;
    }
    ListAndShow(window, true);
    return 1;
}

void InstallAutostartWindowsReopener() {
    SetAutostartWindowsReopener([] { ReopenAutostartWindowsNow(); });
}

int ReopenAutostartWindowsNow() {
    if (MainEntryEnabled("MK_Bdiag") && MarkedForAutostart("Pos_SioMonitor")) {
        CB_CallSioMonitor(nullptr, nullptr, GwUD());
    }
    if (MainEntryEnabled("Debug") && MarkedForAutostart("Pos_DebugDevice")) {
        CB_CallDebugWatch(nullptr, nullptr, GwUD());
    }
    if (MainEntryEnabled("MD_Scope") && MarkedForAutostart("Pos_DigitalScope")) {
        CB_CallDigitalScope(nullptr, nullptr, GwUD());
    }
    if (MainEntryEnabled("MD_Edit")) OpenSetupMainOnline();
    if (MainEntryEnabled("AllPOS_PosTabEditor") && MarkedForAutostart("Pos_PosTabEditor")) OpenPosTabEditor();
    return 1;
}
