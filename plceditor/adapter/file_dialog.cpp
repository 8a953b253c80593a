#include "plceditor/adapter/file_dialog.h"

#include "toolkit/core/gw_file_selector.h"

namespace sindel {

std::optional<std::string> FileDialog::Run(GwCore* owner) {
    const bool open = mode_ == Mode::kOpen;
    GwFileSelector selector(owner, open ? "PlcEditOpen" : "PlcEditSave");
    selector.set_title(open ? "Open" : "Save As");
    selector.set_filter(filter_);
    selector.set_directory(folder_);
    selector.set_mode(open ? GwFILESELECTOR_OPEN : GwFILESELECTOR_SAVE);
    if (!selector.go()) return std::nullopt;
    folder_ = selector.directory();
    return selector.selection();
}

}  // namespace sindel
