// The plot window "PlotTool": its callbacks by name, and the hand-over of a
// fresh recording to the built-in window or an outside plot tool.
#pragma once

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"

class GwCore;

// Shows a recording (the caller's file as string user data, else the
// scratch pair): the built-in window, or the outside tool by the DDE
// command "OpenFirst" ("OpenNext" for a further recording of a series) or a
// start. 1 when handed over, 0 when the tool refused or nothing loaded.
int OpenPlotFirst(GwCore* widget, GwEvent* event, GwUD userData);
int OpenPlotNext(GwCore* widget, GwEvent* event, GwUD userData);
// Loads the scratch pair into the built-in window and shows it; 0 when the
// first load fails.
int ShowInternalPlot(GwCore* widget, GwEvent* event, GwUD userData);

int CBPlotActivate(GwCore* widget, GwEvent* event, GwUD userData);
int CBPlotOpen(GwCore* widget, GwEvent* event, GwUD userData);
int CBPlotSaveAs(GwCore* widget, GwEvent* event, GwUD userData);
int CBPlotCreate(GwCore* widget, GwEvent* event, GwUD userData);
int CBPlotShow(GwCore* widget, GwEvent* event, GwUD userData);
int CBPlotExpose(GwCore* widget, GwEvent* event, GwUD userData);
int CBPlotWindowHelp(GwCore* widget, GwEvent* event, GwUD userData);
int CBPlotPrint(GwCore* widget, GwEvent* event, GwUD userData);
int CBScopeZoom(GwCore* widget, GwEvent* event, GwUD userData);
int CBScopeHide(GwCore* widget, GwEvent* event, GwUD userData);
int CBScopeGridSize(GwCore* widget, GwEvent* event, GwUD userData);
int CBGridShow(GwCore* widget, GwEvent* event, GwUD userData);
int CBGridOK(GwCore* widget, GwEvent* event, GwUD userData);
int CBGridDefault(GwCore* widget, GwEvent* event, GwUD userData);
// Closes the frame of the calling widget.
int CloseCallerFrame(GwCore* widget, GwEvent* event, GwUD userData);

// The plot window's callbacks, ended by a null entry (CBPlotActivate, which
// the main window binds, is not among them).
const GwFuncDesc* PlotWindowCallbacks();
