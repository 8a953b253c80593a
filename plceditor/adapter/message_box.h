// Message boxes of the editor: a text, a caption, a button set and an icon,
// answered by the toolkit's interaction (the test driver in tests). The icon
// is the recorded box kind ("error", "warning", "question", "info", or
// "message" for none); the button set is the box window's name.
#pragma once

#include <string>

class GwCore;

namespace sindel {

enum class BoxIcon { kNone, kError, kWarning, kQuestion, kInformation };
enum class BoxButtons { kOk, kYesNo, kYesNoCancel };

// Shows the box owned by `owner` (may be null) and returns the toolkit's
// result code of the answer (GwRESULT_YES, _NO, _OK, _CANCEL).
int ShowMessageBox(GwCore* owner, const std::string& text, const std::string& caption, BoxButtons buttons,
                   BoxIcon icon);

// The box window's definition name for a button set and icon.
std::string BoxWindowName(BoxButtons buttons, BoxIcon icon);

}  // namespace sindel
