// The search/replace dialog: a modal window "SearchReplaceDialog" with the
// edits "FindWhat" and "ReplaceWith", the check boxes "CaseSensitive" and
// "WholeWord" and the buttons "Search", "Replace", "ReplaceAll", "Cancel".
#pragma once

#include "plceditor/control/search_replace.h"

class GwCore;

namespace sindel {

enum class SearchAction { kCancel, kSearch, kReplace, kReplaceAll };

class SearchReplaceDialog {
public:
    static constexpr char kWindowName[] = "SearchReplaceDialog";

    // Shows the settings; after a button other than Cancel they hold what
    // the user entered.
    SearchAction Run(GwCore* owner, SearchSettings& settings);
};

}  // namespace sindel
