// The information dialog: a modal window "InfoDialog" with the editor's
// bitmap, its version text and an OK button.
#pragma once

class GwCore;

namespace sindel {

constexpr char kInfoDialogName[] = "InfoDialog";
constexpr char kEditorVersionText[] = "\n PLC-Editor V3.60-00";

void RunInfoDialog(GwCore* owner);

}  // namespace sindel
