// The compare report of two parameter sets: the program-wide compare base
// (side 1 of the last comparison, with the compare options), the options'
// profile section, and the report of every difference.
#pragma once

#include <cstdio>
#include <string>

#include "parameters/parabase/para_base.h"

class GwProfile;

inline constexpr char kCompareSettingsSection[] = "CompareSettings";

struct CompareOptions {
    int ActualValues = 0;
    int FixValues = 1;
    int NonFixValues = 0;
    int OnlyDataSetPara = 1;
    int Level = 4;
    std::string Editor = "notepad.exe";
    std::string OutFile = "..\\tmp\\compare.txt";
    int ExternEditor = 0;
    int TextWindow = 1;
};

class ParaCompareBase : public ParaBase {
public:
    ParaCompareBase() = default;

    CompareOptions Options;

    // Empties the base and sets the default options.
    void Reset();
};

// The one compare base of the program.
ParaCompareBase& TheCompareBase();

// Reads the options from the section; without profile or section every
// option takes its default, a missing key reads 0 or "".
void LoadCompareOptions(CompareOptions& options, GwProfile* profile, const char* section);
// Writes all nine keys; false without a valid profile or section.
bool SaveCompareOptions(const CompareOptions& options, GwProfile* profile, const char* section);

// The text of main message `n`, at most 512 characters.
std::string MainMessageText(int n);

// Writes one line per difference between side 1 (the compare base) and
// side 2, or side 2's default values.
bool CompareBases(ParaCompareBase& side1, ParaBase& side2, std::FILE* file);
bool CompareWithDefaults(ParaCompareBase& side1, ParaBase& side2, std::FILE* file);
