// The oscilloscope window's recorder set-up: trigger channel, level, mode and
// pre-trigger, the sample interval and recording time, and the channels.
#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "platform/base/format.h"
#include "platform/system/sound.h"
#include "scope/window/scope_window_parts.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_toggle.h"

namespace {

// The empty-field beep of the interval.
constexpr uint32_t kBeepHz = 400;
constexpr uint32_t kBeepMs = 300;
// The mode toggles by the engine's mode index.
constexpr ScopeWidget kModeToggles[] = {kTrigModeBoth, kTrigModeFall, kTrigModeRis, kTrigModeAuto};
constexpr int kBothEdgesIndex = 0;
constexpr char kPreTriggerFormat[] = "%0.2f";

ScopeWidget Offset(ScopeWidget first, int channel) { return static_cast<ScopeWidget>(first + channel); }

bool IsChannel(long channel) { return channel >= 0 && channel < kScopeChannelCount; }

// Whether the calling toggle is on (a radio switched off by a sibling calls
// as well).
bool IsOn(GwCore* widget) {
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    return toggle != nullptr && toggle->is_checked();
}

void ShowTriggerModes(ScopeRecorder& engine) {
    for (ScopeWidget toggle : kModeToggles) SetScopeChecked(toggle, false);
    int index = engine.GetTriggerMode();
    if (index < 0 || index >= static_cast<int>(std::size(kModeToggles))) {
        engine.SetTriggerMode(kBothEdgesIndex);
        index = kBothEdgesIndex;
    }
    SetScopeChecked(kModeToggles[index], true);
}

}  // namespace

void ShowScopeTriggerLevel() {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr) return;
    const double level = engine->GetTriggerLevel();
    const std::string unit = engine->GetTriggerUnit();
    auto* field = dynamic_cast<GwEdit*>(ScopeChild(kTrigLevel));
    if (field == nullptr) return;
    field->set_precision(std::max(0, field->length() - engine->GetLevelIntegerWidth() - 1));
    field->set_suffix(unit);
    field->set_text(ScopeNumberText(level));
}

void ShowScopeTrigger() {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr) return;
    const int channel = engine->GetTriggerChannel();
    if (IsChannel(channel)) SetScopeChecked(Offset(kTrigCh0, channel), true);
    ShowScopeTriggerLevel();
    SetScopeText(kPreTrigVal, platform::Format(kPreTriggerFormat, engine->GetPreTrigger()));
    ShowTriggerModes(*engine);
}

void ShowScopeTimes() {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr) return;
    SetScopeText(kFlashTmVal, ScopeNumberText(ScopeRound(engine->GetRecordTime())));
    SetScopeText(kTmBaseVal, ScopeNumberText(ScopeRound(engine->GetTimeBase())));
}

void ApplyScopeFixedTime() {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr) return;
    if (IsScopeChecked(kFlashTmFix) && !ScopeText(kFlashTmVal).empty()) {
        engine->SetRecordTime(ScopeRound(ScopeFieldNumber(kFlashTmVal)));
    } else if (!ScopeText(kTmBaseVal).empty()) {
        engine->SetTimeBase(ScopeRound(ScopeFieldNumber(kTmBaseVal)));
    }
    SetScopeText(kTmBaseVal, ScopeNumberText(ScopeRound(engine->GetTimeBase())));
}

void ShowScopeActualValue(int channel) {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr || !IsChannel(channel)) return;
    const std::string name = engine->GetChannelVariableName(channel);
    const double value = engine->GetChannelValue(channel, name.c_str());
    const std::string unit = engine->GetChannelUnit(channel);
    SetScopeText(Offset(kChAct0, channel), ScopeNumberText(value) + " " + unit);
}

void ShowScopeChannels() {
    for (int channel = 0; channel < kScopeChannelCount; ++channel) {
        ScopeRecorder* engine = ScopeEngine();
        if (engine == nullptr) return;
        SetScopeChecked(Offset(kChActiv0, channel), engine->IsChannelActive(channel));
        ShowScopeActualValue(channel);
        if ((engine = ScopeEngine()) == nullptr) return;
        SetScopeText(Offset(kChVal0, channel), ScopeVariableText(engine->GetChannelVariableName(channel)));
    }
}

int CB_Scope_UpdateTrigger(GwCore*, GwEvent*, GwUD) {
    ShowScopeTrigger();
    return 1;
}

int CB_Scope_UpdateTime(GwCore*, GwEvent*, GwUD) {
    ShowScopeTimes();
    return 1;
}

int CB_TrigChan(GwCore* widget, GwEvent*, GwUD userData) {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr || !IsOn(widget)) return 1;
    engine->SetTriggerChannel(static_cast<int>(userData.integer()));
    ShowScopeTriggerLevel();
    return 1;
}

int CB_TrigLevel(GwCore* widget, GwEvent*, GwUD) {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr || widget == nullptr) return 1;
    const std::string text = widget->text();
    const bool done = engine->SetTriggerLevel(std::atof(text.empty() ? "0." : text.c_str()));
    ShowScopeTriggerLevel();
    return done ? 1 : 0;
}

int CB_SetTrigMode(GwCore* widget, GwEvent*, GwUD userData) {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr || !IsOn(widget)) return 1;
    engine->SetTriggerMode(static_cast<int>(userData.integer()));
    return 1;
}

int CB_PreTrigVal(GwCore* widget, GwEvent*, GwUD) {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr || widget == nullptr) return 1;
    const bool done = engine->SetPreTrigger(std::atof(widget->text().c_str()));
    SetScopeText(kPreTrigVal, platform::Format(kPreTriggerFormat, engine->GetPreTrigger()));
    return done ? 1 : 0;
}

int CB_TmBaseVal(GwCore*, GwEvent*, GwUD) {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr) return 1;
    if (ScopeText(kTmBaseVal).empty()) {
        platform::Beep(kBeepHz, kBeepMs);
        return 1;
    }
    engine->SetTimeBase(ScopeFieldNumber(kTmBaseVal));
    ApplyScopeFixedTime();
    return 1;
}

int CB_FlashTmVal(GwCore*, GwEvent*, GwUD) {
    ApplyScopeFixedTime();
    return 1;
}

int CB_SetFlashTmEditable(GwCore* widget, GwEvent*, GwUD userData) {
    if (IsSwitchedOff(widget)) return 1;
    const bool intervalFixed = userData.integer() == 1;
    SetScopeReadOnly(kTmBaseVal, !intervalFixed);
    SetScopeReadOnly(kFlashTmVal, intervalFixed);
    if (intervalFixed) {
        SetScopeChecked(kTmBaseFix, true);
        return 1;
    }
    SetScopeChecked(kFlashTmFix, true);
    if (ScopeRecorder* engine = ScopeEngine())
        SetScopeText(kFlashTmVal, ScopeNumberText(ScopeRound(engine->GetRecordTime())));
    return 1;
}

int CB_ChActiv(GwCore* widget, GwEvent*, GwUD userData) {
    ScopeRecorder* engine = ScopeEngine();
    if (engine == nullptr) return 1;
    const int channel = static_cast<int>(userData.integer());
    if (engine->SetChannelActive(channel, IsOn(widget))) ApplyScopeFixedTime();
    return 1;
}
