// The names a source's text declaration gives to variables (DEF Hnnn = name),
// one table per variable letter, and the text declaration file written from
// them. Every code generator keeps one set.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "plceditor/core/plc_language.h"

namespace plc {

class VariableNames {
public:
    VariableNames();

    // Empties every name.
    void Clear();
    // Stores a name (cut to 32 characters) for variable letter and index;
    // false for another letter or an index outside the letter's range.
    bool SetName(char letter, int index, std::string_view name);
    // The name, empty when none or when letter or index are out of range.
    std::string_view Name(char letter, int index) const;
    bool Empty() const;

    // The file's lines: for C, F, H, M and Z, when the letter has a name, its
    // header "[PLC_x]" and "index: name" for every name in rising index order.
    std::vector<std::string> TextDeclarationLines() const;

    // Writes the text declaration file "<directory>\<fileName>.txt" (CR LF
    // line ends, empty when there is no name). False without writing when the
    // directory is empty or the file cannot be created; otherwise `directory`
    // becomes the full path of the written file.
    bool writeTextDeclarationFile(std::string& directory, std::string_view fileName) const;

private:
    // One table per kind, in the order of kVariableKinds.
    std::array<std::vector<std::string>, 5> tables_;
    int TableIndex(char letter) const;
};

// The path of a text declaration file: directory, a backslash unless the
// directory ends in a separator, the file name and ".txt".
std::string TextDeclarationPath(std::string_view directory, std::string_view fileName);

}  // namespace plc
