#include "app/notes/device_error_note.h"

#include <string>

#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/format.h"
#include "toolkit/base/gw_path.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr char kErrorFileExtension[] = "ERR";
constexpr char kClassErrorFileFormat[] = "%d_ERR";
constexpr char kClassErrorFileExtension[] = "TXT";
constexpr char kDialogSection[] = "DIALOG";

struct DeviceIdentity {
    uint16_t code = 0;
    float version = 0.0f;
    int typeClass = 0;
};

DeviceIdentity IdentityOf(ParaBase* base) {
    DeviceIdentity id;
    if (base != nullptr) {
        base->ReadValueU16(kDeviceCodeParameter, &id.code);
        base->ReadValueFloat(kFirmwareVersionParameter, &id.version);
        id.typeClass = id.code / kDeviceClassDivisor * kDeviceClassDivisor;
        return id;
    }
    Main* main = GetMain();
    DataBus* bus = main != nullptr ? main->GetActiveBus() : nullptr;
    const BusDeviceRecord* record =
        bus != nullptr && main->GetActiveAddress() >= 0 ? bus->GetDevice(main->GetActiveAddress()) : nullptr;
    if (record != nullptr) {
        id.code = record->typeNumber;
        id.version = record->version;
    }
    id.typeClass = main != nullptr ? main->GetActiveDeviceTypeClass() : 0;
    return id;
}

std::string ErrorFilePath(const DeviceIdentity& id) {
    const std::string& dir = GetLanguageDir();
    char path[kParaPathSize] = {};
    if (ParaBase::FindVersionFile(dir.c_str(), kErrorFileExtension, path, id.code, id.version, false)) return path;
    const std::string name = platform::Format(kClassErrorFileFormat, id.typeClass);
    return GwMakepath("", dir.c_str(), name.c_str(), kClassErrorFileExtension).str();
}

// A text of the file: backslash-n becomes a blank and a line feed, and the
// whole is cut to its buffer.
std::string NoteText(const char* raw) {
    std::string text;
    for (const char* p = raw; *p != '\0'; ++p) {
        if (p[0] == '\\' && p[1] == 'n') {
            text += " \n";
            ++p;
        } else {
            text += *p;
        }
    }
    if (text.size() > kErrorNoteTextSize - 1) text.resize(kErrorNoteTextSize - 1);
    return text;
}

}  // namespace

bool ShowDeviceErrorNote(int number, uint16_t errorCode, GwCore* parent, bool infoOnly, ParaBase* base) {
    const std::string path = ErrorFilePath(IdentityOf(base));
    GwProfile file(path);
    std::string explanation;
    std::string lead;
    std::string closing;
    if (file.is_valid()) {
        if (file.select_section(kDialogSection)) {
            lead = NoteText(file.read("Pre"));
            closing = NoteText(file.read("Post"));
        }
        const std::string section = platform::Format("E%u", static_cast<unsigned>(errorCode & 0xFF));
        const std::string key = platform::Format("%u", static_cast<unsigned>((errorCode >> 8) & 0xFF));
        if (file.select_section(section.c_str())) {
            explanation = NoteText(file.key_exists(key.c_str()) ? file.read(key.c_str()) : file.first_value());
        }
    }
    if (!explanation.empty()) {
        if (infoOnly) {
            ShowInfoText(explanation.c_str(), parent);
            return true;
        }
        return ShowWarningText((lead + explanation + closing).c_str(), parent);
    }
    if (infoOnly) {
        ShowInfoMessage(number, parent);
        return true;
    }
    return ShowQuestionMessage(number, parent);
}
