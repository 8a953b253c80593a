// The value windows of the drive models (reference and actual values with
// their units, laid out by the drive's operating mode or control type), the
// Ruvex positioning-module window, the Marlo data-set window and the Pesco
// drive-set window.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

int Ruvex_Create_Val(GwCore* widget, GwEvent* event, GwUD data);
int Ruvex_Show_Val(GwCore* widget, GwEvent* event, GwUD data);
int Ruvex_Timer_Val(GwCore* widget, GwEvent* event, GwUD data);
int Ruvex_200_Create_Val(GwCore* widget, GwEvent* event, GwUD data);
int Ruvex_200_Show_Val(GwCore* widget, GwEvent* event, GwUD data);
int Ruvex_200_Timer_Val(GwCore* widget, GwEvent* event, GwUD data);
int Marlo_Create_Val(GwCore* widget, GwEvent* event, GwUD data);
int Marlo_Show_Val(GwCore* widget, GwEvent* event, GwUD data);
int Marlo_Timer_Val(GwCore* widget, GwEvent* event, GwUD data);
int Marlo_200_Create_Val(GwCore* widget, GwEvent* event, GwUD data);
int Marlo_200_Show_Val(GwCore* widget, GwEvent* event, GwUD data);
int Marlo_200_Timer_Val(GwCore* widget, GwEvent* event, GwUD data);
int Pesco_Create_Val(GwCore* widget, GwEvent* event, GwUD data);
int Pesco_Show_Val(GwCore* widget, GwEvent* event, GwUD data);
int Pesco_Timer_Val(GwCore* widget, GwEvent* event, GwUD data);

int Ruvex_Create_PosMod(GwCore* widget, GwEvent* event, GwUD data);
int Ruvex_Timer_PosMod(GwCore* widget, GwEvent* event, GwUD data);
int Marlo_Create_Set(GwCore* widget, GwEvent* event, GwUD data);
int Marlo_Timer_Set(GwCore* widget, GwEvent* event, GwUD data);
int Pesco_Create_DriveSet(GwCore* widget, GwEvent* event, GwUD data);
int Pesco_Timer_DriveSet(GwCore* widget, GwEvent* event, GwUD data);
