// The motor pages of the Ruvex (family-4) setup windows: the motor-data
// window chosen by the motor kind, the motor-data calculation inside the
// drive, the encoder offset detection, the motor-kind containers of the
// firmware-7.00 motor window and the motor identification button. Every
// callback reaches the drive through the setup context of its window and
// returns 1 at once when the window carries none.
#pragma once

#include <cstdint>

#include "toolkit/core/gw_event.h"

class GwCore;

inline constexpr int kMotorKindParameter = 153;  // 1: synchronous
inline constexpr int kMotorCalcParameter = 163;  // 2 starts the calculation and reads 2 while it runs
inline constexpr int kMotorIdentStateParameter = 832;
inline constexpr char kMotorKindGroupName[] = "_PN_153";
inline constexpr char kAsynchronousContainerName[] = "ASM";
inline constexpr char kSynchronousContainerName[] = "PSM";
inline constexpr char kEncoderOffsetIdName[] = "ECOID";
inline constexpr char kEncoderOffsetName[] = "ECOFF";
inline constexpr char kMotorDataWindow[] = "4_200_Motordata";
inline constexpr char kSynchronousMotorDataWindow[] = "4_200_Motordata_Synchron";
inline constexpr char kTypedMotorDataWindow[] = "4_200_FirstCom2";
inline constexpr char kSynchronousTypedMotorDataWindow[] = "4_200_FirstCom2_Synchron";
inline constexpr char kTypedMotorDataError[] =
    "Internal error in file CB_4_200Main in function CB_4_200_CallTypedMotorData";
// Activity messages while the drive detects the offset or calculates.
inline constexpr int kEncoderOffsetActivity = 27;
inline constexpr int kMotorCalcActivity = 28;
// Main messages: store the changes in the device, in the file?
inline constexpr int kStoreInDeviceQuestion = 75;
inline constexpr int kStoreInFileQuestion = 76;
// The identification button is for this user level and above.
inline constexpr int kMotorIdentUserLevel = 6;
// How long the calculation may keep 163 at 2 before it counts as hung.
inline constexpr uint64_t kMotorCalcTimeoutUs = 19'000'000;

int CB_4_200_CallMotorData(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_200_StartMotorCalc(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_200_CallTypedMotorData(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_200_StartEncoderOffsetDetection(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_200_ExitEncoderOffsetDetection(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_700_DvFctShowToggleContainerMotor(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_700_DvFctParaChangeMOT(GwCore* widget, GwEvent* event, GwUD userData);
int CB4_ShowMotorIdentfication(GwCore* widget, GwEvent* event, GwUD userData);
