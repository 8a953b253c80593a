// Taking a device window's changed widgets over into the device (or, offline,
// into the table): the walk that stops at the first refused widget, and the
// take-over, OK and control callbacks built on it. Each returns 1 unless said
// otherwise; without a device context they do nothing.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

// Takes every changed widget of the window over; when all were taken,
// refreshes the window and marks the context modified.
int CB_DvFctTakeIt(GwCore* widget, GwEvent* event, GwUD userData);
// The same for the widgets of the calling dialog frame only.
int TakeItForControl(GwCore* widget, GwEvent* event, GwUD userData);
// Takes every changed widget over; when all were taken, marks the context
// modified and hides the window.
int CB_DvFctOK(GwCore* widget, GwEvent* event, GwUD userData);
// Online, first lets the next run-mode change pass the signature watch and
// closes the device-control windows; then CB_DvFctOK and its result.
int CB_DvFctOK_IgnoreRm(GwCore* widget, GwEvent* event, GwUD userData);
// One child of a take-over walk whose user data is the frame walked: 0 stops
// the walk (the child's value was refused, and reported).
int TakeChildWidgetValue(GwCore* child, GwUD frame);
// Takes the changed widgets of `frame` below `below` over; true when every
// one was taken. Used by the callbacks that write before they act.
bool TakeOverFrame(GwCore* below, GwCore* frame);
