// Variable name tables of a text declaration and their file.
#include "plceditor/core/variable_names.h"

#include "platform/base/format.h"
#include "plceditor/core/crlf_file.h"

namespace plc {

VariableNames::VariableNames() {
    for (std::size_t i = 0; i < tables_.size(); ++i) {
        tables_[i].resize(static_cast<std::size_t>(kVariableKinds[i].lastIndex + 1));
    }
}

int VariableNames::TableIndex(char letter) const {
    for (std::size_t i = 0; i < kVariableKinds.size(); ++i) {
        if (kVariableKinds[i].letter == letter) return static_cast<int>(i);
    }
    return -1;
}

void VariableNames::Clear() {
    for (auto& table : tables_) {
        for (auto& name : table) name.clear();
    }
}

bool VariableNames::SetName(char letter, int index, std::string_view name) {
    const int t = TableIndex(letter);
    if (t < 0 || index < 0 || index >= static_cast<int>(tables_[t].size())) return false;
    tables_[t][index] = std::string(name.substr(0, kMaxNameChars));
    return true;
}

std::string_view VariableNames::Name(char letter, int index) const {
    const int t = TableIndex(letter);
    if (t < 0 || index < 0 || index >= static_cast<int>(tables_[t].size())) return {};
    return tables_[t][index];
}

bool VariableNames::Empty() const {
    for (const auto& table : tables_) {
        for (const auto& name : table) {
            if (!name.empty()) return false;
        }
    }
    return true;
}

std::vector<std::string> VariableNames::TextDeclarationLines() const {
    std::vector<std::string> lines;
    for (std::size_t t = 0; t < tables_.size(); ++t) {
        bool headerWritten = false;
        for (std::size_t index = 0; index < tables_[t].size(); ++index) {
            const std::string& name = tables_[t][index];
            if (name.empty()) continue;
            if (!headerWritten) {
                lines.push_back(std::string("[PLC_") + kVariableKinds[t].letter + "]");
                headerWritten = true;
            }
            lines.push_back(platform::Format("%ld: %s", static_cast<int32_t>(index), name));
        }
    }
    return lines;
}

bool VariableNames::writeTextDeclarationFile(std::string& directory, std::string_view fileName) const {
    if (directory.empty()) return false;
    std::string path = TextDeclarationPath(directory, fileName);
    if (!WriteCrLfFile(path, TextDeclarationLines())) return false;
    directory = path;
    return true;
}

std::string TextDeclarationPath(std::string_view directory, std::string_view fileName) {
    std::string path(directory);
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    path += fileName;
    path += ".txt";
    return path;
}

}  // namespace plc
