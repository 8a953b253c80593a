#include "devicewin/device_window_callbacks.h"

#include "devicewin/change_callbacks.h"
#include "devicewin/device_messages.h"
#include "devicewin/device_save.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/io_state_windows.h"
#include "devicewin/parameter_properties.h"
#include "devicewin/run_mode_window.h"
#include "devicewin/scope_channels.h"
#include "devicewin/set_para_wait.h"
#include "devicewin/take_over.h"
#include "devicewin/utility_callbacks.h"
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
    {"CB_DvFctTakeIt", CB_DvFctTakeIt},
    {"TakeItForControl", TakeItForControl},
    {"CB_DvFctOK", CB_DvFctOK},
    {"CB_DvFctOK_IgnoreRm", CB_DvFctOK_IgnoreRm},
    {"CB_TakeItSaveDeviceAndCloseWindow", CB_TakeItSaveDeviceAndCloseWindow},
    {"CB_SaveDevice", CB_SaveDevice},
    {"Hide_CB_SetupMain", Hide_CB_SetupMain},
    {"CB_DvFctParaProperties", CB_DvFctParaProperties},
    {"CB_DvFctParaHelp", CB_DvFctParaHelp},
    {"CB_DvFctParaChange", CB_DvFctParaChange},
    {"CB_DvFctParaChangeDirect", CB_DvFctParaChangeDirect},
    {"CB_CallRunMode", CB_CallRunMode},
    {"CB_InstallRunMode", CB_InstallRunMode},
    {"CB_SetParaWait", CB_SetParaWait},
    {"CB_DS_Init", CB_DS_Init},
    {"CB_DS_SetTipText", CB_DS_SetTipText},
    {"CB_DS_Popup", CB_DS_Popup},
    {"CB_DS_SetToCh", CB_DS_SetToCh},
    {"CB_ShowMotorIdent", CB_ShowMotorIdent},
    {"CB_OverlenContent2Tooltip", CB_OverlenContent2Tooltip},
    {"CB_CallExplorer", CB_CallExplorer},
    {"CB_SetDeviceNameAsText", CB_SetDeviceNameAsText},
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
