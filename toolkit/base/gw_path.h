// Composing and splitting paths in the program's Windows form ("C:\dir\f.01D").
// Both '\' and '/' separate; the form is kept, only opening a file converts it.
#pragma once

#include "toolkit/base/gw_string.h"

// drive + dir (+ '\' when dir is not empty and ends in neither '\' nor '/')
// + name (+ '.' unless ext is empty or begins with '.') + ext. Null parts are
// empty. GwMakepath("", "..\\FIRMDATA", "", "") is the directory with its
// trailing separator.
GwString GwMakepath(const char* drive, const char* dir, const char* name, const char* ext);

// Splits a path into drive ("X:"), directory (with its trailing separator),
// name and extension (without its dot). Outputs may be null when not wanted.
void GwSplitpath(const char* path, GwString* drive, GwString* dir, GwString* name, GwString* ext);
