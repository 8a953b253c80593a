// The program that edits positioning programs.
#pragma once

inline constexpr char kDefaultPosProgEditor[] = "notepad.exe";

// [Externals] PosProgEditor of the main profile, "notepad.exe" when empty.
// Without the section the last value read stays. The text stays valid for
// the whole run.
const char* GetPosProgEditor();
