#include "app/services/plot_tool_setting.h"

#include "app/services/app_files.h"
#include "toolkit/profile/gw_profile.h"

namespace {

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

std::string GetPlotTool() { return ReadOption("PlotTool", "intern"); }
void SetPlotTool(const std::string& tool) { WriteOption("PlotTool", tool); }
std::string GetExternalPlotTool() { return ReadOption("ExternalPlotTool", ""); }
void SetExternalPlotTool(const std::string& path) { WriteOption("ExternalPlotTool", path); }

std::string GetPlotToolToUse() {
    const std::string tool = GetPlotTool();
    return tool == "extern" ? GetExternalPlotTool() : tool;
}
