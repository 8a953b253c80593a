// Activity and progress windows.
#include "app/services/activity_message.h"

#include <cmath>
#include <limits>
#include <string>

#include "app/services/message_text.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/format.h"
#include "platform/system/clock.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_media.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_timers.h"

namespace {

constexpr char kMessageChild[] = "Message";
constexpr char kWaitIconChild[] = "WaitIcon";
constexpr char kIndicatorChild[] = "Indicator";
constexpr char kAnimationClip[] = "IdentMot.avi";
constexpr char kNoAnimationClip[] = "NONE.avi";
constexpr int kWindowModality = 2;

GwMedia* WaitIcon(GwCore* window) {
    return window != nullptr ? dynamic_cast<GwMedia*>(window->child(kWaitIconChild)) : nullptr;
}

void SetChildText(GwCore* window, const char* text) {
    if (window == nullptr) return;
    if (GwCore* message = window->child(kMessageChild)) message->set_text(text != nullptr ? text : "");
}

// A slider value as an integer, cut toward zero and kept inside int.
int ToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

}  // namespace

void BaseActivMessage::ShowMessage(int number) { SetMessageText(GetActivMessageText(number)); }

void BaseActivMessage::SetMessageString(const dstring& text) { SetChildText(window_, text.Text()); }

void BaseActivMessage::ShowText(const char* text) { SetMessageText(text); }

void BaseActivMessage::SetMessageText(const char* text) { SetChildText(window_, text); }

const char* BaseActivMessage::GetActivMessageText(int number) {
    // Callers take a C string, kept until the next call.
    static std::string text;
    char buffer[kMessageTextSize];
    const std::string key = platform::Format(kActivMessageKeyFormat, static_cast<unsigned>(number));
    text = platform::Format("%s ...", GetMessageText(buffer, kActivMessagesSection, key.c_str(), kMessageTextSize));
    return text.c_str();
}

void BaseActivMessage::Create(const char* text, GwCore* owner, const char* definition, bool animationsOff) {
    animationsOff_ = animationsOff;
    window_.reset();
    savedCursor_ = GwCore::global_cursor();
    GwCore::set_global_cursor(GwCURSOR_WAIT);
    owner_ = GwRcMgr::is_valid_child(owner) ? owner : GetMainWindow();
    const std::string ownerId = owner_ != nullptr ? owner_->identifier() : "";
    TheDataLogger().WriteEntry("Active Message from " + ownerId + ":\t" + (text != nullptr ? text : ""));
    if (ActivityWindowOpen) return;
    ActivityWindowOpen = true;
    GwCore* window = GwRcMgr::load(owner_, definition, 1);
    window_ = window;
    opened_ = window != nullptr;
    if (window == nullptr) {
        // A definition that cannot be loaded must not block every later
        // activity window of the run.
        ActivityWindowOpen = false;
        return;
    }
    window->set_modality(kWindowModality);
    TheWindowHandler().Add(window, 1, nullptr, nullptr, 0);
    SetChildText(window, text);
    window->show();
    if (GwMedia* icon = animationsOff_ ? nullptr : WaitIcon(window_)) {
        icon->stop();
        icon->set_clip(kAnimationClip);
        icon->rewind();
        icon->play();
        icon->start_timer(kAnimationReplayMs);
    }
    if (owner_ != nullptr) {
        owner_->disable();
        ownerDisabled_ = true;
    }
    GwProcessPendingEvents();
}

BaseActivMessage::~BaseActivMessage() {
    GwCore::set_global_cursor(savedCursor_);
    // Only the object that disabled the owner enables it again, so a nested
    // windowless object leaves the owner disabled while the outer window runs.
    if (ownerDisabled_ && owner_ != nullptr) owner_->enable();
    if (!opened_) return;
    if (GwMedia* icon = animationsOff_ ? nullptr : WaitIcon(window_)) {
        icon->stop_timer();
        icon->stop();
        icon->set_clip(kNoAnimationClip);
    }
    if (GwCore* window = window_) window->destroy();
    if (GetMainWindow() != nullptr) GwProcessPendingEvents();
    TheWindowHandler().DeleteWindow(window_);
    ActivityWindowOpen = false;
    platform::BusyWait(kActivityCloseWaitMs);
    window_.reset();
}

ActivMessage::ActivMessage(int number, GwCore* owner) {
    Create(GetActivMessageText(number),
           owner,
           AnimationOff ? kNonAnimatedStateMessage : kAnimatedStateMessage,
           AnimationOff);
}

ActivMessage::ActivMessage(const char* text, GwCore* owner) {
    Create(text, owner, AnimationOff ? kNonAnimatedStateMessage : kAnimatedStateMessage, AnimationOff);
}

ProgressMessage::ProgressMessage(int number, double maximum, GwCore* owner)
    : text_(GetActivMessageText(number)), maximum_(maximum), givenOwner_(owner) {
    CreateProgress();
}

ProgressMessage::ProgressMessage(const char* text, double maximum, GwCore* owner)
    : text_(text), maximum_(maximum), givenOwner_(owner) {
    CreateProgress();
}

void ProgressMessage::CreateProgress() {
    Create(
        text_.Text(), givenOwner_, AnimationOff ? kNonAnimatedProgressMessage : kProgressMessageWindow, AnimationOff);
    if (window_ == nullptr) return;
    indicator_ = window_->child<GwSlider>(kIndicatorChild);
    if (indicator_ != nullptr) {
        indicator_->set_start(0.0);
        indicator_->set_end(maximum_);
        indicator_->set_value(0.0);
    }
    GwProcessPendingEvents();
}

void ProgressMessage::SetValue(double value) {
    if (!opened_) CreateProgress();
    if (indicator_ == nullptr) return;
    indicator_->set_value(value);
    GwProcessPendingEvents();
}

void ProgressMessage::SetMinimum(unsigned n) {
    if (indicator_ != nullptr) indicator_->set_start(n);
}

void ProgressMessage::SetMaximum(unsigned n) {
    if (indicator_ != nullptr) indicator_->set_end(n);
}

void ProgressMessage::SetStep(unsigned step) {
    if (indicator_ != nullptr) step_ = static_cast<int>(step);
}

void ProgressMessage::SetValue(unsigned value) {
    if (indicator_ != nullptr) SetValue(static_cast<double>(value));
}

void ProgressMessage::StepIt() {
    if (indicator_ != nullptr) SetValue(static_cast<double>(static_cast<uint32_t>(GetValue() + step_)));
}

void ProgressMessage::StepBy(unsigned n) {
    if (indicator_ != nullptr) SetValue(static_cast<double>(static_cast<uint32_t>(GetValue()) + n));
}

int ProgressMessage::GetValue() { return indicator_ != nullptr ? ToInt(indicator_->value()) : 0; }

int ProgressMessage::GetMinimum() { return indicator_ != nullptr ? ToInt(indicator_->start()) : 0; }

int ProgressMessage::GetMaximum() { return indicator_ != nullptr ? ToInt(indicator_->end()) : 0; }

int ProgressMessage::GetStep() { return indicator_ != nullptr ? step_ : 0; }

int CB_Info_StartVideo(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr || !GwRcMgr::is_valid_child(widget)) return 0;
    GwCore* main = GetMainWindow();
    const bool mainShown = main != nullptr && GwRcMgr::is_valid_child(main) && main->is_visible() &&
                           main->frame_state() != GwSTATE_MINIMIZED;
    if (widget->is_visible() && mainShown && widget->frame()->frame_state() != GwSTATE_MINIMIZED) {
        const uint32_t interval = widget->timer_interval();
        widget->stop_timer();
        if (GwMedia* icon = AnimationOff ? nullptr : WaitIcon(widget->frame())) {
            icon->rewind();
            icon->play();
        }
        widget->start_timer(interval);
        return 1;
    }
    widget->stop_timer();
    return 0;
}
