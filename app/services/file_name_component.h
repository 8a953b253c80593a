// File names built from texts of a device or the user (a device label, an
// alias, a run-mode name, a serial number).
#pragma once

#include <string>

// One component of a file name from such a text: path separators, ':', '.'
// and control characters become '_', so the name stays in its directory and
// keeps no extension of its own.
std::string RunModeFileComponent(const std::string& text);
