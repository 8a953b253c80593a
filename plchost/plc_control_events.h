// The host's answers to the PLC editor control's six events: programs to
// and from the archive (parameter data set files) and the device, the
// control's cancel, and the project name it reports.
#pragma once

#include "toolkit/core/gw_event.h"

class GwCore;

inline constexpr char kArchiveTitle[] = "Geräteeinstellung wählen";
inline constexpr char kArchiveFilter[] = "Geräteeinstellung (*.00d)|*.00d";
inline constexpr char kArchiveChooserId[] = "id";
// Parameters of the program load: the run switch and the load state.
inline constexpr int kPlcRunSwitchParameter = 450;
inline constexpr int kPlcLoadStateParameter = 452;
inline constexpr int kPlcLoadedState = 2;
// Main messages: the device runs, no PLC project to read from.
inline constexpr int kDeviceRunningMessage = 110;
inline constexpr int kNoPlcProjectToReadMessage = 120;

int cb_ocx_PlcFileToArchiv(GwCore* widget, GwEvent* event, GwUD userData);
int cb_ocx_PlcFileFromArchiv(GwCore* widget, GwEvent* event, GwUD userData);
int cb_ocx_PlcOnCancel(GwCore* widget, GwEvent* event, GwUD userData);
int cb_ocx_PlcFileFromDevice(GwCore* widget, GwEvent* event, GwUD userData);
int cb_ocx_PlcFileToDevice(GwCore* widget, GwEvent* event, GwUD userData);
int cb_ocx_PlcUpDateProjName(GwCore* widget, GwEvent* event, GwUD userData);
