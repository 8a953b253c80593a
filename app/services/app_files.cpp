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

AppFiles g_files;

platform::ResetHook ResetState([] { g_files = AppFiles(); });

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
    g_files.main = OpenExisting(kMainProfileName);
    GwProfile* main = g_files.main.get();
    const bool hasOptions = main != nullptr && main->select_section("Options");
    if (hasOptions) {
        g_files.deviceSignatureFalseValue = static_cast<unsigned char>(main->read_int("DeviceSignatureFalseValue", 0));
    }
    g_files.deviceNames = OpenExisting(kDeviceNameProfileName);
    if (hasOptions && main->select_section("Options")) {
        g_files.languageNumber = main->read_int("Language", 0);
        g_files.languageDir = platform::Format(kLanguageDirFormat, g_files.languageNumber);
        GwRcMgr::set_language(g_files.languageNumber);
    }
    const std::string& dir = g_files.languageDir;
    g_files.messages = OpenExisting(GwMakepath(nullptr, dir.c_str(), "TORVAN", "MSG").str());
    g_files.labels = OpenExisting(GwMakepath(nullptr, dir.c_str(), "BLabel", "dat").str());
}

void SetUserDataDirFromProfile() {
    GwProfile* main = g_files.main.get();
    if (main == nullptr || !main->select_section("Directories")) return;
    const char* dir = main->read("UserdataDir");
    g_files.userDataDir = *dir != '\0' ? dir : ".";
}

void CloseApplicationFiles() { g_files = AppFiles(); }

GwProfile* MainProfile() { return g_files.main.get(); }
GwProfile* MessageProfile() { return g_files.messages.get(); }
GwProfile* DeviceNameProfile() { return g_files.deviceNames.get(); }
GwProfile* LabelProfile() { return g_files.labels.get(); }

const std::string& GetLanguageDir() { return g_files.languageDir; }
int GetLanguageNumber() { return g_files.languageNumber; }
const std::string& GetUserDataDir() { return g_files.userDataDir; }
void SetUserDataDir(const std::string& dir) { g_files.userDataDir = dir; }
unsigned char GetDeviceSignatureFalseValue() { return g_files.deviceSignatureFalseValue; }

const char* GetProfileText(const char* section, const char* key) {
    // A C string (null when the key is missing), kept until the next call.
    static std::string text;
    GwProfile* labels = g_files.labels.get();
    if (labels == nullptr || section == nullptr || !labels->select_section(section)) return nullptr;
    text = ExpandLineBreaks(labels->read(key));
    return text.c_str();
}

const char* GetDeviceTypeName(unsigned typeNumber) {
    // Callers take a C string in a buffer kept until the next call.
    static std::string name;
    const unsigned type = typeNumber & 0xFFFFu;
    GwProfile* names = g_files.deviceNames.get();
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
