#include "toolkit/core/gw_edit.h"

#include <algorithm>
#include <cctype>

#include "platform/files/text_file.h"
#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

// The literal that follows the digits of a masked format ("H" of "~~H").
std::string MaskLiteral(const std::string& pattern) {
    std::string out;
    for (char c : pattern)
        if (c != '~') out += c;
    return out;
}

// End of the digits of a masked text: before its literal when it ends in it.
size_t MaskDigitsEnd(const std::string& text, const std::string& literal) {
    bool has = !literal.empty() && text.size() >= literal.size() &&
               text.compare(text.size() - literal.size(), literal.size(), literal) == 0;
    return has ? text.size() - literal.size() : text.size();
}

int MaskDigits(const std::string& format) {
    int n = 0;
    for (char c : format)
        if (c == 'X') ++n;
    return n;
}

bool IsDigits(const std::string& s, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    return true;
}

}  // namespace

bool GwFormatAccepts(int format_type, const std::string& format, const std::string& pattern, int precision,
                     const std::string& text) {
    switch (format_type) {
        case GwFORMAT_INTEGER: {
            size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
            return IsDigits(text, start, text.size());
        }
        case GwFORMAT_DECIMAL: {
            size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
            size_t dot = text.find('.', start);
            if (dot == std::string::npos) return IsDigits(text, start, text.size());
            if (precision == 0) return false;
            if (!IsDigits(text, start, dot) || !IsDigits(text, dot + 1, text.size())) return false;
            return precision < 0 || static_cast<int>(text.size() - dot - 1) <= precision;
        }
        case GwFORMAT_MASKED: {
            std::string digits = text.substr(0, MaskDigitsEnd(text, MaskLiteral(pattern)));
            if (static_cast<int>(digits.size()) > MaskDigits(format)) return false;
            for (char c : digits)
                if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
            return true;
        }
        default:
            return true;
    }
}

GwEdit::GwEdit(const std::string& name, GwCore* parent, GwKind kind) : GwCore(kind, name, parent) {}

void GwEdit::set_text(const std::string& text) {
    if (!is_alive()) return;
    store_text(text, Shown(text));
    cursor_ = static_cast<int>(text.size());
    all_selected_ = false;
    unconfirmed_ = false;
}

void GwEdit::set_suffix(const std::string& s) {
    if (s == suffix_) return;
    suffix_ = s;
    notify(GwProperty::kText);
}

void GwEdit::set_cursor_position(int pos) {
    int size = static_cast<int>(text().size());
    cursor_ = pos < 0 ? 0 : pos > size ? size : pos;
    all_selected_ = false;
}

bool GwEdit::set_text_file(const std::string& path) {
    auto content = platform::ReadTextFile(path);
    if (!content) return false;
    set_text(*content);
    return true;
}

bool GwEdit::Fits(const std::string& candidate) const {
    if (max_length_ > 0 && static_cast<int>(candidate.size()) > max_length_) return false;
    if (length_ > 0 && static_cast<int>(candidate.size()) > length_) return false;
    return GwFormatAccepts(format_type_, format_, pattern_, precision_, candidate);
}

std::string GwEdit::Shown(const std::string& text) const { return password_ ? std::string(text.size(), '*') : text; }

void GwEdit::StoreTyped(const std::string& text, int cursor) {
    // The cursor first: storing the text tells the observers at once, and a
    // screen that puts the model's cursor on its own edit must not see the
    // one from before the key.
    cursor_ = cursor;
    all_selected_ = false;
    unconfirmed_ = true;
    store_text(text, Shown(text));
    GwEvent ev;
    fire(GwCB_CHANGE, ev);
}

bool GwEdit::InsertChar(char c) {
    std::string current = all_selected_ ? std::string() : text();
    int pos = all_selected_ ? 0 : cursor_;
    if (pos > static_cast<int>(current.size())) pos = static_cast<int>(current.size());
    if (format_type_ == GwFORMAT_MASKED) {
        // The literal stays at the end; digits go in front of it, upper case.
        std::string literal = MaskLiteral(pattern_);
        std::string digits = current.substr(0, MaskDigitsEnd(current, literal));
        if (literal.size() == 1 && std::toupper(static_cast<unsigned char>(c)) == literal[0]) {
            std::string candidate = digits + literal;
            if (!Fits(candidate)) return false;
            StoreTyped(candidate, static_cast<int>(candidate.size()));
            return true;
        }
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        if (pos > static_cast<int>(digits.size())) pos = static_cast<int>(digits.size());
        digits.insert(digits.begin() + pos, static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
        std::string candidate = digits + literal;
        if (!Fits(candidate)) return false;
        StoreTyped(candidate, pos + 1);
        return true;
    }
    std::string candidate = current;
    candidate.insert(candidate.begin() + pos, c);
    if (!Fits(candidate)) return false;
    StoreTyped(candidate, pos + 1);
    return true;
}

bool GwEdit::EraseBefore() {
    if (all_selected_) {
        StoreTyped(std::string(), 0);
        return true;
    }
    std::string current = text();
    if (cursor_ <= 0 || current.empty()) return false;
    int pos = cursor_ > static_cast<int>(current.size()) ? static_cast<int>(current.size()) : cursor_;
    if (format_type_ == GwFORMAT_MASKED) {
        // The literal is not erased; only the digits before it.
        int digits_end = static_cast<int>(MaskDigitsEnd(current, MaskLiteral(pattern_)));
        if (pos > digits_end) pos = digits_end;
        if (pos <= 0) return false;
    }
    current.erase(current.begin() + pos - 1);
    StoreTyped(current, pos - 1);
    return true;
}

bool GwEdit::EraseAt() {
    if (all_selected_) return EraseBefore();
    std::string current = text();
    if (cursor_ >= static_cast<int>(current.size())) return false;
    current.erase(current.begin() + cursor_);
    StoreTyped(current, cursor_);
    return true;
}

bool GwEdit::type_key(int key) { return press_key(key); }

void GwEdit::Confirm() {
    unconfirmed_ = false;
    GwEvent confirm;
    fire(GwCB_CONFIRM, confirm);
}

void GwEdit::user_focus_out() {
    if (is_alive() && unconfirmed_) Confirm();
}

bool GwEdit::user_edit(const std::string& text, int cursor) {
    if (!is_alive() || read_only_ || !is_sensitive()) return false;
    std::string candidate = text;
    if (format_type_ == GwFORMAT_MASKED) {
        const std::string literal = MaskLiteral(pattern_);
        std::string digits = text.substr(0, MaskDigitsEnd(text, literal));
        for (char& c : digits) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        candidate = digits + literal;
        cursor = std::min(cursor, static_cast<int>(digits.size()));
    }
    if (candidate == this->text()) return true;
    if (!Fits(candidate)) {
        beep();
        return false;
    }
    StoreTyped(candidate, std::clamp(cursor, 0, static_cast<int>(candidate.size())));
    return true;
}

bool GwEdit::KindKey(int key) {
    if (key == GwKEY_RETURN) {
        GwEvent activate;
        fire(GwCB_ACTIVATE, activate);
        if (is_alive()) Confirm();
        return true;
    }
    if (read_only_) return false;
    bool taken = false;
    if (key == GwKEY_BACKSPACE) {
        taken = EraseBefore();
    } else if (key == GwKEY_DELETE) {
        taken = EraseAt();
    } else if (key >= 0x20 && key < 0x7F) {
        taken = InsertChar(static_cast<char>(key));
    } else if (key >= 0x80 && key <= 0xFF) {
        // Bytes of UTF-8 text pass as they are in free-text fields.
        taken = format_type_ <= GwFORMAT_TEXT && InsertChar(static_cast<char>(key));
    } else {
        return true;  // tab, clear, escape, F1: for the key callback only
    }
    if (!taken && is_alive()) beep();
    return taken;
}

void GwEdit::apply_definition(const GwDefinition& def, int language) {
    GwCore::apply_definition(def, language);
    max_length_ = def.number("max_length", language, 0);
    read_only_ = def.flag("read_only", language, false);
    password_ = def.flag("password", language, false);
    format_type_ = def.number("format_type", language, 0);
    length_ = def.number("length", language, 0);
    precision_ = def.number("precision", language, -1);
    format_ = def.text("format", language, format_);
    pattern_ = def.text("pattern", language, pattern_);
    suffix_ = def.text("suffix", language, suffix_);
    prompt_ = def.text("prompt", language, prompt_);
    cursor_ = static_cast<int>(text().size());
}

void GwEdit::copy_state_to(GwCore* copy) const {
    GwCore::copy_state_to(copy);
    if (auto* e = dynamic_cast<GwEdit*>(copy)) {
        e->max_length_ = max_length_;
        e->read_only_ = read_only_;
        e->password_ = password_;
        e->cursor_ = cursor_;
        e->suffix_ = suffix_;
        e->prompt_ = prompt_;
        e->format_type_ = format_type_;
        e->format_ = format_;
        e->pattern_ = pattern_;
        e->length_ = length_;
        e->precision_ = precision_;
    }
}
