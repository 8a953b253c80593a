// Setup files of the recorder: one "%d=%lf" line per recorder parameter,
// written from the device and written back to it.
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/services_hooks.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/format.h"
#include "platform/files/staged_file.h"
#include "platform/files/text_file.h"
#include "scope/recorder/scope_parameters.h"
#include "scope/recorder/scope_recorder.h"

namespace {

constexpr char kCrLf[] = "\r\n";
// Longest line the reader takes, without its line end.
constexpr size_t kMaxSetupLine = 127;

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

template <typename T>
bool WholeNumber(std::string_view text, T* out) {
    text = TrimBlanks(text);
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *out);
    return error == std::errc() && end == text.data() + text.size();
}

bool IsSetupParameter(int number) {
    for (int p : kScopeSetupParameters)
        if (p == number) return true;
    return false;
}

}  // namespace

const int kScopeSetupParameters[kScopeSetupParameterCount] = {
    20,
    22,
    24,
    26,
    21,
    23,
    25,
    27,
    kScopeSetupOnlyParameter,
    kScopeDividerParameter,
    kScopeLengthParameter,
    kScopeTriggerLevelParameter,
    kScopeTriggerModeParameter,
    kScopeTriggerChannelParameter,
    kScopePreTriggerParameter,
    70,
    71,
    72,
    73,
};

bool ParseScopeSetupLine(const std::string& line, ScopeSetupLine* out) {
    if (line.size() > kMaxSetupLine) return false;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return false;
    const std::string_view text(line);
    ScopeSetupLine parsed;
    if (!WholeNumber(text.substr(0, equals), &parsed.number) || !IsSetupParameter(parsed.number)) return false;
    if (!WholeNumber(text.substr(equals + 1), &parsed.value) || !std::isfinite(parsed.value)) return false;
    *out = parsed;
    return true;
}

void ScopeRecorder::ShowFileMessage(int number, const char* name) {
    dstring text = GetMessageString(static_cast<unsigned>(number), kMainMessagesSection);
    text.Replace("%s", name);
    ShowErrorText(text.Text(), GetMainWindow());
}

bool ScopeRecorder::WriteSetupFile(const char* name) {
    if (base_ == nullptr || name == nullptr) return false;
    platform::StagedFile file;
    if (!file.Open(name)) {
        ShowFileMessage(kScopeSetupNotCreatedMessage, name);
        return false;
    }
    for (int number : kScopeSetupParameters) {
        if (!base_->IsWriteAllowed(number, kSetterWriteLevel)) continue;
        double value = 0.0;
        if (!CheckResult(base_->ReadValueDouble(number, &value))) return false;
        file.Write(platform::Format("%d=%lf", number, value) + kCrLf);
    }
    if (!file.Commit()) {
        ShowFileMessage(kScopeSetupNotCreatedMessage, name);
        return false;
    }
    return true;
}

bool ScopeRecorder::ReadSetupFile(const char* name) {
    if (base_ == nullptr || name == nullptr) return false;
    const std::optional<std::vector<std::string>> lines = platform::ReadTextLines(name);
    if (!lines) {
        ShowFileMessage(kScopeSetupNotReadMessage, name);
        return false;
    }
    // Only the recorder's own parameters are taken, so a foreign or damaged
    // file cannot change anything else in the drive.
    for (const std::string& line : *lines) {
        ScopeSetupLine setting;
        if (!ParseScopeSetupLine(line, &setting)) continue;
        CheckResult(base_->WriteValueDouble(setting.number, setting.value));
    }
    return true;
}
