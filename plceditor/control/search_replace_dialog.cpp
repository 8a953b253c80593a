#include "plceditor/control/search_replace_dialog.h"

#include "plceditor/control/dialog_widgets.h"
#include "toolkit/core/gw_button.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_types.h"

namespace sindel {

namespace {

// Result codes of the dialog's buttons besides Cancel.
constexpr int kSearchResult = 100;
constexpr int kReplaceResult = 101;
constexpr int kReplaceAllResult = 102;

GwEdit* AddEdit(GwCore* parent, const char* name, const char* prompt, const std::string& text) {
    auto* edit = new GwEdit(name, parent);
    edit->set_prompt(prompt);
    edit->set_text(text);
    return edit;
}

GwToggle* AddCheck(GwCore* parent, const char* name, const char* text, bool on) {
    auto* check = new GwToggle(name, parent, GwCHECK_CLASS);
    check->set_text(text);
    check->set_checked(on);
    return check;
}

}  // namespace

SearchAction SearchReplaceDialog::Run(GwCore* owner, SearchSettings& settings) {
    GwCore* window = new GwDialogFrame(kWindowName, owner, true, "Search/Replace");
    GwEdit* find = AddEdit(window, "FindWhat", "Find what:", settings.find);
    GwEdit* replace = AddEdit(window, "ReplaceWith", "Replace with:", settings.replace);
    GwCore* options = new GwContainer("Options", window);
    options->set_text("Options");
    GwToggle* case_sensitive = AddCheck(options, "CaseSensitive", "Case sensitive", settings.case_sensitive);
    GwToggle* whole_word = AddCheck(options, "WholeWord", "Whole word", settings.whole_word);
    window->set_default_button(AddButton(window, "Search", "Search", kSearchResult));
    AddButton(window, "Replace", "Replace", kReplaceResult);
    AddButton(window, "ReplaceAll", "Replace all", kReplaceAllResult);
    AddButton(window, "Cancel", "Cancel", GwRESULT_CANCEL);

    SearchAction action = SearchAction::kCancel;
    switch (window->go()) {
        case kSearchResult:
            action = SearchAction::kSearch;
            break;
        case kReplaceResult:
            action = SearchAction::kReplace;
            break;
        case kReplaceAllResult:
            action = SearchAction::kReplaceAll;
            break;
        default:
            break;
    }
    if (action != SearchAction::kCancel) {
        settings.find = find->text();
        settings.replace = replace->text();
        settings.case_sensitive = case_sensitive->is_checked();
        settings.whole_word = whole_word->is_checked();
    }
    window->destroy();
    return action;
}

}  // namespace sindel
