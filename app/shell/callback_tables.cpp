#include "app/shell/callback_tables.h"

#include "app/main/user_levels.h"
#include "app/mainwindow/device_menus.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/net_list.h"
#include "app/mainwindow/signature_watch.h"
#include "app/notes/risk_note.h"
#include "app/services/activity_message.h"
#include "app/shell/data_set_callbacks.h"
#include "app/shell/help.h"
#include "app/shell/option_book.h"
#include "app/shell/option_settings.h"
#include "app/shell/program_exit.h"
#include "app/shell/run_mode_sets.h"
#include "app/shell/startup_sequence.h"
#include "app/shell/window_callbacks.h"
#include "bus/monitor/bus_monitors.h"
#include "devicewin/device_window.h"
#include "devicewin/device_window_callbacks.h"
#include "devicewin/manual_control_window.h"
#include "families/brand_callbacks.h"
#include "families/copen_norm_windows.h"
#include "families/linear_drive.h"
#include "families/manual_positioning.h"
#include "families/manual_positioning_pesco.h"
#include "families/manual_positioning_ruvex.h"
#include "families/marlo_aop1.h"
#include "families/marlo_control_windows.h"
#include "families/marlo_identification.h"
#include "families/motor_database.h"
#include "families/node_actions.h"
#include "families/pesco_setup_callbacks.h"
#include "families/pesco_setup_extras.h"
#include "families/pos_program_editor_dialog.h"
#include "families/run_mode_descriptions.h"
#include "families/ruvex_cogging_teach.h"
#include "families/ruvex_data_set_copy.h"
#include "families/ruvex_encoder_functions.h"
#include "families/ruvex_motor_functions.h"
#include "families/ruvex_scaling_windows.h"
#include "families/ruvex_side_windows.h"
#include "families/ruvex_test_signal.h"
#include "families/setup_main_window.h"
#include "motor/ident/ident_callbacks.h"
#include "motor/tuning/tuning_callbacks.h"
#include "parameters/datasetcopy/dataset_copy.h"
#include "paratools/compare/compare_window.h"
#include "paratools/editor/parameter_editor.h"
#include "paratools/partbase/part_base_editor.h"
#include "paratools/print/print_wizard.h"
#include "plchost/plc_editor_host.h"
#include "plchost/plc_state_windows.h"
#include "scope/plot/plot_window.h"
#include "scope/window/scope_window.h"
#include "service/debugwatch/debug_watch.h"
#include "service/download/firmware_download.h"
#include "toolkit/core/gw_application.h"

#include <vector>

// Each window's callbacks go into the table that serves it; a name may stand
// in several tables, always bound to the same function.

namespace {

constexpr GwFuncDesc kInterpreter = {kInterpreterName, interpreter};
constexpr GwFuncDesc kEnd = {nullptr, nullptr};

// 1: the main window, its menus and its toolbar.
const GwFuncDesc kMainWindowTable[] = {
    kInterpreter,
    {"CB_StartMacro", CB_StartMacro},
    {"CB_CallNetList", CB_CallNetList},
    {"CB_CanExitTorvel", CB_CanExitTorvel},
    {"CBPlotActivate", CBPlotActivate},
    {"CB_ShowHelp", CB_ShowHelp},
    {"HelpContentsCB", HelpContentsCB},
    {"TorvanHelpIndexCB", TorvanHelpIndexCB},
    {"MainWindow_create", MainWindow_create},
    {"MainWindow_resize", MainWindow_resize},
    {"StateLine_resize", StateLine_resize},
    {"MainWindow_show", MainWindow_show},
    {"CB_SearchDevice", CB_SearchDevice},
    {"CB_ScanNetwork", CB_ScanNetwork},
    {"CB_SetActiveDevice", CB_SetActiveDevice},
    {"CB_KillAllDevices", CB_KillAllDevices},
    {"CB_LoadFromOtherDevice", CB_LoadFromOtherDevice},
    {"CB_StoreToOtherDevice", CB_StoreToOtherDevice},
    {"CB_ChooseDevice", CB_ChooseDevice},
    {"CB_KillDevice", CB_KillDevice},
    {"CB_CheckDeviceSignature", CB_CheckDeviceSignature},
    {"CB_SioMonitor", CB_SioMonitor},
    {"CB_ShowOptionBook", CB_ShowOptionBook},
    {"CB_LoadFirmwareBrenta", CB_LoadFirmwareBrenta},
    // The tool windows, data sets, reset and run-mode sets.
    {"CB_CallParameterEditor", CB_CallParameterEditor},
    {"CB_Call_RunModeEditor", CB_Call_RunModeEditor},
    {"CB_OpenParameterFile", CB_OpenParameterFile},
    {"CB_CallSioMonitor", CB_CallSioMonitor},
    {"CB_CallDebugWatch", CB_CallDebugWatch},
    {"CB_CallDigitalScope", CB_CallDigitalScope},
    {"CB_CallPosTabFileEditor", CB_CallPosTabFileEditor},
    {"CallPosTabEditor", CallPosTabEditor},
    {"CB_ShowProgramInfo", CB_ShowProgramInfo},
    {"CB_IdentUser", CB_IdentUser},
    {"CB_ShowExtras", CB_ShowExtras},
    {"CB_SetWindowList", CB_SetWindowList},
    {"CB_CloseAllWindows", CB_CloseAllWindows},
    {"CallChildWindow", CallChildWindow},
    {"CB_PrintParaFile", CB_PrintParaFile},
    {"CB_PrintADevPara", CB_PrintADevPara},
    {"CB_MakeParcialBase", CB_MakeParcialBase},
    {"CB_NewParameterArchiv", CB_NewParameterArchiv},
    {"CB_ResetDeviceParaSet", CB_ResetDeviceParaSet},
    {"CB_GenerateRunModeParaSets", CB_GenerateRunModeParaSets},
    {"CB_CallDeviceControl", CB_CallDeviceControl},
    {"PosModEditorDialogCB", PosModEditorDialogCB},
    {"CB_CopyFileData2Device", CB_CopyFileData2Device},
    {"CB_CopyDevice2File", CB_CopyDevice2File},
    kEnd,
};

// 2: device windows of the Pesco family.
const GwFuncDesc kPescoTable[] = {
    kInterpreter,
    {"CB_CloseDeviceWindow", CB_CloseDeviceWindow},
    {"Create_CB_5_SetupMain", Create_CB_5_SetupMain},
    {"Show_CB_5_SetupMain", Show_CB_5_SetupMain},
    // The Pesco twins of the brand callbacks do what the Marlo ones do.
    {"CB_5_BrandInstRMode", CB_BrandInstRMode},
    {"CB_5_BrandDravoDialog", CB_BrandDravoDialog},
    {"CB_5_BrandShowHollin", CB_BrandShowHollin},
    {"CB_5_PORTA_Changed", CB_5_PORTA_Changed},
    {"CB_DvFctTakeItPST", CB_DvFctTakeItPST},
    {"CBDeviceHelp", CBDeviceHelp},
    {"CB_5_ShowRunMode", CB_5_ShowRunMode},
    {"CB_5_SelectRunMode", CB_5_SelectRunMode},
    {"CB_5_SelectAndEnableIf", CB_5_SelectAndEnableIf},
    {"M5_ShowMotorTree", M5_ShowMotorTree},
    {"M5_SetNewDir", M5_SetNewDir},
    {"M5_ShowMotorProperties", M5_ShowMotorProperties},
    {"CB_5_TakeMotor", CB_5_TakeMotor},
    {"CB_5_CallNodeAktion", CB_5_CallNodeAktion},
    {"CB_5_SetNodeAktion", CB_5_SetNodeAktion},
    {"CB_5_ShowNodeAktion", CB_5_ShowNodeAktion},
    {"CB_5_PosHand_SetHandMode", CB_5_PosHand_SetHandMode},
    {"CB_5_PosHand_ResetHandMode", CB_5_PosHand_ResetHandMode},
    {"CB_5_PosHand_ControlStart", CB_5_PosHand_ControlStart},
    {"CB_5_PosHand_ControlStop", CB_5_PosHand_ControlStop},
    {"CB_5_PosHand_TippPlus", CB_5_PosHand_TippPlus},
    {"CB_5_PosHand_TippMinus", CB_5_PosHand_TippMinus},
    {"CB5_LeaveTipp", CB5_LeaveTipp},
    {"CB_5_PosHand_SetWayUnit", CB_5_PosHand_SetWayUnit},
    {"CB_5_PosHand_PositionStart", CB_5_PosHand_PositionStart},
    {"CB_5_PosHand_PositionStop", CB_5_PosHand_PositionStop},
    {"CB_5_PosHand_StopRef", CB_5_PosHand_StopRef},
    {"CB_5_PosHand_StopSet", CB_5_PosHand_StopSet},
    {"CB_5_PosHand_StartRef", CB_5_PosHand_StartRef},
    {"CB_5_PosHand_RefTimer", CB_5_PosHand_RefTimer},
    {"CB_5_PosHand_TeachIn", CB_5_PosHand_TeachIn},
    {"CB_5_PosHand_StartNext", CB_5_PosHand_StartNext},
    {"CB_5_PosHand_StartSet", CB_5_PosHand_StartSet},
    {"CB_5_PosHand_ActivateTippMode", CB_5_PosHand_ActivateTippMode},
    {"CB_5_PosHand_ActivatePosMode", CB_5_PosHand_ActivatePosMode},
    {"CB_5_PosHand_ActivateRefMode", CB_5_PosHand_ActivateRefMode},
    {"CB_5_PosHand_ActivateTabMode", CB_5_PosHand_ActivateTabMode},
    {"CB_5_CheckControlState", CB_5_CheckControlState},
    {"CB_5_PosHand_ShowState", CB_5_PosHand_ShowState},
    {"CB_5_PosHand_InitTimer", CB_5_PosHand_InitTimer},
    {"CB_ShowNorm1", CB_ShowNorm1},
    {"CB_CopenUnitShow", CB_CopenUnitShow},
    {"CB_CopenUnitSelect", CB_CopenUnitSelect},
    {"CB_CopenIndexShow", CB_CopenIndexShow},
    {"CB_CopenIndexSelect", CB_CopenIndexSelect},
    {"CB_CopenIndexSelect_Velocity", CB_CopenIndexSelect_Velocity},
    {"CB_CopenTakeIt", CB_CopenTakeIt},
    {"CB_CopenOK_AndChangeDeviceWindow", CB_CopenOK_AndChangeDeviceWindow},
    {"CB_ChangeDeviceWindow", CB_ChangeDeviceWindow},
    {"CB_TakeAndCheckNorm", CB_TakeAndCheckNorm},
    {"CB_OkAndCheckNorm", CB_OkAndCheckNorm},
    {"CB_CopyFileData2Device", CB_CopyFileData2Device},
    {"CB_CopyDevice2File", CB_CopyDevice2File},
    kEnd,
};

// 3: a small set of generic device functions.
const GwFuncDesc kGenericDeviceSmallTable[] = {
    kInterpreter,
    kEnd,
};

// 4: generic device functions.
const GwFuncDesc kGenericDeviceTable[] = {
    kInterpreter,
    {"CB_ShowHelp", CB_ShowHelp},
    {"CBHelpButton", CBHelpButton},
    {"CB_CloseDeviceWindow", CB_CloseDeviceWindow},
    kEnd,
};

// 5: device windows of the Ruvex family.
const GwFuncDesc kRuvexTable[] = {
    kInterpreter,
    {"CB_CloseDeviceWindow", CB_CloseDeviceWindow},
    {"Create_CB_4_SetupMain", Create_CB_4_SetupMain},
    {"Show_CB_4_SetupMain", Show_CB_4_SetupMain},
    {"CBDeviceHelp", CBDeviceHelp},
    {"CB_4_ShowRunMode", CB_4_ShowRunMode},
    {"CB_4_SelectRunMode", CB_4_SelectRunMode},
    {"M4_ShowMotorTree", M4_ShowMotorTree},
    {"M4_SetNewDir", M4_SetNewDir},
    {"M4_ShowMotorProperties", M4_ShowMotorProperties},
    {"CB_4_TakeMotor", CB_4_TakeMotor},
    {"CB_CallNodeAktion", CB_CallNodeAktion},
    {"CB_SetNodeAktion", CB_SetNodeAktion},
    {"CB_ShowNodeAktion", CB_ShowNodeAktion},
    {"CB_4_PosHand_SetHandMode", CB_4_PosHand_SetHandMode},
    {"CB_4_PosHand_ResetHandMode", CB_4_PosHand_ResetHandMode},
    {"CB_4_PosHand_TippPlus", CB_4_PosHand_TippPlus},
    {"CB_4_PosHand_TippMinus", CB_4_PosHand_TippMinus},
    {"CB_4_PosHand_PositionStart", CB_4_PosHand_PositionStart},
    {"CB_4_PosHand_PositionStop", CB_4_PosHand_PositionStop},
    {"CB_4_PosHand_StartRef", CB_4_PosHand_StartRef},
    {"CB_4_PosHand_SetCommand", CB_4_PosHand_SetCommand},
    {"CB_4_PosHand_SetWayUnit", CB_4_PosHand_SetWayUnit},
    {"CB_4_PosHand_SetSpeedUnit", CB_4_PosHand_SetSpeedUnit},
    {"CB_4_PosHand_ShowHighSpeed", CB_4_PosHand_ShowHighSpeed},
    {"CB_4_PosHand_ShowLowSpeed", CB_4_PosHand_ShowLowSpeed},
    {"CB_4_PosHand_ShowRefType", CB_4_PosHand_ShowRefType},
    {"CB_4_PosHand_DeviceStart", CB_4_PosHand_DeviceStart},
    {"CB_4_PosHand_DeviceStop", CB_4_PosHand_DeviceStop},
    {"CB_4_CheckControlState", CB_4_CheckControlState},
    {"CB_4_PosHand_InitTimer", CB_4_PosHand_InitTimer},
    {"CB_StartTipWdgTimer", CB_StartTipWdgTimer},
    {"CB_TimerTipWdg", CB_TimerTipWdg},
    {"CB_4_PosHand_ShowUserSpeed", CB_4_PosHand_ShowUserSpeed},
    {"CB4_Show4CurrentAmplitude", CB4_Show4CurrentAmplitude},
    {"CB4_CtrlTestSignal", CB4_CtrlTestSignal},
    {"CB4_Show_SCDSC", CB4_Show_SCDSC},
    {"CB4_NewScdscSliderValue", CB4_NewScdscSliderValue},
    {"CB4_WriteScdsc", CB4_WriteScdsc},
    {"CB4_ShowSCJ", CB4_ShowSCJ},
    {"CB4_Control_Moment_yes", CB4_Control_Moment_yes},
    {"CB4_Control_Moment_no", CB4_Control_Moment_no},
    {"CB_CallNA1", CB_CallNA1},
    {"CB_CallNA1AndCloseThis", CB_CallNA1AndCloseThis},
    {"CB_CallNA2", CB_CallNA2},
    {"CB_NA2_TakeAndCheck", CB_NA2_TakeAndCheck},
    {"CB4_CalcLinDrive", CB4_CalcLinDrive},
    {"CB4_ShowMotorIdentfication", CB4_ShowMotorIdentfication},
    {"CB4_Mot_ShowEncoderFunc", CB4_Mot_ShowEncoderFunc},
    {"CB4_Mot_CallEnc", CB4_Mot_CallEnc},
    {"CB4_ShowEncSim", CB4_ShowEncSim},
    {"CB4_DvFctOK_EncSim", CB4_DvFctOK_EncSim},
    {"CB4_DvFctTakeIt_EncSim", CB4_DvFctTakeIt_EncSim},
    {"CB_ShowResolutionOfEncoderSim", CB_ShowResolutionOfEncoderSim},
    {"CB_4_CallProgramEditor", CB_4_CallProgramEditor},
    {"CB_4_CallPosTabFileEditor", CB_4_CallPosTabFileEditor},
    {"CB_Timer_CPU_LOAD", CB_Timer_CPU_LOAD},
    {"CB_4_ResetCPULoad", CB_4_ResetCPULoad},
    {"CB_4_ResetError", CB_4_ResetError},
    {"CB_DvFctShowBusSystemRuvex", CB_DvFctShowBusSystemRuvex},
    {"CB_ShowActValues", CB_ShowActValues},
    {"CB4_ShowPRESEL", CB4_ShowPRESEL},
    {"CB_CopyFileData2Device", CB_CopyFileData2Device},
    {"CB_CopyDevice2File", CB_CopyDevice2File},
    {"CB_DoCopyFileData2Device", CB_DoCopyFileData2Device},
    {"CB_DoCopyDevice2File", CB_DoCopyDevice2File},
    kEnd,
};

// 6: Ruvex controller windows.
const GwFuncDesc kRuvexControllerTable[] = {
    kInterpreter,
    {"CB_ShowCurrentAmplitude", CB_ShowCurrentAmplitude},
    {"CB4_Show4CurrentAmplitude", CB4_Show4CurrentAmplitude},
    {"CB4_CtrlTestSignal", CB4_CtrlTestSignal},
    {"CB_4_200_CtrlTestSignal", CB_4_200_CtrlTestSignal},
    {"CB_4_200_TeachCogingTorque", CB_4_200_TeachCogingTorque},
    {"CB_4_200_ShowTeachingProgress", CB_4_200_ShowTeachingProgress},
    {"CB_4_200_InterruptTeachFunction", CB_4_200_InterruptTeachFunction},
    {"CB_4_200_CloseControlWindow", CB_4_200_CloseControlWindow},
    {"CB_4_200_ShowAnticoging", CB_4_200_ShowAnticoging},
    {"CB_4_200_ActivateAnticoging", CB_4_200_ActivateAnticoging},
    kEnd,
};

// 7: Ruvex, firmware variant 200.
const GwFuncDesc kRuvexV200Table[] = {
    kInterpreter,
    {"Create_CB_4_SetupMain", Create_CB_4_SetupMain},
    {"Show_CB_4_SetupMain", Show_CB_4_SetupMain},
    {"CBDeviceHelp", CBDeviceHelp},
    {"CB_4_200_ShowRunMode", CB_4_200_ShowRunMode},
    {"CB_4_200_SelectRunMode", CB_4_200_SelectRunMode},
    {"CB_4_200_ShowHollin", CB_4_200_ShowHollin},
    {"CB_ShowCurrentAmplitude", CB_ShowCurrentAmplitude},
    {"CB_4_200_CtrlTestSignal", CB_4_200_CtrlTestSignal},
    {"CB_4_200_CallMotorData", CB_4_200_CallMotorData},
    {"CB_4_200_StartMotorCalc", CB_4_200_StartMotorCalc},
    {"CB_4_200_CallTypedMotorData", CB_4_200_CallTypedMotorData},
    {"CB_4_200_StartEncoderOffsetDetection", CB_4_200_StartEncoderOffsetDetection},
    {"CB_4_200_ExitEncoderOffsetDetection", CB_4_200_ExitEncoderOffsetDetection},
    kEnd,
};

// 8: Marlo, firmware variant 200.
const GwFuncDesc kMarloV200Table[] = {
    kInterpreter,
    {"Create_CB_3_SetupMain", Create_CB_3_SetupMain},
    {"Show_CB_3_SetupMain", Show_CB_3_SetupMain},
    {"CB_BrandInstRMode", CB_BrandInstRMode},
    {"CB_BrandDravoDialog", CB_BrandDravoDialog},
    {"CB_BrandShowHollin", CB_BrandShowHollin},
    {"CBDeviceHelp", CBDeviceHelp},
    {"CB_3_ShowRunMode", CB_3_ShowRunMode},
    {"CB_3_SelectRunMode", CB_3_SelectRunMode},
    {"CB_3_ShowHollin", CB_3_ShowHollin},
    {"CB3_StartMotorIdent", CB3_StartMotorIdent},
    {"CB_3_ShowIdent", CB_3_ShowIdent},
    {"CB_3_HideIdent", CB_3_HideIdent},
    {"CB_3_StopIdent", CB_3_StopIdent},
    {"CB_3_CheckIdentProgress", CB_3_CheckIdentProgress},
    {"CB_CallCtrlWindow", CB_CallCtrlWindow},
    {"CB_ChangeCtrl", CB_ChangeCtrl},
    {"CB_3_200_DvFctShow_AOP1", CB_3_200_DvFctShow_AOP1},
    {"CB_3_200_DvFctTakeItWVA_AOP1", CB_3_200_DvFctTakeItWVA_AOP1},
    {"CB3_200_ShowLeveling", CB3_200_ShowLeveling},
    kEnd,
};

// 9: Marlo.
const GwFuncDesc kMarloTable[] = {
    kInterpreter,
    {"Create_CB_3_SetupMain", Create_CB_3_SetupMain},
    {"Show_CB_3_SetupMain", Show_CB_3_SetupMain},
    {"CB_BrandInstRMode", CB_BrandInstRMode},
    {"CB_BrandDravoDialog", CB_BrandDravoDialog},
    {"CB_BrandShowHollin", CB_BrandShowHollin},
    {"CBDeviceHelp", CBDeviceHelp},
    {"CB3_DoCopyFileData2Device", CB3_DoCopyFileData2Device},
    {"CB3_DoCopyDevice2File", CB3_DoCopyDevice2File},
    {"CB_3_ShowRunMode", CB_3_ShowRunMode},
    {"CB_3_SelectRunMode", CB_3_SelectRunMode},
    {"CB_3_ShowHollin", CB_3_ShowHollin},
    {"CB3_StartMotorIdent", CB3_StartMotorIdent},
    {"CB_3_ShowIdent", CB_3_ShowIdent},
    {"CB_3_HideIdent", CB_3_HideIdent},
    {"CB_3_StopIdent", CB_3_StopIdent},
    {"CB_3_CheckIdentProgress", CB_3_CheckIdentProgress},
    {"CB_CallCtrlWindow", CB_CallCtrlWindow},
    {"CB_ChangeCtrl", CB_ChangeCtrl},
    {"CB_CopyFileData2Device", CB_CopyFileData2Device},
    {"CB_CopyDevice2File", CB_CopyDevice2File},
    kEnd,
};

// 10 to 12: Ruvex, firmware variant 700.
const GwFuncDesc kRuvexV700FirstTable[] = {
    kInterpreter,
    {"CB_4_700_DvFctShowToggleContainerMotor", CB_4_700_DvFctShowToggleContainerMotor},
    {"CB_4_700_DvFctParaChangeMOT", CB_4_700_DvFctParaChangeMOT},
    {"CB4_ShowMotorIdentfication", CB4_ShowMotorIdentfication},
    kEnd,
};
const GwFuncDesc kRuvexV700SecondTable[] = {
    kInterpreter,
    {"CB4_Mot_ShowEncoderFunc", CB4_Mot_ShowEncoderFunc},
    {"CB4_Mot_CallEnc", CB4_Mot_CallEnc},
    kEnd,
};
const GwFuncDesc kRuvexV700ThirdTable[] = {
    kInterpreter,
    {"CB4_ShowEncSim", CB4_ShowEncSim},
    {"CB4_DvFctOK_EncSim", CB4_DvFctOK_EncSim},
    {"CB4_DvFctTakeIt_EncSim", CB4_DvFctTakeIt_EncSim},
    {"CB_ShowResolutionOfEncoderSim", CB_ShowResolutionOfEncoderSim},
    kEnd,
};

// 13: Marlo device functions and the PLC editor control's events.
const GwFuncDesc kMarloDeviceTable[] = {
    kInterpreter,
    {"CB3_DoCopyFileData2Device", CB3_DoCopyFileData2Device},
    {"CB3_DoCopyDevice2File", CB3_DoCopyDevice2File},
    kEnd,
};

// The PLC editor's opener in the main window's and the Pesco tables.
const GwFuncDesc kMainWindowPlcEntries[] = {
    {"CB_CallPlcProgrammEditor", CB_CallPlcProgrammEditor},
    kEnd,
};

// 14: the parameter print wizard; its list stands beside the wizard.
const GwFuncDesc kPrintWizardShellEntries[] = {
    kInterpreter,
    kEnd,
};

// 15: dialogs, parameter tools, scope, service and option windows, the
// network list. The shell's own entries come first; the compare window, the
// parameter editor, the bus monitors, the debug watch and the oscilloscope
// window keep their lists beside their code and join here.
const GwFuncDesc kGeneralShellEntries[] = {
    kInterpreter,
    {"CB_Info_StartVideo", CB_Info_StartVideo},
    {"Ident_Show", Ident_Show},
    {"Ident_SetEbene", Ident_SetEbene},
    {"CB_IdentOk", CB_IdentOk},
    {"CB_ShowIdent", CB_ShowIdent},
    {"CB_SetPassword", CB_SetPassword},
    {"CB_EnableGlobalHandMode", CB_EnableGlobalHandMode},
    {"CB_GetUserLevelTextById", CB_GetUserLevelTextById},
    {"CB_ShowCloseTorvelText", CB_ShowCloseTorvelText},
    {"CB_ExitTorvel", CB_ExitTorvel},
    {"CB_ShowHelp", CB_ShowHelp},
    {"CB_NoHelp", CB_NoHelp},
    {"CBSetCursor", CBSetCursor},
    {"CBResetCursor", CBResetCursor},
    {"CB_CancelOption", CB_CancelOption},
    {"CB_CancelPartBase", CB_CancelOption},
    {"CB_CloseDebugOption", CB_CancelOption},
    {"CB_DebugCancel", CB_CancelOption},
    {"CB_ShowOption", CB_ShowOption},
    {"CB_SetOption", CB_SetOption},
    {"CB_SearchUserDir", CB_SearchUserDir},
    {"NetList_show", NetList_show},
    {"CB_UpdateDeviceState", CB_UpdateDeviceState},
    {"DeviceList_Default", DeviceList_Default},
    {"CB_SetAliasName", CB_SetAliasName},
    {"CB_CloseNetList", CB_CloseNetList},
    {"CB_Netlist_Key", CB_Netlist_Key},
    {"CB_SioMonitor", CB_SioMonitor},
    {"CB_CreateTextViewer", CB_CreateTextViewer},
    {"CB_DontShowRiskNote_Tuning", CB_DontShowRiskNote_Tuning},
    {"CB_CenterMessage", CB_CenterMessage},
    {"CB_CallNetList", CB_CallNetList},
    {"CB_ShowInformationWindow", CB_ShowInformationWindow},
    kEnd,
};

// The motor and control extras of the Pesco setup windows, in tables 2
// and 16.
const GwFuncDesc kPescoExtrasEntries[] = {
    {"CB5_CalcLinDrive", CB5_CalcLinDrive},
    {"CB5_CallHandMode", CB5_CallHandMode},
    {"CB_ShowCalcCharacteristic", CB_ShowCalcCharacteristic},
    {"CB5_ShowInertia", CB5_ShowInertia},
    {"CB5_ValShowInertia", CB5_ValShowInertia},
    {"CB5_ValHideInertia", CB5_ValHideInertia},
    {"CB5_CallVfcDeviceWindow", CB5_CallVfcDeviceWindow},
    {"Pesco5_ShowCalcStartupCurrent", Pesco5_ShowCalcStartupCurrent},
    {"CB_ShowFieldContol", CB_ShowFieldContol},
    kEnd,
};

// 16: Pesco with controller auto-tuning.
const GwFuncDesc kPescoTuningTable[] = {
    kInterpreter,
    {"CB_1_200_ShowCalcTREFvalue", CB_1_200_ShowCalcTREFvalue},
    kEnd,
};

// One table of several lists, each ended by its null entry, under one null
// entry of its own.
std::vector<GwFuncDesc> JoinTables(std::initializer_list<const GwFuncDesc*> parts) {
    std::vector<GwFuncDesc> table;
    for (const GwFuncDesc* part : parts) {
        for (const GwFuncDesc* entry = part; entry->name != nullptr; ++entry) table.push_back(*entry);
    }
    table.push_back(kEnd);
    return table;
}

// 1 joined: the main window's entries and the PLC editor's opener.
const GwFuncDesc* MainWindowTable() {
    static const std::vector<GwFuncDesc> table = JoinTables({kMainWindowTable, kMainWindowPlcEntries});
    return table.data();
}

// 2 joined: the Pesco entries, the device windows' list, the PLC editor's
// opener, the PLC windows, the Pesco extras, the motor identification and the
// rated point and controller set-up.
const GwFuncDesc* PescoTable() {
    static const std::vector<GwFuncDesc> table = JoinTables({kPescoTable,
                                                             DeviceWindowCallbacks(),
                                                             kMainWindowPlcEntries,
                                                             PlcStateCallbacks(),
                                                             kPescoExtrasEntries,
                                                             MotorIdentCallbacks(),
                                                             MotorTuningCallbacks()});
    return table.data();
}

// 5 joined: the Ruvex entries, the device windows' list and the motor
// identification.
const GwFuncDesc* RuvexTable() {
    static const std::vector<GwFuncDesc> table =
        JoinTables({kRuvexTable, DeviceWindowCallbacks(), MotorIdentCallbacks()});
    return table.data();
}

// 13 joined: the Marlo device functions and the PLC editor with its control's
// events.
const GwFuncDesc* MarloDeviceTable() {
    static const std::vector<GwFuncDesc> table = JoinTables({kMarloDeviceTable, PlcEditorCallbacks()});
    return table.data();
}

const GwFuncDesc* PrintWizardTable() {
    static const std::vector<GwFuncDesc> table = JoinTables({kPrintWizardShellEntries, PrintWizardCallbacks()});
    return table.data();
}

const GwFuncDesc* GeneralTable() {
    static const std::vector<GwFuncDesc> table = JoinTables({kGeneralShellEntries,
                                                             CompareCallbacks(),
                                                             ParameterEditorCallbacks(),
                                                             BusMonitorCallbacks(),
                                                             FirmwareDownloadCallbacks(),
                                                             PartBaseCallbacks(),
                                                             DebugWatchCallbacks(),
                                                             ScopeWindowCallbacks()});
    return table.data();
}

// 17: the plot window; it never names the interpreter.
const GwFuncDesc* PlotTable() {
    static const std::vector<GwFuncDesc> table = JoinTables({PlotWindowCallbacks()});
    return table.data();
}

// A table of device windows: the family's own entries and the device
// windows' list.
template <const GwFuncDesc* Entries>
const GwFuncDesc* DeviceTable() {
    static const std::vector<GwFuncDesc> table = JoinTables({Entries, DeviceWindowCallbacks()});
    return table.data();
}

// 6 joined: the Ruvex controller windows, the device windows' list and the
// speed-controller adjustment.
const GwFuncDesc* RuvexControllerTable() {
    static const std::vector<GwFuncDesc> table =
        JoinTables({kRuvexControllerTable, DeviceWindowCallbacks(), MotorTuningCallbacks()});
    return table.data();
}

// 16 joined: the Pesco auto-tuning entries, the Pesco extras and the
// controller set-up.
const GwFuncDesc* PescoTuningTable() {
    static const std::vector<GwFuncDesc> table =
        JoinTables({kPescoTuningTable, kPescoExtrasEntries, MotorTuningCallbacks()});
    return table.data();
}

}  // namespace

const std::array<const GwFuncDesc*, kCallbackTableCount>& CallbackTables() {
    static const std::array<const GwFuncDesc*, kCallbackTableCount> tables = {
        MainWindowTable(),
        PescoTable(),
        DeviceTable<kGenericDeviceSmallTable>(),
        DeviceTable<kGenericDeviceTable>(),
        RuvexTable(),
        RuvexControllerTable(),
        DeviceTable<kRuvexV200Table>(),
        DeviceTable<kMarloV200Table>(),
        DeviceTable<kMarloTable>(),
        DeviceTable<kRuvexV700FirstTable>(),
        DeviceTable<kRuvexV700SecondTable>(),
        DeviceTable<kRuvexV700ThirdTable>(),
        MarloDeviceTable(),
        PrintWizardTable(),
        GeneralTable(),
        PescoTuningTable(),
        PlotTable(),
    };
    return tables;
}
