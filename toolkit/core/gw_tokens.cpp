#include "toolkit/core/gw_tokens.h"

std::vector<std::string> GwSplitTokens(std::string_view text, std::string_view separators) {
    std::vector<std::string> tokens;
    size_t pos = 0;
    while (true) {
        size_t start = text.find_first_not_of(separators, pos);
        if (start == std::string_view::npos) break;
        size_t end = text.find_first_of(separators, start);
        tokens.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        pos = end;
    }
    return tokens;
}
