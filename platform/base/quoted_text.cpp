#include "platform/base/quoted_text.h"

namespace platform {

std::string QuotedText(std::string_view text) {
    std::string quoted(1, kTextQuote);
    for (char c : text) {
        if (c == kTextQuote) quoted += kTextQuote;
        quoted += c;
    }
    return quoted + kTextQuote;
}

size_t ReadQuotedText(std::string_view line, size_t pos, std::string* text) {
    text->clear();
    for (++pos; pos < line.size(); ++pos) {
        if (line[pos] != kTextQuote) {
            *text += line[pos];
        } else if (pos + 1 < line.size() && line[pos + 1] == kTextQuote) {
            *text += kTextQuote;
            ++pos;
        } else {
            return pos + 1;
        }
    }
    return pos;
}

}  // namespace platform
