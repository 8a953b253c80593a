// Reporting a failed device access, with the offer to uncouple all devices.
#pragma once

class GwCore;
class ParaBase;

// Question and warning that offer uncoupling after a device error.
inline constexpr int kUncoupleQuestionMessage = 141;
inline constexpr int kUncoupleNowWarningMessage = 142;

// Shows error message `number` for `base`. True when the box was confirmed
// (or the base has no bus, or the user declined to uncouple); false for
// number 0 and when the user chose to uncouple, which sets DevicesUncoupled
// and uncouples now (write lock held and warning 142 confirmed) or marks the
// uncoupling as pending.
bool ShowDeviceError(int number, ParaBase* base, GwCore* parent = nullptr);
