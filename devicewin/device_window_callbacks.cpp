#include "devicewin/device_window_callbacks.h"

#include "app/services/empty_callback.h"
#include "devicewin/device_state_windows.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/state_window_support.h"
#include "devicewin/widget_take.h"
#include "devicewin/zov_state_windows.h"

namespace {

const GwFuncDesc kDeviceWindowCallbacks[] = {
    {"CB_CallDeviceWindow", CB_CallDeviceWindow},
    {"CB_CloseDeviceWindow_Update_Parent", CB_CloseDeviceWindow_Update_Parent},
    {"CB_DvFctShowStandard", CB_DvFctShowStandard},
    {"CB_DvFctShowObject", CB_DvFctShowObject},
    {"CB_DvFctInitTimerObject", CB_DvFctInitTimerObject},
    {"CB_DvFctInitTimerStandard", CB_DvFctInitTimerStandard},
    {"CB_DvFctTimerObject", CB_DvFctTimerObject},
    {"CB_DvFctTimerStandard", CB_DvFctTimerStandard},
    {"CB_StopAllTimer", CB_StopAllTimer},
    {"CB_SwitchSize", CB_SwitchSize},
    {"CB_SetFocusToDefault", CB_SetFocusToDefault},
    {"CB_EnableTakeItBut", CB_EnableTakeItBut},
    {"CB_MarkAllChanged", CB_MarkAllChanged},
    {"Ruvex_Create_State", Ruvex_Create_State},
    {"Ruvex_Show_State", Ruvex_Show_State},
    {"Ruvex_Timer_State", Ruvex_Timer_State},
    {"Ruvex_Hide_State", Ruvex_Hide_State},
    {"Marlo_Create_State", Marlo_Create_State},
    {"Marlo_Show_State", Marlo_Show_State},
    {"Marlo_Timer_State", Marlo_Timer_State},
    {"Marlo_Hide_State", Marlo_Hide_State},
    {"Pesco_Create_State", Pesco_Create_State},
    {"Pesco_Show_State", Pesco_Show_State},
    {"Pesco_Timer_State", Pesco_Timer_State},
    {"Pesco_Hide_State", Pesco_Hide_State},
    {"Wenzo_Create_State", Wenzo_Create_State},
    {"Wenzo_Show_State", Wenzo_Show_State},
    {"Wenzo_Timer_State", Wenzo_Timer_State},
    {"Wenzo_Hide_State", Wenzo_Hide_State},
    {"Ruvex_Eres", Ruvex_Eres},
    {"Marlo_Eres", Ruvex_Eres},
    {"Zov_Create_State", Zov_Create_State},
    {"Zov_Show_State", Zov_Show_State},
    {"Zov_Hide_State", Zov_Hide_State},
    {"Zov_Timer_State", Zov_Timer_State},
    {"Zov_Save", Zov_Save},
    {"Zov_Create_Val", EmptyCallback},
    {"Zov_Create_Current", EmptyCallback},
    {"Zov_Show_Val", ShowPollingWindowWhenOnline},
    {"Zov_Show_Current", ShowPollingWindowWhenOnline},
    {"Zov_Hide_Val", HidePollingWindow},
    {"Zov_Hide_Current", HidePollingWindow},
    {"Zov_Timer_Val", Zov_Timer_Val},
    {"Zov_Timer_Current", Zov_Timer_Current},
    {nullptr, nullptr},
};

}  // namespace

const GwFuncDesc* DeviceWindowCallbacks() { return kDeviceWindowCallbacks; }
