// What the PLC host keeps for the run: the editor window, loaded at the first
// opening and reused, and the names and folders of its choosers. The base
// the editor was last opened from is PlcParaBase (families/plc_context.h).
#pragma once

#include <string>

#include "toolkit/core/gw_ref.h"

// Files and folders the host and the control exchange programs through.
inline constexpr char kPlcInFile[] = "..\\TMP\\PlcIn.txt";
inline constexpr char kPlcOutFile[] = "..\\TMP\\PlcOut.txt";
inline constexpr char kPlcProjectFolder[] = "..\\FIRMDATA\\";

struct PlcHostState {
    // The loaded "PlcEditorX"; empty until the first opening.
    GwRef<> EditorWindow;
    // The loaded window whose control was bound (the creation ran for it).
    GwRef<> BoundWindow;
    // The binary programme file given to the control at the last opening.
    std::string ProgrammeFile;
    // The last project name the control reported for an offline save.
    std::string ProjectName;
    // Folder of the "*.plc" chooser.
    std::string SourceFolder;
    // Folder of the chooser of PlcFileFromArchiv; empty before its first use.
    std::string ArchiveFolder;
};

PlcHostState& ThePlcHostState();
