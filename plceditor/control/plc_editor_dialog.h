// PlcEditorDialog: the PLC editor window that the control opens. It holds the
// source text in its edit control, the message list and the status bar, the
// current file, the code generator choice and the generators' code stores,
// and carries out the window's commands. The translating commands and the
// generator, search and information dialogs go to its EditorExtensions.
#pragma once

#include <memory>
#include <string>

#include "plceditor/adapter/command_bars.h"
#include "plceditor/adapter/file_dialog.h"
#include "plceditor/adapter/message_box.h"
#include "plceditor/adapter/private_profile.h"
#include "plceditor/control/control_link.h"
#include "plceditor/control/editor_extensions.h"
#include "plceditor/control/editor_layout.h"
#include "plceditor/core/plc_compiler.h"
#include "plceditor/v110/line_table8.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_ref.h"

class GwCore;

namespace sindel {

class EditControl;
enum class EditNotification;
class ListBox;
class StatusBar;

// Generator indexes.
enum GeneratorIndex : int { kGeneratorV110 = 0, kGeneratorV210 = 1, kGeneratorV310 = 2 };
constexpr int kGeneratorCount = 3;
constexpr int kDefaultMemorySize = 747;  // 32-bit words of code memory

// The code stores of the generators; all live as long as the editor.
struct PlcGenerators {
    plc::LineTable8 v110;
    plc::PlcCompiler v210;
    plc::PlcCompiler v310;
};

class PlcEditorDialog : public CommandSink {
public:
    // The current path of a text that has no file yet.
    static constexpr char kNoFile[] = "PlcPrg";
    static constexpr char kWindowName[] = "PlcEditorDialog";
    static constexpr char kTitle[] = "Plc-Editor";
    static constexpr uint32_t kStatusTimerMs = 250;
    // Caption of the editor's message boxes.
    static constexpr char kBoxCaption[] = "Sindel";

    PlcEditorDialog(ControlLink& control, std::string profile_path);
    // Takes the window down without asking or firing events.
    ~PlcEditorDialog() override;
    PlcEditorDialog(const PlcEditorDialog&) = delete;
    PlcEditorDialog& operator=(const PlcEditorDialog&) = delete;

    // --- what the control calls --------------------------------------------
    // Opens the window and runs its start-up; a window that is already open
    // is shown and gets the focus instead. True when the window is open.
    bool Create(GwCore* owner = nullptr);
    bool IsOpen() const;
    // Ends the window without asking (the host closes it).
    bool DestroyWindow();
    bool SetFocus();
    // Makes the device commands available or not.
    bool SetOnline(bool online);
    // Chooses the generator that made the device's code and its memory size;
    // a version of 0 or below says nothing and changes nothing.
    bool SetVersion(double version_number, int32_t array_length);

    // --- operations for the commands ---------------------------------------
    // Open with the dialog (save prompt first); false when cancelled or not read.
    bool OpenWithDialog();
    // Save prompt, then open the file without a dialog.
    bool OpenFromHost(const std::string& path);
    // Reads a source file into the editor without asking; false when it
    // cannot be read (message box; text and path stay).
    bool OpenFile(const std::string& path);
    // Saves to the current path, or with the dialog when there is none or
    // `ask_name` is set.
    bool Save(bool ask_name);
    // Save prompt, then an empty text without a file; false when cancelled.
    bool New();
    // Asks to save a changed text; false when the command must stop.
    bool SavePrompt();
    // The close box, Esc and Exit: false when the user keeps the window.
    bool CloseWindow();

    bool GetLine(int line, std::string* text) const;
    // Replaces edit line `line`, keeping its comment; false for a line that
    // does not exist.
    bool ReplaceLine(int line, const std::string& text);
    // The selection when it lies within one line, else empty.
    std::string SelectedText() const;
    void AppendMessage(const std::string& line);
    void ClearMessages();
    void CommentLines(bool comment_out);
    void OnMessageDoubleClick(int row);

    // Shows one of the editor's message boxes.
    int ShowMessage(const std::string& text, BoxButtons buttons, BoxIcon icon);

    // --- state ---------------------------------------------------------------
    const std::string& CurrentPath() const { return current_path_; }
    bool IsModified() const { return modified_; }
    void SetModified(bool on) { modified_ = on; }
    int Generator() const { return generator_; }
    // Takes a generator index (0..2) and makes "Insert Program" follow it.
    void SetGenerator(int index);
    int MemorySize() const { return memory_size_; }
    // Gives the V2.10 and V3.10 stores that code memory size.
    void SetMemorySize(int words);
    PlcGenerators& Generators() { return generators_; }
    ControlLink& Control() { return control_; }
    const PrivateProfile& Profile() const { return profile_; }
    EditorExtensions& Extensions() { return *extensions_; }
    bool IsOnline() const { return online_; }
    // Expires when the editor object is deleted. A host may let go of the
    // control from inside an event, which deletes the editor: code that fires
    // an event checks this before it touches the editor again.
    std::weak_ptr<const int> Life() const { return life_; }

    // The window's parts; null while the window is not open.
    GwCore* Window() const;
    EditControl* Edit() const;
    ListBox* Messages() const;
    StatusBar* Status() const;

    void OnCommand(int id) override;
    // The editor that a window belongs to, or null.
    static PlcEditorDialog* FromWindow(GwCore* window);

private:
    void BuildWindow(GwCore* owner);
    void BuildMenu();
    void BuildToolBar();
    void StartUp();
    void Layout();
    void UpdateStatus();
    void EnableCommand(int id, bool menu, bool tool, bool on);
    void OnEditNotification(EditNotification notification);
    void OnEditKey(int key);
    void OnRecentFile();
    void PageSetup();
    void Print();
    void ForgetWindow();

    static int OnTimer(GwCore*, GwEvent*, GwUD);
    static int OnResize(GwCore*, GwEvent*, GwUD);
    static int OnClose(GwCore*, GwEvent*, GwUD);
    static int OnDestroy(GwCore*, GwEvent*, GwUD);

    ControlLink& control_;
    std::shared_ptr<const int> life_ = std::make_shared<const int>(0);
    PrivateProfile profile_;
    std::unique_ptr<EditorExtensions> extensions_;
    PlcGenerators generators_;

    GwRef<> window_;
    GwRef<EditControl> edit_;
    GwRef<ListBox> list_;
    GwRef<StatusBar> status_;
    GwRef<> toolbar_;

    int generator_ = kGeneratorV110;
    int memory_size_ = kDefaultMemorySize;
    std::string current_path_ = kNoFile;
    bool modified_ = false;
    bool ready_ = false;
    bool online_ = false;
    std::string shown_title_;
    TemplateMetrics metrics_;
    FileDialog open_dialog_;
    FileDialog save_dialog_;
};

}  // namespace sindel
