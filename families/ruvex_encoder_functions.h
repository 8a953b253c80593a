// The encoder pages of the Ruvex (family-4) setup windows: the chooser of
// the encoder function with its three encoder windows, the encoder
// simulation's bit options and the resolution of the simulated encoder.
// Every callback reaches the drive through the setup context of its window
// and returns 1 at once when the window carries none.
#pragma once

#include "toolkit/core/gw_event.h"

class GwCore;

inline constexpr int kEncoderOptionParameter = 431;        // the one-letter text "R" for F1 and F2
inline constexpr int kSimulatedResolutionParameter = 432;  // shown only
inline constexpr int kEncoderFunctionParameter = 450;      // "OFF" chooses F0
inline constexpr int kEncoderTypeParameter = 451;          // "RES" chooses F1
inline constexpr int kCommutationParameter = 886;
inline constexpr int kEncoderSimulationParameter = 889;  // bit field
inline constexpr char kCommutationName[] = "Commutation";
inline constexpr int kCommutationUserLevel = 5;
// The encoder-function toggles and the windows they open.
inline constexpr const char* kEncoderFunctionNames[] = {"F0", "F1", "F2"};
inline constexpr const char* kEncoderWindows[] = {"4_Enc_F0", "4_Enc_F1", "4_Enc_F2"};
// The lists of the simulation's bit fields: bits 0-1, 2, 3 and 4.
inline constexpr const char* kSimulationListNames[] = {"Bit01", "Bit2", "Bit3", "Bit4"};

int CB4_Mot_ShowEncoderFunc(GwCore* widget, GwEvent* event, GwUD userData);
int CB4_Mot_CallEnc(GwCore* widget, GwEvent* event, GwUD userData);
int CB4_ShowEncSim(GwCore* widget, GwEvent* event, GwUD userData);
int CB4_DvFctOK_EncSim(GwCore* widget, GwEvent* event, GwUD userData);
int CB4_DvFctTakeIt_EncSim(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowResolutionOfEncoderSim(GwCore* widget, GwEvent* event, GwUD userData);
