// The family-5 norm windows: the unit and exponent lists of "5_Norm1", the
// unit texts composed from them, the factor page that computes the reduced
// position and velocity factors, and the calculated display of the
// auto-tuning windows.
#pragma once

#include <string>

class GwCore;
class GwUD;
class ParaBase;
struct GwEvent;

inline constexpr char kNorm1WindowName[] = "5_Norm1";
inline constexpr char kPositionUnitName[] = "PositionUnit";
inline constexpr char kPositionIndexName[] = "PositionIndex";
inline constexpr char kVelocityIndexName[] = "VelocityIndex";
inline constexpr char kAccelerationIndexName[] = "AccelerationIndex";
inline constexpr char kNoteSuffix[] = "Note";
inline constexpr char kPositionTextName[] = "_PN_792";
inline constexpr char kVelocityTextName[] = "_PN_793";
inline constexpr char kAccelerationTextName[] = "_PN_796";
inline constexpr char kCopenDimensionSection[] = "CopenUnitDimensions";

int CB_ShowNorm1(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CopenUnitShow(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CopenUnitSelect(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CopenIndexShow(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CopenIndexSelect(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CopenIndexSelect_Velocity(GwCore* widget, GwEvent* event, GwUD userData);
// Stores the unit and exponent choices and the unit texts, then takes the
// window's other changed values; 0 when a choice is missing or a store failed.
int CB_CopenTakeIt(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CopenOK_AndChangeDeviceWindow(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ChangeDeviceWindow(GwCore* widget, GwEvent* event, GwUD userData);
// Takes the window's values, then computes and stores 790, 791 and 794,
// lowering the exponents where a factor does not fit; 1 when the factors
// were stored as they are, 0 after an error or a lowering.
int CB_TakeAndCheckNorm(GwCore* widget, GwEvent* event, GwUD userData);
int CB_OkAndCheckNorm(GwCore* widget, GwEvent* event, GwUD userData);
int CB_1_200_ShowCalcTREFvalue(GwCore* widget, GwEvent* event, GwUD userData);

// Recomposes the three unit text fields from the lists of the widget's frame.
void ComposeCopenUnitTexts(GwCore* widget);
// Recomposes 792, 793 and 796 from the stored codes and exponents.
void UpdateCopenUnitTexts(ParaBase* base, GwCore* parent);
void ShowCopenUnitNote(GwCore* frame, const std::string& noteName, int row);
void ShowCopenExponentNote(GwCore* frame, const std::string& noteName, int row);
// The text of a dimension key in "CopenUnitDimensions"; the key itself when
// the message file has none.
std::string GetCopenUnitDimensionText(const char* key);
// CB_CopenTakeIt, hiding the frame when it succeeded.
int CopenTakeItAndHide(GwCore* widget, GwEvent* event, GwUD userData);
