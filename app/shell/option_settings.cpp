#include "app/shell/option_settings.h"

#include <array>

#include "app/services/app_files.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr std::array<uint32_t, 8> kBaudOfCode = {9600, 4800, 2400, 1200, 19200, 28800, 57600, 115200};
constexpr char kOptions[] = "Options";

std::string ReadOption(const char* key, const char* missing) {
    GwProfile* profile = MainProfile();
    if (profile == nullptr || !profile->select_section(kOptions) || !profile->key_exists(key)) return missing;
    return profile->read(key);
}

void WriteOption(const char* key, const std::string& value) {
    GwProfile* profile = MainProfile();
    if (profile == nullptr || !profile->select_section(kOptions, true)) return;
    profile->write(key, value.c_str());
}

}  // namespace

int BaudRateCode(uint32_t baud) {
    for (size_t code = 0; code < kBaudOfCode.size(); ++code) {
        if (kBaudOfCode[code] == baud) return static_cast<int>(code);
    }
    return 0;
}

uint32_t BaudRateOfCode(int code) {
    return code >= 0 && code < static_cast<int>(kBaudOfCode.size()) ? kBaudOfCode[static_cast<size_t>(code)]
                                                                    : kBaudOfCode[0];
}

std::string GetPlotTool() { return ReadOption("PlotTool", "intern"); }
void SetPlotTool(const std::string& tool) { WriteOption("PlotTool", tool); }
std::string GetExternalPlotTool() { return ReadOption("ExternalPlotTool", ""); }
void SetExternalPlotTool(const std::string& path) { WriteOption("ExternalPlotTool", path); }

std::string GetPlotToolToUse() {
    const std::string tool = GetPlotTool();
    return tool == "extern" ? GetExternalPlotTool() : tool;
}

int CB_CancelOption(GwCore* widget, GwEvent*, GwUD) {
    if (GwCore* frame = widget != nullptr ? widget->frame() : nullptr) frame->hide();
    return 1;
}
