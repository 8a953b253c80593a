#include "motor/tuning/tuning_callbacks.h"

#include "motor/tuning/controller_adjust.h"
#include "motor/tuning/current_test_signal.h"
#include "motor/tuning/drive_runs.h"
#include "motor/tuning/rated_point.h"

const GwFuncDesc* MotorTuningCallbacks() {
    static const GwFuncDesc kCallbacks[] = {
        {"CB5_CalcRatedPoint", CB5_CalcRatedPoint},
        {"CB2_NewCtrlAdjustData", CB2_NewCtrlAdjustData},
        {"CB5_RefreshCtrlPara", CB5_RefreshCtrlPara},
        {"CB2_NewScdscSliderValue", CB2_NewScdscSliderValue},
        {"CB2_NewScdscValue", CB2_NewScdscValue},
        {"CB5_NewEctfValue", CB5_NewEctfValue},
        {"CB2_TakeCalculatedCtrlData", CB2_TakeCalculatedCtrlData},
        {"CB_Show2CurrentAmplitude", CB_Show2CurrentAmplitude},
        {"CB_2_CtrlTestSignal", CB_2_CtrlTestSignal},
        {"CB2_CallTypedMotorData", CB2_CallTypedMotorData},
        {"CB2_DetectEncoderOffset", CB2_DetectEncoderOffset},
        {"CB_1_200_StartAutoTuning", CB_1_200_StartAutoTuning},
        {"CB_1_200_DefaultAutoTuningAdjustment", CB_1_200_DefaultAutoTuningAdjustment},
        {nullptr, nullptr},
    };
    return kCallbacks;
}
