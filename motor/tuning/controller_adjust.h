// The speed-controller adjustment of the controller set-up windows: the motor
// data the adjustment works with, the speed and position controller settings
// recomputed from the stiffness value and the actual-value filter, and their
// transfer into the window's parameter fields.
#pragma once

#include <memory>
#include <optional>

#include "toolkit/core/gw_event.h"

class DeviceSetupContext;
class GwCore;
class OnOffBase;

// Parameters the adjustment reads, in the order it reads them.
inline constexpr int kRatedPowerParameter = 154;
inline constexpr int kPolePairsParameter = 844;
inline constexpr int kMotorInertiaParameter = 160;
inline constexpr int kTotalInertiaParameter = 817;
inline constexpr int kSpeedLoopDelayParameter = 815;
inline constexpr int kPositionLoopDelayParameter = 474;
// The parameters whose display texts the results take.
inline constexpr int kSpeedGainParameter = 810;
inline constexpr int kSpeedResetTimeParameter = 812;
inline constexpr int kPositionGainParameter = 473;

// Window fields.
inline constexpr char kStiffnessFieldName[] = "scdsc";
inline constexpr char kStiffnessSliderName[] = "scdsc_slider";
inline constexpr char kFilterFieldName[] = "_PN_818";
inline constexpr char kSpeedGainShownName[] = "SCG";
inline constexpr char kSpeedResetShownName[] = "SCTLG";
inline constexpr char kPositionGainShownName[] = "PCG";
inline constexpr char kSpeedGainFieldName[] = "_PN_810";
inline constexpr char kSpeedResetFieldName[] = "_PN_812";
inline constexpr char kPositionGainFieldName[] = "_PN_473";
inline constexpr char kTakeCalculatedName[] = "TakeCalculated";
inline constexpr char kMotorIdentWindowName[] = "5_MotorIdent";

// The motor data of the set-up window that initialised it last. A value
// that could not be read stays 0.
struct ControllerAdjustData {
    // The parameter copy of the window's context; valid while ContextLife is.
    OnOffBase* Base = nullptr;
    std::weak_ptr<const void> ContextLife;
    double MotorInertia = 0.0;       // 160
    double TotalInertia = 0.0;       // 817
    double SpeedLoopDelay = 0.0;     // 815, s
    double PositionLoopDelay = 0.0;  // 474, s
    double RatedPower = 0.0;         // 154, kW
    double PolePairs = 0.0;          // 844
};

struct ControllerAdjustState {
    std::optional<ControllerAdjustData> Data;
};
ControllerAdjustState& TheControllerAdjustState();

// Recomputes the speed and position controller of the set-up window `window`
// and shows the results ("SCG", "SCTLG", "PCG"); leaves them when a field
// is empty or the calculation gives no result.
void RecalcSpeedController(GwCore* window);

int CB2_NewCtrlAdjustData(GwCore* widget, GwEvent* event, GwUD userData);
int CB5_RefreshCtrlPara(GwCore* widget, GwEvent* event, GwUD userData);
int CB2_NewScdscSliderValue(GwCore* widget, GwEvent* event, GwUD userData);
int CB2_NewScdscValue(GwCore* widget, GwEvent* event, GwUD userData);
int CB5_NewEctfValue(GwCore* widget, GwEvent* event, GwUD userData);
int CB2_TakeCalculatedCtrlData(GwCore* widget, GwEvent* event, GwUD userData);
int CB2_CallTypedMotorData(GwCore* widget, GwEvent* event, GwUD userData);
