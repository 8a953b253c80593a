// The editor's extensions and the two of its dialogs that change its state
// or only inform: the code generator choice and the information.
#include "plceditor/control/editor_extensions.h"

#include "plceditor/control/codegen_dialog.h"
#include "plceditor/control/editor_settings.h"
#include "plceditor/control/info_dialog.h"
#include "plceditor/control/plc_commands.h"
#include "plceditor/control/plc_editor_dialog.h"

namespace sindel {

std::unique_ptr<EditorExtensions> MakeEditorExtensions(PlcEditorDialog& editor) {
    return std::make_unique<PlcCommands>(editor);
}

void PlcCommands::CodeGenerator() {
    if (!editor_.IsOpen()) return;
    CodeGeneratorDialog dialog;
    if (!dialog.Run(editor_.Window(), editor_.Generator(), editor_.MemorySize())) return;
    editor_.SetGenerator(dialog.index());
    editor_.SetMemorySize(dialog.memory_size());
    const PrivateProfile& profile = editor_.Profile();
    profile.WriteInt(profile_keys::kCodeGenerator, profile_keys::kVersion, dialog.index());
    profile.WriteInt(profile_keys::kCodeGenerator, profile_keys::kMemorySize, dialog.memory_size());
}

void PlcCommands::Info() {
    if (editor_.IsOpen()) RunInfoDialog(editor_.Window());
}

}  // namespace sindel
