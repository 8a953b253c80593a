// The explanation of a device error code, taken from the error text file of
// the device's firmware in the language directory and framed by the file's
// lead-in and closing texts.
#pragma once

#include <cstdint>

class GwCore;
class ParaBase;

// Each of lead-in, explanation and closing text is cut to this size (with
// its terminator).
inline constexpr int kErrorNoteTextSize = 512;

// Shows the explanation of `errorCode` (low byte: error number, second byte:
// sub-code) for the device of `base` (the active device without one): as an
// info box when `infoOnly` (answer true), else as a warning box. Without an
// explanation shows main message `number` as an info box (infoOnly, true) or
// a question box, and answers as that box.
bool ShowDeviceErrorNote(int number, uint16_t errorCode, GwCore* parent, bool infoOnly, ParaBase* base);
