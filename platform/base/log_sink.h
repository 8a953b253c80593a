// Where the platform and toolkit layers write their log lines. The program
// connects the sink to the data logger at start; tests connect their own.
#pragma once

#include <functional>
#include <string>

namespace platform {

using LogSink = std::function<void(const std::string&)>;

void SetLogSink(LogSink sink);
// Writes one entry; without a sink the entry is dropped.
void LogLine(const std::string& text);

}  // namespace platform
