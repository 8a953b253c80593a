// The date printed on parameter pages, files and compare reports.
#pragma once

#include <string>

// "dd.mm yyyy hh:mm" of the clock's local time for language 49, else the
// standard date text with its line feed.
std::string PrintDateText();
