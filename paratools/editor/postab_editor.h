// The position-table editor "PosTabEditor": the four table parameters of a
// Ruvex drive as spreadsheets, edited on the active device or in a file.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_ref.h"

class GwCore;
class GwSpreadSheet;
class ParaBase;

// Poll record of the sheet timer.
inline constexpr uint32_t kSheetPollMaximumMs = 100000;
inline constexpr uint32_t kSheetPollWeightMs = 1000;
inline constexpr uint32_t kSheetPollMinimumMs = 500;
inline constexpr int kPosTabSheets = 4;
inline constexpr int kPosTabDeviceClass = 4;

struct PosTabEditorState {
    PosTabEditorState();
    ~PosTabEditorState();
    std::string FilePath;
    bool FileMode = false;
    bool CyclicUpdate = false;
    uint8_t DeviceClass = 0;
    bool Changed = false;
    GwRef<> SaveDevice;
    GwRef<> OptCycle;
    GwRef<> StatOffline;
    GwRef<> StatChanged;
    GwRef<> StatCycle;
    std::array<GwRef<GwSpreadSheet>, kPosTabSheets> Sheets{};
    ParaBase* Base = nullptr;
    std::unique_ptr<ParaBase> OwnBase;  // file mode
    GwRef<> Frame;
};

PosTabEditorState* GetPosTabEditor();
// Index of the sheet the cyclic update reads next.
extern int NextPosTabSheet;
void ResetPosTabEditorState();

// The parameter behind each sheet.
int PosTabSheetParameter(int sheet);
// Whether a cell text is a value the table parameter takes: an optional sign
// ('-' only when the minimum is negative) and at least one digit, within
// minimum and maximum.
bool IsValidPosTabCell(ParaBase* base, int number, const std::string& text);

int CB_CreatePosTabEditor(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowPosTabEditor(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CreateSheet(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowSheet(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ResizeSheets(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SpreadSheet(GwCore* widget, GwEvent* event, GwUD userData);
int CB_FocusOutSheet(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DeselectOtherSheets(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetCyleTimer(GwCore* widget, GwEvent* event, GwUD userData);
int CB_TimerPosTabUpdate(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ValueCycle(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CheckDevice(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SavePosTabToDevice(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SavePosTabToFile(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SaveChanges(GwCore* widget, GwEvent* event, GwUD userData);
