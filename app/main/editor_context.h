// What the openers of the parameter editor hand to it: the parameter base to
// edit and the mode it is edited in. The openers set both before they load
// the window "ParameterEditor"; the editor reads them when it is created.
#pragma once

class ParaBase;

// Modes of the parameter editor.
inline constexpr int kEditorModeOnline = 0;   // the active device's own base
inline constexpr int kEditorModeOffline = 1;  // a copy of the active device's base
inline constexpr int kEditorModeFile = 2;     // a parameter base file

struct ParameterEditorContext {
    ParaBase* Base = nullptr;
    int Mode = kEditorModeOnline;
};

// The one context of the program.
ParameterEditorContext& TheParameterEditorContext();
// What the next parameter editor edits, and how.
void SetParameterEditorContext(ParaBase* base, int mode);
