#include "app/main/user_levels.h"

#include <array>

#include "app/main/main_display.h"
#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "app/services/services_hooks.h"
#include "app/services/user_level.h"
#include "parameters/parabase/parameter_name.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/profile/gw_profile.h"

namespace {

constexpr int kLowestCodedLevel = 2;
constexpr int kHighestLevel = 6;

struct CodeParameter {
    int number;
    const char* name;
};
// Parameters 362 to 366 hold the codes of levels 2 to 6, 367 the control code.
constexpr CodeParameter kLevelCodeParameters[] = {
    {362, "PSW2"},
    {363, "PSW3"},
    {364, "PSW4"},
    {365, "PSW5"},
    {366, "PSW6"},
};
constexpr CodeParameter kControlCodeParameter = {367, "PSWCT"};

struct LevelState {
    std::array<uint32_t, kHighestLevel + 1> Codes{0, 0, 0, 0, 0, 915, 372};
    uint32_t ControlCode = 0;
    bool HandModeEnabled = false;
    uint16_t Selected = 0;
    GwRef<> LevelTexts;
};

LevelState& State() {
    static LevelState state;
    return state;
}

platform::ResetHook ResetState([] { State() = LevelState(); });

// Reads a code parameter when its name fits; a failed read keeps `code`.
void ReadCode(ParaBase& base, const CodeParameter& p, bool fromDevice, uint32_t* code) {
    if (!HasParameterTrimmedNamed(base, p.number, p.name)) return;
    uint32_t value = 0;
    const int result = fromDevice ? base.ReadValueU32(p.number, &value) : base.GetValueU32(p.number, &value);
    if (result == kParaOk) *code = value;
}

void ReadLevelCodes(ParaBase& base, bool fromDevice) {
    for (int i = 0; i < kHighestLevel - 1; ++i) {
        ReadCode(base, kLevelCodeParameters[i], fromDevice, &State().Codes[kLowestCodedLevel + i]);
    }
}

}  // namespace

void ResetAccessCodes() {
    State().Codes = LevelState().Codes;
    State().ControlCode = 0;
}

void ReadAccessCodes() {
    ResetAccessCodes();
    ParaBase* base = Main::ActiveBase();
    if (base == nullptr) return;
    ReadLevelCodes(*base, true);
    ReadCode(*base, kControlCodeParameter, true, &State().ControlCode);
}

void ReadAccessCodesFrom(ParaBase* base) {
    ResetAccessCodes();
    if (base == nullptr) return;
    ReadLevelCodes(*base, base->IsOnline());
}

void ComputeUserLevel() {
    uint16_t level = 1;
    for (int l = kHighestLevel; l >= kLowestCodedLevel; --l) {
        if (State().Codes[l] == 0) {
            level = static_cast<uint16_t>(l);
            break;
        }
    }
    GwProfile* profile = MainProfile();
    if (profile != nullptr && profile->select_section("AutoStart")) {
        const int admin = profile->read_int("AdmPsw");
        if (admin != 0 && admin > level) level = static_cast<uint16_t>(admin);
    }
    SetUserLevel(level);
    ShowUserLevel();
}

void RefreshUserLevel() {
    if (Main::OnlineDevicePresent()) ReadAccessCodes();
    ComputeUserLevel();
    State().HandModeEnabled = State().ControlCode == 0;
    UpdateLevelDependentTools();
}

void RefreshUserLevelOffline(ParaBase* base) {
    if (Main::OnlineDevicePresent()) return;
    ReadAccessCodesFrom(base);
    ComputeUserLevel();
}

void ShowUserLevel() {
    if (MainDisplay* display = GetMainDisplay()) display->ShowUserLevelText(GetUserLevelText(GetUserLevel()));
}

std::string GetUserLevelText(int level) {
    if (State().LevelTexts == nullptr) {
        State().LevelTexts = GwRcMgr::load(GetMainWindow(), kUserProfileTextWindow, 1);
    }
    if (State().LevelTexts == nullptr) return "Level " + std::to_string(level);
    GwCore* child = State().LevelTexts->frame_child(std::to_string(level));
    return child != nullptr ? child->text() : std::string();
}

uint32_t GetAccessCode(int level) {
    return level >= kLowestCodedLevel && level <= kHighestLevel ? State().Codes[level] : 0;
}

uint32_t GetControlCode() { return State().ControlCode; }
bool IsHandModeEnabled() { return State().HandModeEnabled; }
uint16_t GetSelectedUserLevel() { return State().Selected; }

void SetHandModeEnabled(bool on) { State().HandModeEnabled = on; }
void SetSelectedUserLevel(uint16_t level) { State().Selected = level; }
