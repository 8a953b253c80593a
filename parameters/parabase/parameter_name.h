// Tests of a parameter's name, by which the program recognises parameters
// whose meaning differs between firmware versions.
#pragma once

#include <string>
#include <string_view>

class ParaBase;

// The stored name of a present parameter (number and valid mark set), cut at
// its terminator; empty when the parameter is not present.
std::string PresentParameterName(const ParaBase& base, int number);
// The present name without the blanks that pad it; empty when the
// parameter is not present.
std::string TrimmedParameterName(const ParaBase& base, int number);
// True when the parameter is present and its name is exactly `name`.
bool HasParameterNamed(const ParaBase& base, int number, std::string_view name);
// True when the parameter is present and its name, with blanks removed at
// both ends, is `name`.
bool HasParameterTrimmedNamed(const ParaBase& base, int number, std::string_view name);
