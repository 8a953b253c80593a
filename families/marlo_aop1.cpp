#include "families/marlo_aop1.h"

#include <cstdlib>
#include <string>

#include "devicewin/device_context.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/take_over.h"
#include "families/setup_context.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_core.h"

namespace {

// The shown value with a decimal comma read as a point (the first two).
double ShownNumber(std::string text) {
    int commas = 0;
    for (char& c : text) {
        if (c == ',' && commas < 2) {
            c = '.';
            ++commas;
        }
    }
    return std::strtod(text.c_str(), nullptr);
}

}  // namespace

int CB_3_200_DvFctShow_AOP1(GwCore* widget, GwEvent* event, GwUD userData) {
    CB_DvFctShowStandard(widget, event, userData);
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    double a = 0.0, b = 0.0, c = 0.0;
    const bool aRead = context->ReadDouble(kAop1Numerator, &a) == 0;
    const bool bRead = context->ReadDouble(kAop1Denominator, &b) == 0;
    const bool cRead = context->ReadDouble(kAop1Factor, &c) == 0;
    const bool scaled = aRead && bRead && cRead && b != 0.0;
    GwCore* frame = widget->frame();
    for (int i = 1; i <= kAop1Values; ++i) {
        GwCore* field = frame->frame_child(platform::Format("_FM_97%d", i));
        GwCore* value = frame->frame_child(platform::Format("_PN_97%d", i));
        if (field == nullptr || value == nullptr) continue;
        if (!scaled) {
            field->set_text(kAop1Unknown);
            continue;
        }
        const double x = ShownNumber(value->text());
        field->set_text(platform::Format("%lf", x * a / b * c * (1.0 / 60.0)));
    }
    return 1;
}

int CB_3_200_DvFctTakeItWVA_AOP1(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* window = widget->frame();
    if (!TakeOverFrame(window, window)) return 1;
    CB_3_200_DvFctShow_AOP1(window, event, userData);
    context->Modified = true;
    return 1;
}
