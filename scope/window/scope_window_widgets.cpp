// The oscilloscope window's widgets by reference, its texts and its number
// formats.
#include <cstdlib>

#include "app/main/main_object.h"
#include "app/services/message_text.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_description_file.h"
#include "platform/base/format.h"
#include "scope/rounding/significant_digits.h"
#include "scope/window/scope_window_parts.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_toggle.h"

namespace {

constexpr char kScopeStatesSection[] = "Scope-States";
constexpr int kShownDigits = 5;

const char* Introduction(ParaBase* base, const std::string& name) {
    ParaDescriptionFile* file = base != nullptr ? base->GetDescriptionFile() : nullptr;
    return file != nullptr ? file->GetScopeEntryIntroduction(name.c_str()) : nullptr;
}

}  // namespace

const char* const kScopeWidgetNames[kScopeWidgetCount] = {
    "TrigCh0",      "TrigCh1",      "TrigCh2",        "TrigCh3",       "TrigLevel",    "PreTrigVal",
    "ChActiv0",     "ChActiv1",     "ChActiv2",       "ChActiv3",      "ChVal0",       "ChVal1",
    "ChVal2",       "ChVal3",       "ChAct0",         "ChAct1",        "ChAct2",       "ChAct3",
    "ChAct",        "TmBaseVal",    "FlashTmVal",     "FlashTmFix",    "TmBaseFix",    "TrigModeRis",
    "TrigModeFall", "TrigModeBoth", "TrigModeAuto",   "BT_ScopeStart", "BT_ScopeStop", "BT_ScopeRead",
    "State",        "Slider",       "BT_UserTrigger", "ScopeSetup",    "BT_AutoScope", "BT_AutoScopeStop",
    "Special",
};

ScopeRecorder* ScopeEngine() {
    const ScopeWindowState& state = TheScopeWindowState();
    return state.Closed ? nullptr : state.Engine.get();
}

bool ScopeWindowOpen() {
    const ScopeWindowState& state = TheScopeWindowState();
    return !state.Closed && state.Window.get() != nullptr && state.Engine != nullptr;
}

GwCore* ScopeChild(ScopeWidget which) {
    const ScopeWindowState& state = TheScopeWindowState();
    if (state.Closed || which < 0 || which >= kScopeWidgetCount) return nullptr;
    return state.Widgets[which].get();
}

GwCore* ScopeMessageParent(GwCore* widget) {
    if (widget != nullptr && widget->is_alive() && widget->frame() != nullptr) return widget->frame();
    return TheScopeWindowState().Closed ? nullptr : TheScopeWindowState().Window.get();
}

void SetScopeText(ScopeWidget which, const std::string& text) {
    if (GwCore* w = ScopeChild(which)) w->set_text(text);
}

std::string ScopeText(ScopeWidget which) {
    GwCore* w = ScopeChild(which);
    return w != nullptr ? w->text() : std::string();
}

void SetScopeEnabled(ScopeWidget which, bool on) {
    if (GwCore* w = ScopeChild(which)) w->set_sensitive(on);
}

void SetScopeVisible(ScopeWidget which, bool on) {
    if (GwCore* w = ScopeChild(which)) on ? w->show() : w->hide();
}

void SetScopeChecked(ScopeWidget which, bool on) {
    if (auto* toggle = dynamic_cast<GwToggle*>(ScopeChild(which))) toggle->set_checked(on);
}

bool IsScopeChecked(ScopeWidget which) {
    auto* toggle = dynamic_cast<GwToggle*>(ScopeChild(which));
    return toggle != nullptr && toggle->is_checked();
}

void SetScopeReadOnly(ScopeWidget which, bool on) {
    if (auto* edit = dynamic_cast<GwEdit*>(ScopeChild(which))) edit->set_read_only(on);
}

bool IsSwitchedOff(GwCore* widget) {
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    return toggle != nullptr && !toggle->is_checked();
}

std::string ScopeStateText(const char* key) {
    char text[kMessageTextSize];
    return GetMessageText(text, kScopeStatesSection, key, kMessageTextSize);
}

std::string ScopeTitleText(const char* key) {
    char text[kMessageTextSize];
    return GetMessageText(text, kTitlesSection, key, kMessageTextSize);
}

std::string ScopeNumberText(double value) {
    std::string text = platform::Format("%lf", value);
    if (text.find_first_of(".,") != std::string::npos) {
        while (!text.empty() && text.back() == '0') text.pop_back();
    }
    return text;
}

double ScopeRound(double value) { return RoundToSignificantDigits(value, kShownDigits); }

double ScopeFieldNumber(ScopeWidget which) { return std::atof(ScopeText(which).c_str()); }

std::string ScopeVariableText(const std::string& name) {
    ScopeRecorder* engine = ScopeEngine();
    const char* text = Introduction(engine != nullptr ? engine->GetParaBase() : nullptr, name);
    if (text == nullptr) text = Introduction(Main::ActiveBase(), name);
    return text != nullptr ? text : name;
}
