// The error-analysis button: shows the explanation of the drive error held
// in an error-structure parameter (the button's name is its number) and,
// unless its user data is "info", offers to acknowledge the error.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

int CB_CallErrorAnalyse(GwCore* button, GwEvent* event, GwUD userData);
