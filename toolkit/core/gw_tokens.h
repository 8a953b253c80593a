// The toolkit's default token separators and splitting a text by them
// ("W1 W2", "A,B;C"): runs of separators give no empty tokens.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Blank, tab, comma, semicolon, carriage return and line feed.
inline constexpr std::string_view GwDEFAULT_TOKEN_SEPARATORS = " \t,;\r\n";

std::vector<std::string> GwSplitTokens(std::string_view text, std::string_view separators = GwDEFAULT_TOKEN_SEPARATORS);
