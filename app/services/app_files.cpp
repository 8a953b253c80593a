// The profiles and directories the program opens at start.
#include "app/services/app_files.h"

#include <memory>

#include "app/services/line_breaks.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "toolkit/base/gw_path.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/profile/gw_profile.h"

namespace {

struct AppFiles {
    std::unique_ptr<GwProfile> main;
    std::unique_ptr<GwProfile> messages;
    std::unique_ptr<GwProfile> deviceNames;
    std::unique_ptr<GwProfile> labels;
    std::string languageDir;
    std::string userDataDir;
    int languageNumber = 0;
    unsigned char deviceSignatureFalseValue = 0;
};

AppFiles& State() {
    static AppFiles state;
    return state;
}

platform::ResetHook ResetState([] { State() = AppFiles(); });

// A profile that exists and reads; a missing file counts as no profile here,
// although the profile class would accept it as new and empty.
std::unique_ptr<GwProfile> OpenExisting(const std::string& path) {
    if (!platform::FileExists(path)) return nullptr;
    auto profile = std::make_unique<GwProfile>(path);
    if (!profile->is_valid()) return nullptr;
    return profile;
}

}  // namespace

void OpenApplicationFiles() {
    CloseApplicationFiles();
    State().main = OpenExisting(kMainProfileName);
    GwProfile* main = State().main.get();
    const bool hasOptions = main != nullptr && main->select_section("Options");
    if (hasOptions) {
        State().deviceSignatureFalseValue = static_cast<unsigned char>(main->read_int("DeviceSignatureFalseValue", 0));
    }
    State().deviceNames = OpenExisting(kDeviceNameProfileName);
    if (hasOptions && main->select_section("Options")) {
        State().languageNumber = main->read_int("Language", 0);
        State().languageDir = platform::Format(kLanguageDirFormat, State().languageNumber);
        GwRcMgr::set_language(State().languageNumber);
    }
    const std::string& dir = State().languageDir;
    State().messages = OpenExisting(GwMakepath(nullptr, dir.c_str(), "TORVAN", "MSG").str());
    State().labels = OpenExisting(GwMakepath(nullptr, dir.c_str(), "BLabel", "dat").str());
}

void SetUserDataDirFromProfile() {
    GwProfile* main = State().main.get();
    if (main == nullptr || !main->select_section("Directories")) return;
    const char* dir = main->read("UserdataDir");
    State().userDataDir = *dir != '\0' ? dir : ".";
}

void CloseApplicationFiles() { State() = AppFiles(); }

GwProfile* MainProfile() { return State().main.get(); }
GwProfile* MessageProfile() { return State().messages.get(); }
GwProfile* DeviceNameProfile() { return State().deviceNames.get(); }
GwProfile* LabelProfile() { return State().labels.get(); }

const std::string& GetLanguageDir() { return State().languageDir; }
int GetLanguageNumber() { return State().languageNumber; }
const std::string& GetUserDataDir() { return State().userDataDir; }
void SetUserDataDir(const std::string& dir) { State().userDataDir = dir; }
unsigned char GetDeviceSignatureFalseValue() { return State().deviceSignatureFalseValue; }

const char* GetProfileText(const char* section, const char* key) {
    // A C string (null when the key is missing), kept until the next call.
    static std::string text;
    GwProfile* labels = State().labels.get();
    if (labels == nullptr || section == nullptr || !labels->select_section(section)) return nullptr;
    text = ExpandLineBreaks(labels->read(key));
    return text.c_str();
}

const char* GetDeviceTypeName(unsigned typeNumber) {
    // Callers take a C string in a buffer kept until the next call.
    static std::string name;
    const unsigned type = typeNumber & 0xFFFFu;
    GwProfile* names = State().deviceNames.get();
    if (names != nullptr) {
        const std::string typeKey = platform::Format("%u", type);
        if (names->select_section("DeviceTypName") && names->key_exists(typeKey.c_str())) {
            name = names->read(typeKey.c_str());
            return name.c_str();
        }
        const std::string classKey = platform::Format("%u", type / 1000);
        if (names->select_section("DeviceClassExtension") && names->key_exists(classKey.c_str())) {
            name = platform::Format("%s%s", names->read(classKey.c_str()), typeKey);
            return name.c_str();
        }
    }
    name = platform::Format(type < 1000 ? "Nesk%u" : "??%u??", type);
    return name.c_str();
}
