// Page setup and printing of the editor.
#include "plceditor/control/plc_editor_dialog.h"

namespace sindel {

void PlcEditorDialog::PageSetup() {}
void PlcEditorDialog::Print() {}

}  // namespace sindel
