#include "app/shell/help.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "devicewin/device_context.h"
#include "families/setup_context.h"
#include "parameters/values/dstring.h"
#include "platform/files/paths.h"
#include "platform/files/registry_store.h"
#include "platform/system/program_start.h"
#include "platform/system/system_error.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr int kFrameHelpKind = 2;
constexpr char kViewerName[] = "\\hh.exe";
constexpr const char* kReaderKeys[] = {
    "HKEY_CLASSES_ROOT\\Applications\\AcroRD32.exe\\shell\\Read\\command",
    "HKEY_CLASSES_ROOT\\Software\\Adobe\\Acrobat\\Exe",
};

// The full path of a file of the language directory.
std::string LanguageFilePath(const std::string& name, const char* extension) {
    const std::filesystem::path relative = platform::ToNativePath(GetLanguageDir() + "\\" + name + "." + extension);
    return std::filesystem::absolute(relative).lexically_normal().string();
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool Start(const std::string& program, const std::vector<std::string>& args) {
    return platform::StartProgram(program, args, false) == 0;
}

// A help request that cannot be served says which file it looked for and why.
void TellUnserved(const std::string& text, int error, GwCore* parent) {
    ShowErrorTextBox(platform::ErrorWithCause(text, error).c_str(), parent);
}

// Whether the help document can be read; tells the user when not.
bool DocumentReadable(const std::string& document, GwCore* parent) {
    if (::access(document.c_str(), R_OK) == 0) return true;
    TellUnserved("The help file \"" + document + "\" cannot be opened.", errno, parent);
    return false;
}

void TellNoProgram(const std::string& document, int error, GwCore* parent) {
    TellUnserved("No program could be started to show the help file \"" + document + "\".", error, parent);
}

}  // namespace

int CB_ShowHelp(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 0;
    GwCore* frame = widget->frame();
    std::string file = widget->help_file();
    std::string topic = widget->help_topic();
    if (file.empty() && frame != nullptr) file = frame->help_file();
    if (topic.empty() && frame != nullptr) topic = frame->help_topic();
    for (GwCore* up = widget->parent(); file.empty() && up != nullptr; up = up->parent()) file = up->help_file();

    Main* main = GetMain();
    const std::string viewer = std::string(main != nullptr ? main->GetWindowsPath().Text() : "") + kViewerName;
    const std::string document = LanguageFilePath(file, "chm");
    if (!DocumentReadable(document, frame)) return 0;
    const bool started =
        topic.empty() ? Start(viewer, {viewer, document}) : Start(viewer, {viewer, "-mapid" + topic + " ", document});
    if (!started) {
        TellNoProgram(document, errno, frame);
        if (frame != nullptr) frame->show_help(kFrameHelpKind);
    }
    return 0;
}

int HelpContentsCB(GwCore*, GwEvent*, GwUD) {
    OpenPdfManual(kGeneralManualName);
    return 1;
}

int TorvanHelpIndexCB(GwCore* widget, GwEvent* event, GwUD userData) { return HelpContentsCB(widget, event, userData); }

int CBHelpButton(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    if (frame != nullptr) OpenDeviceManual(static_cast<unsigned>(frame->user_data().integer()));
    return 1;
}

int CBDeviceHelp(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    double typeNumber = 0.0;
    if (context == nullptr || context->ReadDouble(kDeviceCodeParameter, &typeNumber) != 0) return 1;
    OpenDeviceManual(static_cast<unsigned>(typeNumber));
    return 1;
}

int CB_NoHelp(GwCore*, GwEvent*, GwUD) { return 0; }
int CBSetCursor(GwCore*, GwEvent*, GwUD) { return 0; }
int CBResetCursor(GwCore*, GwEvent*, GwUD) { return 0; }

void OpenDeviceManual(unsigned typeNumber) {
    OpenPdfManual("PH_" + std::to_string(typeNumber / kDeviceClassDivisor * kDeviceClassDivisor));
}

std::string GetConfiguredPdfReader() {
    GwProfile* profile = MainProfile();
    if (profile == nullptr || !profile->select_section("HelpTools")) return "";
    return profile->read("AcrobatReader");
}

std::string FindPdfReader() {
    for (const char* key : kReaderKeys) {
        if (platform::TheRegistry().KeyExists(key) != platform::RegistryStatus::kOk) continue;
        std::string name, command;
        if (platform::TheRegistry().EnumValue(key, 0, 256, 1024, &name, &command) != platform::RegistryStatus::kOk) {
            return "";
        }
        if (size_t at = command.find("\"%1\""); at != std::string::npos) {
            command.erase(at, 4);
        } else if (size_t bare = command.find("%1"); bare != std::string::npos) {
            command.erase(bare, 2);
        }
        std::erase(command, '"');
        return command;
    }
    return "";
}

void OpenPdfManual(const std::string& name) {
    const std::string document = LanguageFilePath(name, "pdf");
    if (!DocumentReadable(document, nullptr)) return;
    const std::string argument = Quoted(document);
    const std::string configured = GetConfiguredPdfReader();
    // The quoted document is the reader's only argument, its own name left out.
    if (!configured.empty() && Start(configured, {argument})) return;
    const std::string registered = FindPdfReader();
    if (!registered.empty() && Start(registered, {argument})) return;
    if (Start(argument, {argument})) return;
    if (platform::OpenWithDesktop(document) != 0) TellNoProgram(document, errno, nullptr);
}
