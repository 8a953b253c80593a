// The state windows of the drive models Ruvex, Marlo, Pesco and Wenzo: the
// device's state text, an error lamp with the error text and its reset key,
// and the device error note offered once per error.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

int Ruvex_Create_State(GwCore* widget, GwEvent* event, GwUD data);
int Ruvex_Show_State(GwCore* widget, GwEvent* event, GwUD data);
int Ruvex_Timer_State(GwCore* widget, GwEvent* event, GwUD data);
int Ruvex_Hide_State(GwCore* widget, GwEvent* event, GwUD data);
int Marlo_Create_State(GwCore* widget, GwEvent* event, GwUD data);
int Marlo_Show_State(GwCore* widget, GwEvent* event, GwUD data);
int Marlo_Timer_State(GwCore* widget, GwEvent* event, GwUD data);
int Marlo_Hide_State(GwCore* widget, GwEvent* event, GwUD data);
int Pesco_Create_State(GwCore* widget, GwEvent* event, GwUD data);
int Pesco_Show_State(GwCore* widget, GwEvent* event, GwUD data);
int Pesco_Timer_State(GwCore* widget, GwEvent* event, GwUD data);
int Pesco_Hide_State(GwCore* widget, GwEvent* event, GwUD data);
int Wenzo_Create_State(GwCore* widget, GwEvent* event, GwUD data);
int Wenzo_Show_State(GwCore* widget, GwEvent* event, GwUD data);
int Wenzo_Timer_State(GwCore* widget, GwEvent* event, GwUD data);
int Wenzo_Hide_State(GwCore* widget, GwEvent* event, GwUD data);
// Bound as Ruvex_Eres and Marlo_Eres: resets the active device's error
// (74 := 1, 8-bit); the result is not looked at.
int Ruvex_Eres(GwCore* widget, GwEvent* event, GwUD data);
