#include "plceditor/control/editor_extensions.h"

namespace sindel {

std::unique_ptr<EditorExtensions> MakeEditorExtensions(PlcEditorDialog&) {
    return std::make_unique<EditorExtensions>();
}

}  // namespace sindel
