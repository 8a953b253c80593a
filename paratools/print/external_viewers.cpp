#include "paratools/print/external_viewers.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "app/services/message_box.h"
#include "parameters/values/dstring.h"
#include "platform/files/registry_store.h"
#include "platform/system/program_start.h"

namespace {

constexpr char kSpreadsheetCommandKey[] = "HKEY_CLASSES_ROOT\\Excel.CSV\\shell\\Open\\command";
constexpr char kTextClassKey[] = "HKEY_CLASSES_ROOT\\.txt";
constexpr char kOpenCommandSuffix[] = "\\shell\\open\\command";

std::optional<std::string> DefaultValue(const std::string& key) {
    std::string data;
    if (platform::TheRegistry().ReadValue(key, "", kRegistryValueLimit, &data) != platform::RegistryStatus::kOk)
        return std::nullopt;
    return data;
}

std::string Removed(const std::string& text, const char* what) {
    dstring d(text.c_str());
    d.Replace(what, "");
    return d.Text();
}

}  // namespace

bool IsSpreadsheetProgramRegistered() {
    const auto command = DefaultValue(kSpreadsheetCommandKey);
    return command.has_value() && !command->empty();
}

void OpenInTextViewer(const std::string& path) {
    const auto fileClass = DefaultValue(kTextClassKey);
    if (!fileClass) return;
    const auto command = DefaultValue("HKEY_CLASSES_ROOT\\" + *fileClass + kOpenCommandSuffix);
    if (!command) return;
    const std::string program = Removed(*command, "%1");
    platform::StartProgram(program, {program, path}, false);
}

bool OpenInSpreadsheetProgram(const std::string& path) {
    const auto command = DefaultValue(kSpreadsheetCommandKey);
    if (!command) return false;
    const std::string program = Removed(Removed(*command, "\""), "/e");
    if (platform::StartProgram(program, {"\"" + program + "\"", "\"" + path + "\""}, false) != 0) {
        ShowErrorTextBox(std::strerror(errno));
        return false;
    }
    return true;
}
