// What is fitted to the drive and what a value means: notes for missing
// option modules and field-bus options, unit texts and suffixes, the texts
// of a branded I/O module, the keypad device window with its own check, the
// tooltip of one bit and the bit-state window of a parameter. Each is a
// callback bound by name that does nothing without a context (except
// CB_BrandIO) and returns 1 unless said otherwise.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

// The option slots and what they hold.
inline constexpr int kOptionSlot1 = 579;
inline constexpr int kOptionSlot2 = 578;
inline constexpr int kModuleCanTarn = 1;
inline constexpr int kModuleCanOpen = 2;
inline constexpr int kModuleProfibus = 3;
// The parameter whose name marks a device with the keypad window.
inline constexpr int kKeypadNameParameter = 13;
inline constexpr char kKeypadParameterName[] = "UAPSP";
// "Window %s is not available for this device".
inline constexpr int kWindowNotAvailableMessage = 79;

// "NoHollin" and "NoQuarn" follow the context's mode checks, then the
// window's standard show and its result.
int CB_DvFctShowIO(GwCore* widget, GwEvent* event, GwUD userData);
// "NoCANtarn", "NoCANopen" and "NoProfibus" are shown while neither slot
// holds their module, then the window's standard show and its result. A
// refused read hides the window after device error 5.
int CB_DvFctShowBusSystem(GwCore* widget, GwEvent* event, GwUD userData);
// The text becomes "[" + the unit of the parameter the widget's name is.
int CB_ShowUnit(GwCore* widget, GwEvent* event, GwUD userData);
// A bound format edit's suffix becomes its parameter's unit.
int CB_ShowUnitSuffix(GwCore* widget, GwEvent* event, GwUD userData);
// [Options] "DigitalHollin" and "NoHollin" of the main profile into the
// widgets of those names.
int CB_BrandIO(GwCore* widget, GwEvent* event, GwUD userData);
// The device window of the user data when parameter 13 is "UAPSP", else the
// error text of message 79 for "13".
int CB_CallDravoDeviceWindow(GwCore* widget, GwEvent* event, GwUD userData);
// The tooltip of a bit widget (named by its bit) becomes the bit's text of
// the parameter bound by its parent's name.
int CB_SetBitInfoTippText(GwCore* widget, GwEvent* event, GwUD userData);
// Opens the bit state window of the user data's target ("n" or "n,i").
int CB_CallBitState(GwCore* widget, GwEvent* event, GwUD userData);
