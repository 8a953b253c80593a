#include "motor/ident/scope_settings.h"

#include "motor/ident/ident_parameters.h"
#include "scope/recorder/scope_recorder.h"

namespace {

// Whether the getter just called read its value; the engine has shown its
// box for one that did not.
bool ReadOk(ScopeRecorder& scope) {
    const bool ok = !scope.HasError();
    scope.ClearError();
    return ok;
}

}  // namespace

bool SaveScopeSettings() {
    SavedScopeSettings& saved = TheMotorIdentState().SavedScope;
    saved = SavedScopeSettings{};
    ScopeRecorder scope("");
    scope.ClearError();
    saved.TriggerChannel = scope.GetTriggerChannel();
    saved.HasTriggerChannel = ReadOk(scope);
    saved.TriggerLevel = static_cast<float>(scope.GetTriggerLevel());
    saved.HasTriggerLevel = ReadOk(scope);
    saved.TriggerMode = scope.GetTriggerMode();
    saved.HasTriggerMode = ReadOk(scope);
    saved.PreTrigger = static_cast<float>(scope.GetPreTrigger());
    saved.HasPreTrigger = ReadOk(scope);
    for (int channel = 0; channel < kScopeChannelCount; ++channel) {
        std::string name = scope.GetChannelVariableName(channel);
        if (name.size() >= kScopeVariableSlotSize) name.resize(kScopeVariableSlotSize - 1);
        const bool read = ReadOk(scope) && !name.empty();
        saved.ChannelVariables[channel] = name;
        saved.HasChannelVariable[channel] = read;
    }
    saved.TimeBase = static_cast<float>(scope.GetTimeBase());
    saved.HasTimeBase = ReadOk(scope);
    return true;
}

bool RestoreScopeSettings() {
    const SavedScopeSettings& saved = TheMotorIdentState().SavedScope;
    ScopeRecorder scope("");
    if (saved.HasTriggerChannel) scope.SetTriggerChannel(saved.TriggerChannel);
    if (saved.HasTriggerLevel) scope.SetTriggerLevel(saved.TriggerLevel);
    if (saved.HasTriggerMode) scope.SetTriggerMode(saved.TriggerMode);
    if (saved.HasPreTrigger) scope.SetPreTrigger(saved.PreTrigger);
    for (int channel = 0; channel < kScopeChannelCount; ++channel) {
        if (saved.HasChannelVariable[channel])
            scope.SetChannelVariable(channel, saved.ChannelVariables[channel].c_str());
    }
    if (saved.HasTimeBase) scope.SetTimeBase(saved.TimeBase);
    return true;
}
