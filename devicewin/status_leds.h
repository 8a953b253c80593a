// Status LEDs: pictures named "SwitchLED" whose user data is a condition on
// parameter values; their window's timer switches them between "LED_ON",
// "LED_OFF", "LED_ERR" (the read failed) and "LED_HIDE" (the parameter is
// absent; the LED is then no longer polled).
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

// "n=v;n=v...": "LED_OFF" while every pair holds, else "LED_ON".
int CB_Timer_ShowLED(GwCore* widget, GwEvent* event, GwUD userData);
int ShowLedChild(GwCore* child, GwUD walkData);
// Mode 'S' or 'H', then "n[i]=v" pairs joined by '&' or '|' from left to
// right; 'S' lights while the condition holds, 'H' while it does not.
int CB_Timer_ShowLED_Extended(GwCore* widget, GwEvent* event, GwUD userData);
int ShowLedExtendedChild(GwCore* child, GwUD walkData);
