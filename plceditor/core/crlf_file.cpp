// CR LF output files of the translator.
#include "plceditor/core/crlf_file.h"

#include <filesystem>

#include "platform/base/log_sink.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"

namespace plc {

bool WriteCrLfFile(std::string& path, const std::vector<std::string>& lines) {
    if (path.empty()) return false;
    std::string error;
    if (!platform::ReplaceFile(path, platform::JoinLines(lines, platform::LineEnd::kCrLf), &error)) {
        platform::LogLine("PLC: cannot write " + path + ": " + error);
        return false;
    }
    std::error_code ec;
    std::filesystem::path written = std::filesystem::absolute(platform::ResolveForWrite(path), ec);
    if (!ec) path = written.lexically_normal().string();
    return true;
}

}  // namespace plc
