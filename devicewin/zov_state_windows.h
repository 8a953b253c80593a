// The three docked windows of a Zov device (family 8): the state window with
// its error lamp, error note, error reset and "save" key, the value window
// (five elements of 401, then 400 and 406) and the current window (seven
// elements of 402).
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

int Zov_Create_State(GwCore* widget, GwEvent* event, GwUD data);
int Zov_Show_State(GwCore* widget, GwEvent* event, GwUD data);
int Zov_Hide_State(GwCore* widget, GwEvent* event, GwUD data);
int Zov_Timer_State(GwCore* widget, GwEvent* event, GwUD data);
// Makes the device store its data set (150 := 1, 8-bit); a refused write
// shows main error 5, so an unsaved set is not taken for stored.
int Zov_Save(GwCore* widget, GwEvent* event, GwUD data);
int Zov_Timer_Val(GwCore* widget, GwEvent* event, GwUD data);
int Zov_Timer_Current(GwCore* widget, GwEvent* event, GwUD data);
