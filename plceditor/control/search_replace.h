// Search and replace over the edit lines: the settings kept between uses,
// where a text occurs in a line, and the command that lists each find or
// replacement in the message list as "  LINE(line,column)...".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sindel {

class PlcEditorDialog;

struct SearchSettings {
    bool case_sensitive = false;
    std::string find;
    bool whole_word = false;
    std::string replace;
};

// Columns of the occurrences of `find` in `line`, left to right, each search
// going on behind the previous occurrence. With `whole_word` an occurrence
// counts only without a letter or digit right before or after it. Nothing
// for an empty text or a line shorter than it.
std::vector<int> FindOccurrences(std::string_view line, std::string_view find, bool whole_word);

class TextSearch {
public:
    // Runs the dialog and the search or replacement it asks for.
    void Run(PlcEditorDialog& editor);
    // Length of the last search or replace text, for selecting a result.
    int SelectionLength() const { return selection_length_; }
    const SearchSettings& Settings() const { return settings_; }

private:
    SearchSettings settings_;
    int selection_length_ = 0;
};

}  // namespace sindel
