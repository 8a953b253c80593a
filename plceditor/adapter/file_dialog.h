// The editor's open and save dialogs over the toolkit's file selector: a
// filter, and a remembered folder that each dialog starts in and that
// follows the folder of the file chosen.
#pragma once

#include <optional>
#include <string>

class GwCore;

namespace sindel {

class FileDialog {
public:
    enum class Mode { kOpen, kSave };

    FileDialog(Mode mode, std::string filter, std::string start_folder)
        : mode_(mode), filter_(std::move(filter)), folder_(std::move(start_folder)) {}

    // Runs the dialog; the chosen path, or nothing when cancelled.
    std::optional<std::string> Run(GwCore* owner);
    const std::string& folder() const { return folder_; }

private:
    Mode mode_;
    std::string filter_;
    std::string folder_;
};

}  // namespace sindel
