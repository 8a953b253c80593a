#include "devicewin/set_para_wait.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/services/activity_message.h"
#include "app/services/message_box.h"
#include "app/services/wait.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/take_over.h"
#include "devicewin/widget_changes.h"
#include "families/setup_context.h"
#include "platform/system/clock.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_tokens.h"

namespace {

constexpr int kDeviceErrorMessage = 5;

struct WaitRequest {
    std::string Kind;
    int Target = 0;
    int TimeoutMs = 0;
    int Levels = 0;
};

int Number(const std::vector<std::string>& words, size_t i) {
    return i < words.size() ? std::atoi(words[i].c_str()) : 0;
}

bool Reached(const std::string& kind, double x, int target) {
    if (kind == "LE") return x <= target;
    if (kind == "GE") return x >= target;
    if (kind == "D") return x != target;
    return x == target;
}

// The activity, time-out and final texts, the last being the rest.
struct WaitTexts {
    std::string Activity;
    std::string Timeout;
    std::string Final;
};

WaitTexts SplitTexts(const std::string& aux) {
    WaitTexts texts;
    const size_t first = aux.find(';');
    texts.Activity = aux.substr(0, first);
    if (first == std::string::npos) return texts;
    const size_t second = aux.find(';', first + 1);
    texts.Timeout = aux.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    if (second != std::string::npos) texts.Final = aux.substr(second + 1);
    return texts;
}

// Polls until the parameter reaches the target; false (after the time-out
// text) when the time runs out first. Elapsed time, so the tick count's wrap
// changes nothing.
bool AwaitValue(DeviceSetupContext* context, int number, double written, const WaitRequest& request,
                const WaitTexts& texts) {
    const platform::Deadline deadline(static_cast<uint32_t>(std::max(request.TimeoutMs, 0)));
    double x = written;
    while (!deadline.Expired()) {
        WaitMilliseconds(kParaWaitPollMs);
        double read = 0.0;
        // A failed read leaves the last value.
        if (context->ReadDouble(number, &read) == 0) x = read;
        if (Reached(request.Kind, x, request.Target)) return true;
    }
    ShowErrorTextBox(texts.Timeout.c_str());
    return false;
}

GwCore* RefreshTarget(GwCore* widget, int levels) {
    GwCore* w = widget;
    if (levels > kLevelsFromWindow) {
        w = widget->frame();
        levels -= kLevelsFromWindow;
    }
    for (int i = 0; i < levels && w != nullptr; ++i) w = w->parent();
    return w;
}

}  // namespace

int CB_SetParaWait(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* window = widget->frame();
    if (!TakeOverFrame(window, window)) return 1;
    EnableTakeOverButton(widget, false);

    const std::vector<std::string> words = GwSplitTokens(userData.string(), " ");
    const int number = Number(words, 0);
    const double value = Number(words, 1);
    ParaBase* base = context->Base.get();
    const int written =
        base->IsOnline() ? base->WriteValueDouble(number, value, 0) : base->SetValueDouble(number, value, 0);
    if (written != 0) ShowErrorMessageFor(kDeviceErrorMessage, base);

    if (words.size() < 3 || words[2] != kWaitWord || widget->aux_text().empty()) return 1;
    const WaitRequest request{words.size() > 3 ? words[3] : "", Number(words, 4), Number(words, 5), Number(words, 6)};
    const WaitTexts texts = SplitTexts(widget->aux_text());
    {
        ActivMessage activity(texts.Activity.c_str());
        if (!AwaitValue(context, number, value, request, texts)) return 1;
    }
    if (GwCore* target = RefreshTarget(widget, request.Levels)) {
        if (!target->is_class(GwDIALOGFRAME_CLASS)) CB_DvFctShowStandard(target, event, userData);
        target->hide();
        target->show();
    }
    if (!texts.Final.empty()) ShowInfoTextBox(texts.Final.c_str());
    return 1;
}
