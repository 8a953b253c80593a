// The editor commands whose work lies in the code generators and in the
// editor's dialogs for the generator choice, search/replace and information:
// syntax check, renumbering, inserting a program, the programme transfers,
// reading a binary programme file. PlcEditorDialog routes them here; the
// default set does nothing and reports that no programme file was read.
#pragma once

#include <memory>
#include <string>

namespace sindel {

class PlcEditorDialog;

class EditorExtensions {
public:
    virtual ~EditorExtensions() = default;

    virtual void CheckSyntax() {}     // 32778
    virtual void Renum() {}           // 32779
    virtual void InsertProgram() {}   // 32780
    virtual void ReadFromFile() {}    // 32781
    virtual void SaveInFile() {}      // 32782
    virtual void ReadFromDevice() {}  // 32783
    virtual void SaveInDevice() {}    // 32784
    // Reads a binary programme file and decodes it into the editor; true
    // when the file was read.
    virtual bool ReadProgrammeFile(const std::string& /*path*/) { return false; }

    virtual void SearchReplace() {}  // 32775, Ctrl+F
    virtual void CodeGenerator() {}  // 32792
    virtual void Info() {}           // 32789
    // Length of the last search or replace text, for selecting a search
    // result that the user double-clicks in the message list.
    virtual int SearchSelectionLength() const { return 0; }
};

// The extensions the editor uses; made once per editor object.
std::unique_ptr<EditorExtensions> MakeEditorExtensions(PlcEditorDialog& editor);

}  // namespace sindel
