// Text fields: the single-line edit, the formatted edit and the multi-line
// text. `set_text` stores what it is given; typed input goes through the key
// callback (which may refuse a key) and, for formatted edits, the input rules
// of the format type.
#pragma once

#include <string>

#include "toolkit/core/gw_core.h"

// Format types of a formatted edit.
constexpr int GwFORMAT_TEXT = 1;     // free text
constexpr int GwFORMAT_INTEGER = 2;  // digits and a leading '-'
constexpr int GwFORMAT_DECIMAL = 3;  // digits, leading '-', one '.', at most `precision` decimals
constexpr int GwFORMAT_MASKED = 4;   // hex digits in the format's 'X' places and the pattern's literal

class GwEdit : public GwCore {
public:
    GwEdit(const std::string& name, GwCore* parent, GwKind kind = GwEDIT_CLASS);

    void set_text(const std::string& text) override;
    bool is_empty() const { return text().empty(); }
    // 0 = no limit. Typed input never goes beyond it.
    int max_length() const { return max_length_; }
    void set_max_length(int n) { max_length_ = n < 0 ? 0 : n; }
    bool is_read_only() const { return read_only_; }
    void set_read_only(bool on) {
        read_only_ = on;
        notify(GwProperty::kReadOnly);
    }
    bool is_password() const { return password_; }
    void set_password(bool on) { password_ = on; }
    int cursor_position() const { return cursor_; }
    void set_cursor_position(int pos);
    // Selects the whole text; the next typed key replaces it.
    void select_all() { all_selected_ = true; }
    bool all_selected() const { return all_selected_; }
    // The unit shown after the field; not part of the text.
    const std::string& suffix() const { return suffix_; }
    // A changed unit is announced as a change of what the field shows.
    void set_suffix(const std::string& s);
    int suffix_width() const { return text_width(suffix_); }
    const std::string& prompt() const { return prompt_; }
    void set_prompt(const std::string& s) { prompt_ = s; }
    int prompt_width() const { return text_width(prompt_); }
    // Loads the text from a file (the program's path form); false when the
    // file cannot be read.
    bool set_text_file(const std::string& path);

    int format_type() const { return format_type_; }
    void set_format_type(int type) { format_type_ = type; }
    const std::string& format() const { return format_; }
    void set_format(const std::string& f) { format_ = f; }
    const std::string& pattern() const { return pattern_; }
    void set_pattern(const std::string& p) { pattern_ = p; }
    // Longest text the format allows; 0 = no limit.
    int length() const { return length_; }
    void set_length(int n) { length_ = n < 0 ? 0 : n; }
    // Decimals allowed after '.'; negative = any number.
    int precision() const { return precision_; }
    void set_precision(int n) { precision_ = n; }

    // One key as the user types it (GwCore::press_key). Returns whether it
    // was taken; a key the format refuses beeps. Return fires the activate
    // binding, then the confirm binding; tab, clear, Escape and F1 are for
    // the key binding only.
    bool type_key(int key);
    // The user left the field for a place outside the model (another
    // program's window); a renderer reports it here. Like the focus moving
    // to another widget, it fires the confirm binding when the text was typed
    // since the last confirmation, so one entry is confirmed once.
    void user_focus_out();
    // Text typed since the last confirmation (or since the program last set
    // the text).
    bool has_unconfirmed_input() const { return unconfirmed_; }
    // The whole text as an editor that edits on its own (a screen's line
    // edit) has it after the user's edit, with the cursor there. The text is
    // taken when the format and limits accept it (a masked format keeps its
    // literal at the end and its digits in upper case) and fires the change
    // binding; else it beeps and the text stays. Returns whether it was taken.
    bool user_edit(const std::string& text, int cursor);

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwEdit() override = default;
    void copy_state_to(GwCore* copy) const override;
    bool KindKey(int key) override;
    void OnFocusLost() override { user_focus_out(); }

private:
    void Confirm();
    bool InsertChar(char c);
    bool EraseBefore();
    bool EraseAt();
    bool Fits(const std::string& candidate) const;
    void StoreTyped(const std::string& text, int cursor);
    std::string Shown(const std::string& text) const;

    int max_length_ = 0;
    bool read_only_ = false;
    bool password_ = false;
    int cursor_ = 0;
    bool all_selected_ = false;
    bool unconfirmed_ = false;
    std::string suffix_;
    std::string prompt_;
    int format_type_ = 0;
    std::string format_;
    std::string pattern_;
    int length_ = 0;
    int precision_ = -1;
};

class GwFormatEdit : public GwEdit {
public:
    GwFormatEdit(const std::string& name, GwCore* parent) : GwEdit(name, parent, GwFORMATEDIT_CLASS) {}

protected:
    ~GwFormatEdit() override = default;
};

// Whether `text` is a valid formatted-edit text so far (a prefix of a
// complete entry) for the format settings.
bool GwFormatAccepts(int format_type, const std::string& format, const std::string& pattern, int precision,
                     const std::string& text);
