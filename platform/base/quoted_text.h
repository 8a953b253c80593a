// Texts in double quotes inside a line of fields, for files whose fields are
// otherwise separated by blanks or commas: a quote inside the text is
// doubled ("say ""yes""").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

inline constexpr char kTextQuote = '"';

// The text in quotes, its quotes doubled.
std::string QuotedText(std::string_view text);

// Reads the quoted text whose opening quote is at `pos` into `text`; returns
// the position after its closing quote, or the end of the line when it has
// none (the rest of the line is then the text).
size_t ReadQuotedText(std::string_view line, size_t pos, std::string* text);

}  // namespace platform
