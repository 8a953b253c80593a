// Callbacks of the compare window, its options window and the report window.
#pragma once

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"

class GwCore;

int CB_ShowCompare(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SearchParaBase(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SearchFile(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SearchEditor(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CompareOk(GwCore* widget, GwEvent* event, GwUD userData);
int CB_HideCompare(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowCompareOptions(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetCompareOptions(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ResetCompareOptions(GwCore* widget, GwEvent* event, GwUD userData);
// Also registered as CB_HideValText and CB_DestroyBusMonitor.
int CB_HideCompareOptions(GwCore* widget, GwEvent* event, GwUD userData);

// Every callback of the compare and options windows under its names, ended
// by the null entry; the program joins it into its general table.
const GwFuncDesc* CompareCallbacks();

inline constexpr char kCompareWindow[] = "ParaCompare";
inline constexpr char kCompareOptionsWindow[] = "CompareOptions";
inline constexpr char kCompareResultWindow[] = "CompareResult";
