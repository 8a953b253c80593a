#include "devicewin/device_window_callbacks.h"

#include "devicewin/device_messages.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/io_state_windows.h"
#include "devicewin/widget_take.h"

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
    {"Ruvex_Create_IOState", Ruvex_Create_IOState},
    {"Ruvex_Show_IOState", Ruvex_Show_IOState},
    {"Ruvex_Hide_IOState", Ruvex_Hide_IOState},
    {"Ruvex_Timer_IOState", Ruvex_Timer_IOState},
    {"Ruvex_Timer_fct", Ruvex_Timer_fct},
    {"Ruvex_Switch_IOStat", Ruvex_Switch_IOStat},
    {"Marlo_Create_IOState", Marlo_Create_IOState},
    {"Marlo_Show_IOState", Marlo_Show_IOState},
    {"Marlo_Hide_IOState", Marlo_Hide_IOState},
    {"Marlo_Timer_IOState", Marlo_Timer_IOState},
    {"Marlo_Timer_fct", Marlo_Timer_fct},
    {"Marlo_Switch_IOStat", Marlo_Switch_IOStat},
    {"Pesco_Create_IOState", Pesco_Create_IOState},
    {"Pesco_Show_IOState", Pesco_Show_IOState},
    {"Pesco_Hide_IOState", Pesco_Hide_IOState},
    {"Pesco_Timer_IOState", Pesco_Timer_IOState},
    {"Pesco_Timer_fct", Pesco_Timer_fct},
    {"Pesco_Switch_IOStat", Pesco_Switch_IOStat},
    {"Talin_Create_IOState", Talin_Create_IOState},
    {"Talin_Show_IOState", Talin_Show_IOState},
    {"Talin_Hide_IOState", Talin_Hide_IOState},
    {"Talin_Timer_IOState", Talin_Timer_IOState},
    {"Talin_Timer_fct", Talin_Timer_fct},
    {"Talin_Switch_IOStat", Talin_Switch_IOStat},
    {"Wenzo_Create_IOState", Wenzo_Create_IOState},
    {"Wenzo_Show_IOState", Wenzo_Show_IOState},
    {"Wenzo_Hide_IOState", Wenzo_Hide_IOState},
    {"Wenzo_Timer_IOState", Wenzo_Timer_IOState},
    {"Wenzo_Timer_fct", Wenzo_Timer_fct},
    {"Wenzo_Switch_IOStat", Wenzo_Switch_IOStat},
    {"DMSG_Show", DMSG_Show},
    {"DMSG_Hide", DMSG_Hide},
    {"DMSG_Timer", DMSG_Timer},
    {"DMSG_Reset", DMSG_Reset},
    {"DMSG_SaveAs", DMSG_SaveAs},
    {nullptr, nullptr},
};

}  // namespace

const GwFuncDesc* DeviceWindowCallbacks() { return kDeviceWindowCallbacks; }
