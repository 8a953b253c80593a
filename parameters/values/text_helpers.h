// Small text helpers shared by the whole program: whole text files to and from
// toolkit strings, in-place cleaning of lines and paths, and comparisons
// without regard to case. Every C-string argument may be null.
#pragma once

#include <string>

#include "toolkit/base/gw_string.h"

// Appends the text file at `path` (LF and CR LF lines read alike) to `out`;
// false, leaving `out` unchanged, when it cannot be opened.
bool ReadTextFile(GwString& out, const char* path);
// Writes `text` as the whole file (an empty text gives an empty file); false
// when the file cannot be written, in which case an old file is kept.
bool WriteTextFile(const GwString& text, const char* path);
bool WriteTextFileByName(const GwString& text, GwString path);
// Copies a text file unchanged; 1 when both files could be opened, else 0,
// with the system's reason in `error` when given.
int CopyTextFile(const char* src, const char* dst, std::string* error = nullptr);

// Cuts the extension of the last path component: at the last '.' after the
// last separator ('\' or '/'), but never at the first character.
void CutFileExtension(char* path);
// The path without the extension of its last component (as CutFileExtension).
std::string WithoutFileExtension(const std::string& path);
// The drive and directory of a path up to and with its last separator ('\'
// or '/'); empty when the path has none.
std::string DirectoryOfPath(const std::string& path);
// Cuts the line at its first ';'.
void CutComment(char* line);
void TabsToBlanks(char* line);
// Removes every blank and tab; returns `text`.
char* RemoveBlanks(char* text);
void ToUpperInPlace(char* text);
// Upper-cases the whole string; returns `text`.
char* UpperCase(char* text);

// 1 when a byte is below 0x20 or above 0x7F, else 0.
int HasControlChars(const char* text);
// True when the text is longer than 128 characters or holds a character other
// than the digits, ',', '-', '.', 'E' and 'e'.
bool IsNotNumberText(const char* text);
// 0 when equal without regard to case, else the difference of the first
// differing lower-cased characters.
int CompareNoCase(const char* a, const char* b);
// -1, 0 or 1 comparing the upper-cased first 255 characters of both paths;
// '\' and '/' count as the same separator.
int ComparePathNoCase(const char* a, const char* b);
