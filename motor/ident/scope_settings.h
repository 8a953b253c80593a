// The recorder's settings kept around an identification run, which records
// through the recorder and changes its settings.
#pragma once

// Reads trigger channel, level, mode, pre-trigger, the four channel variables
// and the time base of the active device into the identification state,
// noting which could be read. Always true.
bool SaveScopeSettings();
// Writes back, in the same order, the settings that could be read.
bool RestoreScopeSettings();
