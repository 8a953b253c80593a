#include "toolkit/draw/gw_text_layout.h"

namespace {

// The text split into UTF-8 characters.
std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> out;
    for (unsigned char c : text) {
        if ((c & 0xC0) == 0x80 && !out.empty()) {
            out.back() += static_cast<char>(c);
        } else {
            out.emplace_back(1, static_cast<char>(c));
        }
    }
    return out;
}

std::vector<std::string> ExpandTabs(const std::string& line) {
    std::vector<std::string> out;
    for (auto& c : Characters(line)) {
        if (c == "\t") {
            do out.emplace_back(" ");
            while (out.size() % kGwTabStopChars != 0);
        } else if (c != "\r") {
            out.push_back(std::move(c));
        }
    }
    return out;
}

std::string Join(const std::vector<std::string>& chars, size_t count) {
    std::string out;
    for (size_t i = 0; i < count && i < chars.size(); ++i) out += chars[i];
    return out;
}

// The line as it fits `max_chars`: whole, or cut after the last word that
// leaves room for "...", or cut inside the first word when none does.
std::string Fit(const std::vector<std::string>& chars, size_t max_chars) {
    if (chars.size() <= max_chars) return Join(chars, chars.size());
    static const std::string kEllipsis = "...";
    if (max_chars <= kEllipsis.size()) return kEllipsis.substr(0, max_chars);
    size_t room = max_chars - kEllipsis.size();
    size_t cut = room;
    while (cut > 0 && chars[cut] != " ") --cut;
    if (cut == 0) cut = room;
    return Join(chars, cut) + kEllipsis;
}

}  // namespace

std::vector<GwTextLine> GwLayoutTextBox(const GwRect& rect, const std::string& text, const GwFontSpec& font) {
    std::vector<GwTextLine> lines;
    int char_width = GwFontCharWidth(font);
    if (font.height <= 0 || char_width <= 0 || rect.width <= 0) return lines;
    size_t max_chars = static_cast<size_t>(rect.width / char_width);
    size_t start = 0;
    for (int y = rect.y; start <= text.size() && y + font.height <= rect.y + rect.height; y += font.height) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        lines.push_back({{rect.x, y}, Fit(ExpandTabs(line), max_chars)});
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}
