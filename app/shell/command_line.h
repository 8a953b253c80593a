// The program's argument vector: one command-line text split into words the
// way the program always split it, and the argument rules that pick the
// working directory and the start file.
#pragma once

#include <string>

class dstring;

// Room of the argument vector; words beyond it are dropped.
inline constexpr int kMaxArguments = 128;
// Element 0 when the module's path cannot be had.
inline constexpr char kFallbackModuleName[] = "Selk";
// Longest module path kept in element 0.
inline constexpr size_t kMaxModulePathLength = 260;

// Fills `argv` (room for kMaxArguments toolkit strings) with the module path
// and the words of `commandLine` and returns their count. A double quote
// toggles quoting and is dropped; outside quotes blank, tab, CR and LF end a
// word. The caller frees every element with GwStrDelete.
int SplitCommandLine(char** argv, const char* commandLine);
// The same with the module path given (empty: the fallback name).
int SplitCommandLine(char** argv, const char* commandLine, const std::string& modulePath);

// The program's own path for element 0, cut at kMaxModulePathLength bytes;
// empty when it cannot be had.
std::string ModulePathForArguments();

// Applies the arguments from index 1 on: "/W<dir>" or "-w<dir>" changes the
// working directory, any other switch is ignored, and every other argument
// becomes the start file (the last one wins). Returns false when a directory
// change failed; the remaining arguments are applied all the same.
bool ApplyCommandLineArguments(int argc, char** argv, dstring& startFile);
