// Whole data sets between parameter base files and the active device, the
// print wizard for a file or the device, the partial parameter-base editor,
// the rebuild of the active device's cached base and the factory reset.
#pragma once

#include <memory>

#include "toolkit/core/gw_event.h"

class GwCore;
class ParaBase;

inline constexpr char kPrintWizardWindow[] = "PrintPara0";
inline constexpr char kPartialBaseWindow[] = "ChooseUsedPara";
// Parameter that takes the reset code, and the codes.
inline constexpr int kResetCommandParameter = 4;
inline constexpr uint16_t kResetCodeDefault = 815;
inline constexpr uint16_t kResetCodeLong = 850;

// Chooses a file and writes its data set into the active device, after the
// risk note; retried as long as the user answers the failure with yes.
void CopyFileData2Device();
// Chooses a file (asking before an existing set is overwritten), reads the
// active device's data set and writes it there.
void CopyDevice2File();

// The copy between a file and the active device from the setup windows and
// the main toolbar: question 86 while the device control windows are open,
// then for family 4 the copy windows of its file set, for families 3, 5, 6
// and 7 the script-window copy, for any other family the plain copy above.
// The copy into the device refuses a running device (info 110). Return 1.
int CB_CopyFileData2Device(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CopyDevice2File(GwCore* widget, GwEvent* event, GwUD userData);

// The print wizard for a chosen file, loaded into the program's print base.
int CB_PrintParaFile(GwCore* widget, GwEvent* event, GwUD userData);
// The print wizard for the active device.
int CB_PrintADevPara(GwCore* widget, GwEvent* event, GwUD userData);
// The partial parameter-base editor for a chosen file; 0 on cancel.
int CB_MakeParcialBase(GwCore* widget, GwEvent* event, GwUD userData);
// Deletes the active device's cached base (and its description file when
// the device names one) and finds and activates the device again, so the
// cache is built anew from the device.
int CB_NewParameterArchiv(GwCore* widget, GwEvent* event, GwUD userData);
// Factory reset of the active device's parameter set, then the signature
// check.
int CB_ResetDeviceParaSet(GwCore* widget, GwEvent* event, GwUD userData);

// Reset code and wait in seconds of a device family.
struct ResetStep {
    uint16_t code;
    int waitSeconds;
};
ResetStep ResetStepOf(int family);

// The program's print base: made at first use, dropped at the program's end.
ParaBase& PrintParaBase();
// Drops the print base at the end of the main window's run.
void ReleaseProgramBases();
