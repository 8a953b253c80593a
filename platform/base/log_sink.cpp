#include "platform/base/log_sink.h"

#include <mutex>

namespace platform {

namespace {
std::mutex g_mutex;
LogSink g_sink;
}  // namespace

void SetLogSink(LogSink sink) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_sink = std::move(sink);
}

void LogLine(const std::string& text) {
    LogSink sink;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        sink = g_sink;
    }
    if (sink) sink(text);
}

}  // namespace platform
