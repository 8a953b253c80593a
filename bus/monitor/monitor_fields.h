// What both monitor windows do with their fields and their timer.
#pragma once

#include <cstdint>
#include <string>

class GwCore;

namespace monitor {

// Sets the text of the window's child `name`; a window without it, or one
// closed while a test ran, is left alone.
void SetFieldText(GwCore* window, const std::string& name, const std::string& text);
// Sets the value of the window's slider or gauge `name`.
void SetFieldValue(GwCore* window, const std::string& name, double value);
// The window of a callback's widget, or null.
GwCore* WindowOf(GwCore* widget);
uint32_t NowTick();
// Count increase since `before`; a counter cleared since (smaller now)
// counts from 0.
uint32_t CountSince(uint32_t now, uint32_t before);
// Events per second; 0 when no time has passed.
double PerSecond(uint32_t events, uint32_t elapsedMs);

}  // namespace monitor
