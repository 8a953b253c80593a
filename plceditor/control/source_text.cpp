#include "plceditor/control/source_text.h"

namespace sindel {

SourceText SourceTextFromBytes(std::string_view bytes, size_t limit) {
    SourceText result;
    size_t start = 0;
    while (start < bytes.size() && result.text.size() <= limit) {
        size_t lf = bytes.find('\n', start);
        const bool ended = lf != std::string_view::npos;
        std::string_view line = bytes.substr(start, ended ? lf - start : std::string_view::npos);
        const bool had_cr = !line.empty() && line.back() == '\r';
        if (had_cr) line.remove_suffix(1);
        result.text.append(line);
        if (ended || had_cr) result.text.append("\r\n");
        start = ended ? lf + 1 : bytes.size();
    }
    if (result.text.size() == limit) {
        result.fit = SourceText::Fit::kAtLimit;
    } else if (result.text.size() > limit) {
        result.text.resize(limit);
        result.fit = SourceText::Fit::kCut;
    }
    return result;
}

}  // namespace sindel
