// Turning the bytes of a PLC source file into the editor's text: lines end
// in CR LF whatever the file used, empty lines are kept, and the text stops
// at the edit control's limit.
#pragma once

#include <string>
#include <string_view>

namespace sindel {

// Characters the editor's text may hold.
constexpr int kMaxTextChars = 0x80000;

struct SourceText {
    enum class Fit {
        kWhole,    // shorter than the limit
        kAtLimit,  // exactly as long as the limit: whole, but no room left
        kCut,      // longer: only the first `limit` characters are kept
    };
    std::string text;
    Fit fit = Fit::kWhole;
};

// Each line (the bytes before a line feed, one carriage return before it
// removed) gets CR LF; a last line without a line feed is taken as it is.
// Reading stops once the text is longer than `limit`, which it is then cut to.
SourceText SourceTextFromBytes(std::string_view bytes, size_t limit = kMaxTextChars);

}  // namespace sindel
