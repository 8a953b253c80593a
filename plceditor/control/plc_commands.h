// PlcCommands: the editor's commands around the three code generators (the
// syntax check and its driver, decoding back into the edit lines, the
// programme transfers, reading a programme file, Renum, Insert Program) and
// its generator, search/replace and information dialogs.
#pragma once

#include <string>
#include <string_view>

#include "plceditor/control/editor_extensions.h"
#include "plceditor/control/search_replace.h"

namespace plc {
class PlcCompiler;
struct DecoderDialect;
}  // namespace plc

namespace sindel {

class PlcEditorDialog;
class EditControl;
enum class BoxButtons;
enum class BoxIcon;

// Modes of the driver around a check of generator V2.10 or V3.10.
enum DriverMode : int {
    kDriverCheck = 0,      // Check syntax: check only
    kDriverTranslate = 1,  // saving, Insert Program: check, then decode
    kDriverInserted = 2,   // after inserting a program body: lax program numbers, silent
    kDriverRenumber = 3,   // Renum: offers to correct the program numbers
};

// A generator with 20-byte code records: its store, line entry and decoder.
struct Generator20 {
    int index;
    plc::PlcCompiler& store;
    int (*compile)(plc::PlcCompiler&, std::string_view, int&);
    const plc::DecoderDialect& dialect;
};

class PlcCommands final : public EditorExtensions {
public:
    explicit PlcCommands(PlcEditorDialog& editor) : editor_(editor) {}

    void CheckSyntax() override;
    void Renum() override;
    void InsertProgram() override;
    void ReadFromFile() override { ReadFromHost(false); }
    void SaveInFile() override { SaveProgramme(false); }
    void ReadFromDevice() override { ReadFromHost(true); }
    void SaveInDevice() override { SaveProgramme(true); }
    bool ReadProgrammeFile(const std::string& path) override;
    void SearchReplace() override { search_.Run(editor_); }
    void CodeGenerator() override;
    void Info() override;
    int SearchSelectionLength() const override { return search_.SelectionLength(); }

    // The driver on the current generator (V2.10 or V3.10); true on success.
    bool RunDriver(int mode);
    // The check of a 20-byte generator; the message id it ends with.
    int Check20(const Generator20& generator);
    // The V1.10 check; true without errors.
    bool CheckV110();

private:
    Generator20 Current20();
    int CheckWithLaxNumbers(const Generator20& generator);
    void ShowCheckFailure(int result);
    bool Decode20(const Generator20& generator);
    bool Translate();
    void SaveProgramme(bool device);
    void ReadFromHost(bool device);
    int DecodeV110Text(std::string* text);
    int Decode20Text(const Generator20& generator, std::string* text);
    void RenumV110();
    bool CaretLineEmpty() const;
    bool HasProgramText() const;
    void InsertAtCaretLine(const std::string& text);

    int LineCount() const;
    EditControl& Edit() const;
    void Append(const std::string& line);
    void Append(int id);
    int Box(const std::string& text, BoxButtons buttons, BoxIcon icon);

    PlcEditorDialog& editor_;
    TextSearch search_;
};

}  // namespace sindel
