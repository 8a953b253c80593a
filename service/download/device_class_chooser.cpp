#include "service/download/device_class_chooser.h"

#include <cstring>

#include "app/services/app_files.h"
#include "app/services/services_hooks.h"
#include "platform/base/reset_hooks.h"
#include "service/download/loader_option_sets.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_item_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"

namespace {

constexpr char kOfflineLoaderSection[] = "OfflineLoader";
constexpr char kDisabledEntry[] = "disable";

// The class widgets in the order OK looks at them.
struct ClassWidget {
    const char* name;
    int deviceClass;
    const char* variants;  // the variant chooser, or null
};
constexpr ClassWidget kClassWidgets[] = {
    {"Oskel", kClassOskel, nullptr},
    {"Marlo", kClassMarlo, nullptr},
    {"Ruvex", kClassRuvex, "RuvexVariants"},
    {"Pesco", kClassPesco, "PescoVariants"},
    {"Talin", kClassTalin, nullptr},
    {"Wenzo", kClassWenzo, nullptr},
};

DeviceClassChoice& State() {
    static DeviceClassChoice state;
    return state;
}

platform::ResetHook ResetState([] { State() = DeviceClassChoice{}; });

GwCore* FrameOf(GwCore* widget) { return widget != nullptr ? widget->frame() : nullptr; }

}  // namespace

bool RunDeviceClassChooser(DeviceClassChoice& choice) {
    // A chooser closed without OK counts as cancelled.
    State() = DeviceClassChoice{};
    State().cancelled = true;
    GwCore* chooser = GwRcMgr::load(GetMainWindow(), kChooseLoaderDeviceWindow, 1);
    if (chooser == nullptr) return false;
    chooser->go();
    if (chooser->is_alive()) chooser->destroy();
    choice = State();
    return !State().cancelled;
}

const DeviceClassChoice& ChosenDeviceClass() { return State(); }

int CB_ShowDeviceClass(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = FrameOf(widget);
    if (frame == nullptr) return 1;
    for (const ClassWidget& entry : kClassWidgets) {
        GwCore* classWidget = frame->child(entry.name);
        const char* label = GetProfileText(kOfflineLoaderSection, entry.name);
        if (classWidget == nullptr || label == nullptr || *label == '\0') continue;
        if (std::strcmp(label, kDisabledEntry) == 0) {
            classWidget->hide();
        } else {
            classWidget->set_text(label);
        }
    }
    return 1;
}

int CB_ChooseDeviceClass(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = FrameOf(widget);
    if (frame == nullptr) return 1;
    State() = DeviceClassChoice{};
    for (const ClassWidget& entry : kClassWidgets) {
        auto* toggle = frame->child<GwToggle>(entry.name);
        if (toggle == nullptr || !toggle->is_checked()) continue;
        State().deviceClass = entry.deviceClass;
        if (entry.variants != nullptr) {
            auto* variants = frame->child<GwItemList>(entry.variants);
            State().variant = variants != nullptr ? variants->selected_index() : -1;
        }
        break;
    }
    frame->hide();
    return 1;
}

int CB_CancelChooseDeviceClass(GwCore* widget, GwEvent*, GwUD) {
    State().cancelled = true;
    if (GwCore* frame = FrameOf(widget)) frame->hide();
    return 1;
}
