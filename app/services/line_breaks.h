// Line breaks in language texts: a stored backslash followed by "n".
#pragma once

#include <string>

// The text with every backslash-n replaced by one line feed.
std::string ExpandLineBreaks(const char* text);
