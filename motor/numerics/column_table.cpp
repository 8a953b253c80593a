#include "motor/numerics/column_table.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "motor/datalogger/data_logger.h"
#include "platform/base/format.h"

namespace {

// Fixed ten decimals, so the columns line up for a reader and lose nothing.
constexpr std::string_view kValueFormat = "%10.10f";

}  // namespace

bool LogColumnTable(DataLogger& log, int extraColumns, int rowCount, std::span<const double> first,
                    const std::array<std::span<const double>, kMaxExtraLogColumns>& further,
                    const std::array<std::string_view, kMaxExtraLogColumns + 1>& headings) {
    if (extraColumns < 1 || extraColumns > kMaxExtraLogColumns || rowCount < 0) return false;
    const auto rows = static_cast<size_t>(rowCount);
    if (first.size() < rows) return false;
    for (int c = 0; c < extraColumns; ++c) {
        if (further[c].size() < rows) return false;
    }

    std::string heading(headings[0]);
    for (int c = 1; c <= extraColumns; ++c) {
        heading += '\t';
        heading += headings[c];
    }
    log.WriteLine(heading);
    log.WriteLine("");

    for (size_t i = 0; i < rows; ++i) {
        std::string line = platform::Format(kValueFormat, first[i]);
        for (int c = 0; c < extraColumns; ++c) {
            line += '\t';
            line += platform::Format(kValueFormat, further[c][i]);
        }
        // The tools the tables are pasted into read a decimal comma.
        std::replace(line.begin(), line.end(), '.', ',');
        log.WriteLine(line);
    }
    log.WriteLine("");
    log.WriteLine("");
    return true;
}
