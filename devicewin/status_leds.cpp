#include "devicewin/status_leds.h"

#include <cstdlib>
#include <string>

#include "app/services/message_box.h"
#include "devicewin/device_context.h"
#include "devicewin/widget_display.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_picture.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr size_t kMaxConditionLength = 256;
constexpr char kLedName[] = "SwitchLED";
constexpr char kLedOn[] = "LED_ON";
constexpr char kLedOff[] = "LED_OFF";
constexpr char kLedError[] = "LED_ERR";
constexpr char kLedHidden[] = "LED_HIDE";

// The LED and its parameter base, when the child is a live LED of the walk's
// frame with a condition.
GwPicture* LedOf(GwCore* child, const GwUD& walkData, ParaBase** base) {
    if (child->frame() != walkData.pointer() || child->id_cleared() || child->name() != kLedName) return nullptr;
    const std::string& condition = child->user_data().string();
    if (condition.empty() || condition.size() > kMaxConditionLength) return nullptr;
    DeviceSetupContext* context = DeviceContextOf(child);
    if (context == nullptr) return nullptr;
    *base = context->Base.get();
    return dynamic_cast<GwPicture*>(child);
}

// The value of element k of n; false, with the LED switched and reported,
// when it cannot be read.
bool ReadLedValue(ParaBase* base, GwPicture* led, int n, int k, double* value) {
    if (ReadShownValue(base, n, value, k) == 0) return true;
    if (!base->IsPresent(n)) {
        led->set_bitmap(kLedHidden);
        led->clear_id();
        return false;
    }
    led->set_bitmap(kLedError);
    if (!ShowErrorMessageFor(kDeviceErrorMessage, base, led->frame())) led->clear_id();
    return false;
}

int WalkBelow(GwCore* widget, int (*step)(GwCore*, GwUD)) {
    widget->walk_through_children(step, GwUD(static_cast<void*>(widget->frame())));
    return 1;
}

}  // namespace

int CB_Timer_ShowLED(GwCore* widget, GwEvent*, GwUD) { return WalkBelow(widget, ShowLedChild); }

int CB_Timer_ShowLED_Extended(GwCore* widget, GwEvent*, GwUD) { return WalkBelow(widget, ShowLedExtendedChild); }

int ShowLedChild(GwCore* child, GwUD walkData) {
    ParaBase* base = nullptr;
    GwPicture* led = LedOf(child, walkData, &base);
    if (led == nullptr) return 1;
    const std::string condition = led->user_data().string();
    bool all = true;
    size_t start = 0;
    while (start < condition.size()) {
        size_t end = condition.find(';', start);
        if (end == std::string::npos) end = condition.size();
        const std::string pair = condition.substr(start, end - start);
        start = end + 1;
        const size_t equals = pair.find('=');
        if (equals == std::string::npos) continue;
        double value = 0.0;
        if (!ReadLedValue(base, led, std::atoi(pair.c_str()), 0, &value)) return 1;
        all = all && value == std::atof(pair.c_str() + equals + 1);
    }
    led->set_bitmap(all ? kLedOff : kLedOn);
    return 1;
}

int ShowLedExtendedChild(GwCore* child, GwUD walkData) {
    ParaBase* base = nullptr;
    GwPicture* led = LedOf(child, walkData, &base);
    if (led == nullptr) return 1;
    const std::string condition = led->user_data().string();
    const char mode = condition[0];
    bool holds = false;
    int element = 0;
    size_t at = 1;
    for (bool first = true; at < condition.size(); first = false) {
        char link = '&';
        if (!first) {
            link = condition[at++];
            if (link != '&' && link != '|') {
                ShowWarningText(
                    "SYSTEMERROR:\nInvalid link char in function Walk_ShowLED_Extended!\nIn case of recurrence call "
                    "manufactor please!",
                    led->frame());
                return 1;
            }
        }
        char* rest = nullptr;
        const int n = static_cast<int>(std::strtol(condition.c_str() + at, &rest, 10));
        at = static_cast<size_t>(rest - condition.c_str());
        if (at < condition.size() && condition[at] == '[') {
            const size_t close = condition.find(']', at);
            if (close == std::string::npos) {
                const std::string text = "SYSTEMERROR:\nSyntax error (fieldindex definition) in userdata of object " +
                                         led->name() +
                                         " used by function CB_Timer_ShowLED_Extended!\n\nIn case of recurrence call "
                                         "manufactor please!";
                ShowWarningTextBox(text.c_str(), led->frame());
                return 1;
            }
            element = std::atoi(condition.c_str() + at + 1);
            at = close + 1;
        }
        if (at < condition.size() && condition[at] == '=') ++at;
        const double wanted = std::strtod(condition.c_str() + at, &rest);
        at = static_cast<size_t>(rest - condition.c_str());
        double value = 0.0;
        if (!ReadLedValue(base, led, n, element, &value)) return 1;
        const bool pairHolds = value == wanted;
        holds = first ? pairHolds : (link == '&' ? holds && pairHolds : holds || pairHolds);
    }
    const char* picture = kLedOn;
    if (mode == 'S') picture = holds ? kLedOn : kLedOff;
    if (mode == 'H') picture = holds ? kLedOff : kLedOn;
    led->set_bitmap(picture);
    return 1;
}
