#include "families/brand_callbacks.h"

#include "app/services/app_files.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr char kOptions[] = "Options";

void SetTitleFrom(GwCore* widget, const char* key) {
    GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    if (frame == nullptr) return;
    if (const std::optional<std::string> title = BrandOption(key)) frame->set_title(*title);
}

}  // namespace

std::optional<std::string> BrandOption(const char* key) {
    GwProfile* profile = MainProfile();
    if (profile == nullptr || !profile->is_valid() || !profile->select_section(kOptions)) return std::nullopt;
    return std::string(profile->read(key));
}

int CB_BrandInstRMode(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    GwCore* button = frame != nullptr ? frame->frame_child(kHollinButtonName) : nullptr;
    if (button == nullptr) return 1;
    if (const std::optional<std::string> label = BrandOption("hollin")) button->set_label(*label);
    return 1;
}

int CB_BrandDravoDialog(GwCore* widget, GwEvent*, GwUD) {
    SetTitleFrom(widget, "DravoTitle");
    return 1;
}

int CB_BrandShowHollin(GwCore* widget, GwEvent*, GwUD) {
    SetTitleFrom(widget, "HollinTitle");
    return 1;
}
