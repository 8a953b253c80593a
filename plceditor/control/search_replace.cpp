#include "plceditor/control/search_replace.h"

#include <algorithm>
#include <cctype>

#include "platform/base/format.h"
#include "plceditor/adapter/edit_control.h"
#include "plceditor/adapter/message_box.h"
#include "plceditor/control/plc_editor_dialog.h"
#include "plceditor/control/search_replace_dialog.h"
#include "plceditor/control/sindel_strings.h"
#include "toolkit/core/gw_types.h"

namespace sindel {

namespace {

constexpr char kFoundFormat[] = "  LINE(%03ld,%03ld): ";
// Replacement lines: where the occurrence stood in a whole-word replace.
constexpr char kReplacedFormat[] = "  LINE(%03ld,%03ld) F5: ";  // not whole-word
constexpr char kAtStartFormat[] = "  LINE(%03ld,%03ld) F3: ";
constexpr char kWholeLineFormat[] = "  LINE(%03ld,%03ld) F4: ";
constexpr char kAtEndFormat[] = "  LINE(%03ld,%03ld) F2: ";
constexpr char kCountFormat[] = "%ld ";

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return text;
}

std::string WithoutTabs(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\t'), text.end());
    return text;
}

const char* ReplacedFormat(bool whole_word, int column, size_t length, size_t line_length) {
    if (!whole_word) return kReplacedFormat;
    const bool at_start = column == 0;
    const bool at_end = column + length == line_length;
    if (at_start && at_end) return kWholeLineFormat;
    if (at_start) return kAtStartFormat;
    if (at_end) return kAtEndFormat;
    return kFoundFormat;
}

}  // namespace

std::vector<int> FindOccurrences(std::string_view line, std::string_view find, bool whole_word) {
    std::vector<int> columns;
    if (find.empty() || line.size() < find.size()) return columns;
    for (size_t at = line.find(find); at != std::string_view::npos; at = line.find(find, at + find.size())) {
        const size_t behind = at + find.size();
        if (whole_word && ((at > 0 && IsWordChar(line[at - 1])) || (behind < line.size() && IsWordChar(line[behind]))))
            continue;
        columns.push_back(static_cast<int>(at));
    }
    return columns;
}

void TextSearch::Run(PlcEditorDialog& editor) {
    if (!editor.IsOpen()) return;
    const std::string selected = editor.SelectedText();
    if (!selected.empty()) settings_.find = selected;

    SearchReplaceDialog dialog;
    const SearchAction action = dialog.Run(editor.Window(), settings_);
    if (action == SearchAction::kCancel) return;
    const bool replacing = action != SearchAction::kSearch;
    const bool all = action == SearchAction::kReplaceAll;
    const std::string& find = settings_.find;
    const std::string& replace = settings_.replace;
    selection_length_ = static_cast<int>(replacing ? replace.size() : find.size());

    const std::string caption(LoadString(ids::kSearchReplaceCaption));
    if (all && ShowMessageBox(editor.Window(),
                              std::string(LoadString(ids::kReallyReplaceAll)),
                              caption,
                              BoxButtons::kYesNo,
                              BoxIcon::kQuestion) != GwRESULT_YES)
        return;

    const std::string wanted = settings_.case_sensitive ? find : Lower(find);
    const std::string question = FormatString(ids::kReplaceWith, find, replace);
    editor.ClearMessages();
    EditControl& edit = *editor.Edit();
    int count = 0;
    const int lines = edit.Buffer().LineCount();
    for (int line = 0; line < lines; ++line) {
        std::string text;
        editor.GetLine(line, &text);
        const std::string seen = settings_.case_sensitive ? text : Lower(text);
        // How far earlier replacements in this line moved the rest of it.
        int shift = 0;
        for (const int column : FindOccurrences(seen, wanted, settings_.whole_word)) {
            const int32_t number = line + 1;
            if (!replacing) {
                editor.AppendMessage(platform::Format(kFoundFormat, number, static_cast<int32_t>(column)) +
                                     WithoutTabs(text));
                ++count;
                continue;
            }
            const int start = edit.Buffer().LineIndex(line) + column + shift;
            edit.SetSel(start, start + static_cast<int>(find.size()));
            edit.ScrollCaret();
            if (!all) {
                const int answer =
                    ShowMessageBox(editor.Window(), question, caption, BoxButtons::kYesNoCancel, BoxIcon::kQuestion);
                if (answer == GwRESULT_NO) continue;
                if (answer != GwRESULT_YES) return;
            }
            edit.ReplaceSel(replace, true);
            ++count;
            const int changed_column = column + shift;
            shift += static_cast<int>(replace.size()) - static_cast<int>(find.size());
            const char* format = ReplacedFormat(settings_.whole_word, column, find.size(), text.size());
            editor.AppendMessage(platform::Format(format, number, static_cast<int32_t>(changed_column)) + question);
        }
    }
    editor.AppendMessage("");
    editor.AppendMessage(platform::Format(kCountFormat, static_cast<int32_t>(count)) +
                         std::string(LoadString(ids::kConformityFound)));
}

}  // namespace sindel
