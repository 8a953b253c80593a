#include "families/run_mode_descriptions.h"

#include <cmath>
#include <fstream>
#include <optional>

#include "app/services/app_files.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window.h"
#include "families/brand_callbacks.h"
#include "families/setup_context.h"
#include "families/setup_main_window.h"
#include "platform/base/format.h"
#include "platform/files/paths.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_item_list.h"
#include "toolkit/core/gw_picture.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr int kDeviceCodeParameter = 91;
constexpr int kVersionParameter = 92;

enum class ReadErrorBox { kForBase, kDeviceError };

// Version and firmware lines are the version cut to a multiple of 10.
int TensOf(double version) { return static_cast<int>(version) / 10 * 10; }

GwItemList* ApplicationList(const GwCore* frame) {
    return frame != nullptr ? frame->frame_child<GwItemList>(kApplicationListName) : nullptr;
}

// What every show callback starts with: reads the running and the chosen run
// mode, selects the running one in the list and marks a chosen one that is
// not yet running. False when the callback ends here (a failed read ends it
// whatever the box's answer).
bool ShowRunningMode(GwCore* frame, DeviceSetupContext* context, ReadErrorBox box, double* running) {
    double chosen = 0.0;
    if (context->ReadDouble(kRunModeParameter, running) != 0 ||
        context->ReadDouble(kApplicationListParameter, &chosen) != 0) {
        if (box == ReadErrorBox::kForBase) {
            ShowErrorMessageFor(kRunModeReadError, context->Base.get(), frame);
        } else {
            ShowDeviceError(kRunModeReadError, context->Base.get(), frame);
        }
        return false;
    }
    GwItemList* list = ApplicationList(frame);
    if (list == nullptr) return false;
    list->select(static_cast<int>(std::trunc(*running)));
    if (GwCore* modified = frame->frame_child(kModifiedMarkName)) {
        if (std::trunc(*running) == std::trunc(chosen)) {
            modified->hide();
        } else {
            modified->show();
        }
    }
    return true;
}

struct DeviceIdentity {
    int code = 0;
    double version = 0.0;
};

// Parameters 91 and 92 from the stored table, whatever the online flag.
DeviceIdentity StoredIdentity(DeviceSetupContext* context) {
    uint16_t code = 0;
    DeviceIdentity identity;
    context->Base->GetValueU16(kDeviceCodeParameter, &code);
    context->Base->GetValueDouble(kVersionParameter, &identity.version);
    identity.code = code;
    return identity;
}

int ListMinimum(DeviceSetupContext* context) {
    double minimum = 0.0;
    context->Base->GetMinimumAsDouble(kApplicationListParameter, &minimum);
    return static_cast<int>(std::trunc(minimum));
}

// Steps 2 to 9 of the picture callbacks; `firmware200` counts the list from
// the lower limit of 152 and sizes the picture to its bitmap.
void ShowApplicationPicture(GwCore* frame, DeviceSetupContext* context, bool firmware200, bool resize) {
    auto* picture = frame->frame_child<GwPicture>(kApplicationPictureName);
    GwItemList* list = ApplicationList(frame);
    if (picture == nullptr || list == nullptr) return;
    picture->set_bitmap(kApplicationPictureStart);
    const DeviceIdentity identity = StoredIdentity(context);
    int k = list->first_selected();
    if (firmware200) k += ListMinimum(context);
    std::string name = ApplicationPictureName(identity.code, identity.version, k);
    GwBitmapSize size{};
    if (resize && GwRcMgr::bitmap_size(name, &size)) picture->set_dimension({size.width, size.height});
    picture->set_bitmap(name);
    if (GwCore* hollin = frame->frame_child(kHollinButtonName)) {
        hollin->set_sensitive(GwPicture::is_loadable(name + kOptionModulePictureSuffix));
    }
}

int ShowPictureCallback(GwCore* widget, bool firmware200) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    if (context == nullptr || frame->frame_child(kApplicationPictureName) == nullptr) return 1;
    double running = 0.0;
    if (!ShowRunningMode(frame, context, ReadErrorBox::kForBase, &running)) return 1;
    ShowApplicationPicture(frame, context, firmware200, firmware200);
    return 1;
}

int SelectPictureCallback(GwCore* widget, bool firmware200) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    ShowApplicationPicture(widget->frame(), context, firmware200, false);
    return 1;
}

// Shows the option module's picture `bitmap` in the first control of
// `window` (destroyed when the calling window has no application list).
void ShowOptionPicture(GwCore* window, const std::string& bitmap) {
    if (auto* picture = dynamic_cast<GwPicture*>(window->first_control())) picture->set_bitmap(bitmap);
    window->show();
}

// The display text of a value of 151, without the number.
std::string RunModeText(DeviceSetupContext* context, double value) {
    return context->Base->FormatDoubleValue(kRunModeParameter, value, false);
}

std::string StoredRunModeText(DeviceSetupContext* context) {
    return context->Base->FormatStoredValue(kRunModeParameter, 0, false);
}

// Whether a version read from the drive lies above 1.00 (100): the reading
// of 100 comes back a hair above it, versions go in steps of 0.05.
bool AboveFirstVersion(double version) { return std::round(version * 1000.0) > 100.0 * 1000.0; }

// The introduction window of the device's firmware line, or the common one.
GwCore* LoadIntroduction(GwCore* frame, DeviceSetupContext* context) {
    double version = 0.0;
    GwCore* introduction = nullptr;
    if (context->ReadDouble(kVersionParameter, &version) == 0 && AboveFirstVersion(version)) {
        introduction = LoadDeviceWindowForVersion(
            frame, platform::Format("4_%d_Introduction", TensOf(version)), context->Base.get());
    }
    if (introduction == nullptr) introduction = GwRcMgr::load(frame, "4_Introduction", 1);
    return introduction;
}

// Copies the first child of the introduction's page `page` into `target` at
// (1, 1); `clearTarget` first destroys the target's first child. The
// introduction window is destroyed on every path.
void ShowIntroductionPage(GwCore* frame, DeviceSetupContext* context, const std::string& page, GwCore* target,
                          bool clearTarget) {
    GwCore* introduction = LoadIntroduction(frame, context);
    if (introduction == nullptr) return;
    GwCore* pageWidget = introduction->child(page);
    GwCore* text = pageWidget != nullptr ? pageWidget->first_control() : nullptr;
    if (text != nullptr) {
        if (clearTarget && target->first_control() != nullptr) target->first_control()->destroy();
        GwCore* copy = text->copy_to(target);
        if (copy != nullptr) {
            copy->move(1, 1);
            copy->show();
        }
    }
    introduction->destroy();
}

// The whole run-mode text file of the language directory; nothing when
// there is none.
std::optional<std::string> ReadRunModeFile(DeviceSetupContext* context, const std::string& runModeText) {
    const DeviceIdentity identity = StoredIdentity(context);
    const std::string path =
        GetLanguageDir() + "\\" + platform::Format("BA%d_%s.TXT", static_cast<int>(identity.code * 0.001), runModeText);
    const std::optional<std::string> native = platform::FindExisting(path);
    if (!native) return std::nullopt;
    std::ifstream in(*native);
    if (!in) return std::nullopt;
    std::string text;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!first) text += '\n';
        text += line;
        first = false;
    }
    return text;
}

}  // namespace

std::string ApplicationPictureName(int deviceCode, double version, int k) {
    GwProfile profile(platform::Format("APP_%d.ini", deviceCode / 1000 * 1000));
    std::string name;
    const std::string section = platform::Format("%d", TensOf(version));
    if (profile.is_valid() && profile.select_section(section.c_str())) {
        name = profile.read(platform::Format("%d", k).c_str());
    }
    if (name.empty()) name = platform::Format("%d_APP_%d", deviceCode / 1000, k);
    return name;
}

int CB_3_ShowRunMode(GwCore* widget, GwEvent*, GwUD) { return ShowPictureCallback(widget, false); }
int CB_3_SelectRunMode(GwCore* widget, GwEvent*, GwUD) { return SelectPictureCallback(widget, false); }
int CB_4_200_ShowRunMode(GwCore* widget, GwEvent*, GwUD) { return ShowPictureCallback(widget, true); }
int CB_4_200_SelectRunMode(GwCore* widget, GwEvent*, GwUD) { return SelectPictureCallback(widget, true); }

int CB_3_ShowHollin(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* frame = widget->frame();
    GwCore* window = LoadDeviceWindowForVersion(frame, "3_Hollin", context->Base.get());
    if (window == nullptr) return 1;
    GwItemList* list = ApplicationList(frame);
    if (list == nullptr) {
        window->destroy();
        return 1;
    }
    const DeviceIdentity identity = StoredIdentity(context);
    ShowOptionPicture(
        window,
        ApplicationPictureName(identity.code, identity.version, list->first_selected()) + kOptionModulePictureSuffix);
    return 1;
}

int CB_4_200_ShowHollin(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* frame = widget->frame();
    GwCore* window = GwRcMgr::load(frame, "4_200_Hollin", 1);
    if (window == nullptr) return 1;
    GwItemList* list = ApplicationList(frame);
    if (list == nullptr) {
        window->destroy();
        return 1;
    }
    const int k = ListMinimum(context) + list->first_selected();
    ShowOptionPicture(
        window, platform::Format("%d_200_APP_%d", StoredIdentity(context).code / 1000, k) + kOptionModulePictureSuffix);
    return 1;
}

int CB_4_ShowRunMode(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* frame = widget->frame();
    double running = 0.0;
    if (!ShowRunningMode(frame, context, ReadErrorBox::kDeviceError, &running)) return 1;
    ShowIntroductionPage(frame, context, StoredRunModeText(context), widget, false);
    return 1;
}

int CB_4_SelectRunMode(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* frame = widget->frame();
    GwCore* container = frame->frame_child(kIntroductionContainerName);
    GwItemList* list = ApplicationList(frame);
    if (container == nullptr || list == nullptr) return 1;
    ShowIntroductionPage(frame, context, RunModeText(context, list->first_selected()), container, true);
    return 1;
}

int CB_5_ShowRunMode(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    double running = 0.0;
    if (!ShowRunningMode(widget->frame(), context, ReadErrorBox::kDeviceError, &running)) return 1;
    widget->set_text(ReadRunModeFile(context, StoredRunModeText(context)).value_or(""));
    return 1;
}

int CB_5_SelectRunMode(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    auto* list = dynamic_cast<GwItemList*>(widget);
    if (context == nullptr || list == nullptr) return 1;
    const std::string text = " " + ReadRunModeFile(context, RunModeText(context, list->first_selected())).value_or("");
    if (GwCore* target = widget->frame()->frame_child(kRunModeTextName)) target->set_text(text);
    return 1;
}
