#include "devicewin/device_text_file.h"

#include <optional>

#include "app/main/main_object.h"
#include "app/services/file_name_component.h"
#include "bus/base/device_parameters.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/text_file.h"

namespace {

constexpr char kDeviceTextExtension[] = ".txt";

const platform::ResetHook kResetDeviceTextFile([] { TheDeviceTextFile() = DeviceTextFile(); });

}  // namespace

std::string DeviceTextFile::GetPath() const {
    return std::string(kDeviceTextDirectory) + "\\" + baseName_ + kDeviceTextExtension;
}

bool DeviceTextFile::Save(const std::string& text) const { return SaveTextAs(text, GetPath()); }

bool DeviceTextFile::Load(std::string& text) const {
    std::optional<std::string> bytes = platform::ReadBinaryFile(GetPath());
    if (!bytes) return false;
    text += *bytes;
    return true;
}

std::string DeviceTextFile::MakeDeviceName() {
    Main* main = GetMain();
    ParaBase* base = main != nullptr ? main->ActiveParaBase() : nullptr;
    if (base == nullptr || !main->HasOnlineDevice()) return kDefaultDeviceTextName;
    std::string name = RunModeFileComponent(main->GetActiveDeviceTypeText());
    const std::string alias = main->GetActiveDeviceAlias();
    if (!alias.empty()) name += "_" + RunModeFileComponent(alias);
    const char* serial = base->FormatStoredValue(kSerialNumberParameter, 0, false);
    name += "_" + RunModeFileComponent(serial != nullptr ? serial : "");
    name += std::string("_V") + main->GetVersionTag().Text();
    return name;
}

std::string DeviceTextFile::SetToActiveDevice() {
    baseName_ = MakeDeviceName();
    return baseName_;
}

DeviceTextFile& TheDeviceTextFile() {
    static DeviceTextFile file;
    return file;
}

bool SaveTextAs(const std::string& text, const std::string& path) { return platform::ReplaceFile(path, text); }
