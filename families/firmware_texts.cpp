#include "families/firmware_texts.h"

#include <string>

#include "app/services/app_files.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"

namespace {

constexpr char kDispatcherSection[] = "Dispatcher";
constexpr char kExplorerKey[] = "EXPLORER-PARA";
constexpr char kFirmwareDir[] = "..\\FIRMDATA\\";
constexpr char kFirmwareTextExtension[] = ".txt";

std::string Trimmed(const char* text) {
    dstring trimmed(text);
    trimmed.TrimLeft(' ');
    trimmed.TrimRight(' ');
    return trimmed.Text();
}

}  // namespace

void FirmwareTexts::LoadVersionProfile(DeviceSetupContext& context) {
    double code = 0.0;
    double version = 0.0;
    if (context.ReadDouble(kDeviceCodeParameter, &code) != kParaOk) return;
    if (context.ReadDouble(kFirmwareVersionParameter, &version) != kParaOk) return;
    char path[kParaPathSize] = {};
    if (ParaBase::FindVersionFile(GetLanguageDir().c_str(),
                                  kVersionProfileExtension,
                                  path,
                                  static_cast<uint16_t>(code),
                                  static_cast<float>(version),
                                  true)) {
        path_ = path;
    }
    Reload();
}

void FirmwareTexts::Reload() {
    profile_.clear();
    if (!path_.empty()) profile_.load(path_.c_str());
}

void FirmwareTexts::LoadFirmwareFile(const char* name) {
    const std::string path = std::string(kFirmwareDir) + name + kFirmwareTextExtension;
    profile_.load(path.c_str());
}

bool FirmwareTexts::AppendValueText(DeviceSetupContext& context, dstring& out, int number, int32_t value) {
    if (!profile_.section_exists(kDispatcherSection)) return true;
    ParaBase& base = *context.Base;
    const std::string name = base.GetParameterName(number);
    profile_.select_section(kDispatcherSection);
    std::string section = profile_.read(Trimmed(name.c_str()).c_str());
    if (section.empty()) section = name;
    if (!profile_.section_exists(section.c_str())) return true;
    profile_.select_section(section.c_str());

    const std::string explorer = profile_.read(kExplorerKey);
    if (!explorer.empty()) {
        // A selector parameter's shown value picks the section that names the
        // values.
        const int selector = std::atoi(explorer.c_str());
        const std::string selected = profile_.read(base.FormatStoredValue(selector, 0, false));
        if (!profile_.section_exists(selected.c_str())) return false;
        profile_.select_section(selected.c_str());
    }
    const std::string text = profile_.read(std::to_string(value).c_str());
    if (!text.empty() && out.Length() > 0) out += dstring(" = ");
    out += dstring(text.c_str());
    return true;
}

void FirmwareTexts::ValueText(DeviceSetupContext& context, dstring& out, int number, int32_t value) {
    if (!AppendValueText(context, out, number, value) || out.Length() == 0) {
        out = dstring(std::to_string(value).c_str());
    }
}
