// The statement part of a V1.10 program line (after its label): reads one
// statement of the V1.10 subset into the code record of an entry.
#pragma once

#include <string_view>

#include "plceditor/v110/line_entry8.h"

namespace plc::v110 {

// `upper` is the rest of the normalised, upper-cased line behind the label.
// On success the entry's code record and operand kind are set and kNoError
// is returned; otherwise the message of the first fault, with the entry
// left in an unspecified state. Nothing may follow a complete statement.
int CompileStatement8(std::string_view upper, LineEntry8& entry);

}  // namespace plc::v110
