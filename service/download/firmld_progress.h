// The progress window of a firmware download: it hands its transcript,
// status line and slider to the boot-loader tool's console, and cannot be
// closed while the download runs.
#pragma once

#include "toolkit/core/gw_event.h"

inline constexpr char kFirmwareProgressWindow[] = "ProgressFirmld";
inline constexpr char kDownloadNotInterruptibleText[] =
    "Die Übertragung einer neuen Gerätesoftware kann nicht unterbrochen werden";

// Whether no download runs (the window may close); true at start.
bool FirmwareDownloadFinished();
void SetFirmwareDownloadFinished(bool finished);

int CB_ShowFirmldProgress(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CloseFirmldProgress(GwCore* widget, GwEvent* event, GwUD userData);
