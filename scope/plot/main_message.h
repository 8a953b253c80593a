// A main message text ("MN_%05d" of "Main-Messages") as the captions of the
// plot's code-built dialogs take it.
#pragma once

#include <string>

std::string MainMessageCaption(int number);
