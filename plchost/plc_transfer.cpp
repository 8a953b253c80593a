#include "plchost/plc_transfer.h"

#include <cstdio>
#include <optional>

#include "app/services/activity_message.h"
#include "app/services/message_box.h"
#include "app/services/wait.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/parameter_name.h"
#include "parameters/parabase/plc_project.h"
#include "platform/base/format.h"
#include "platform/files/text_file.h"
#include "plchost/plc_word_file.h"
#include "toolkit/core/gw_timers.h"

namespace {

constexpr int kParameterLimit = 1000;

// The activity window of a transfer, open from the start until it is closed
// before a box or at the end.
class TransferActivity {
public:
    TransferActivity(int message, unsigned settleMs) {
        window_.emplace(message);
        GwProcessPendingEvents();
        WaitMilliseconds(settleMs);
    }
    void Close() { window_.reset(); }

private:
    std::optional<ActivMessage> window_;
};

std::string CannotOpenText(const std::string& path) { return "Cannot open file \"" + path + "\"!"; }

// A failed read, store or write of the base: the activity window closes and
// main error 5 names the base's error.
bool DeviceFailure(TransferActivity& activity, ParaBase* base) {
    activity.Close();
    ShowErrorMessageFor(kPlcDeviceErrorMessage, base);
    return false;
}

}  // namespace

int FindPlcProgramParameter(ParaBase& base, int k, int from) {
    const std::string name = "PLCC" + std::to_string(k);
    for (int number = from < 0 ? 0 : from; number < kParameterLimit; ++number) {
        if (HasParameterNamed(base, number, name)) return number;
    }
    return -1;
}

bool ExportPlcProgram(ParaBase* base, const std::string& path, bool online) {
    if (!HasPlcProject(base)) {
        ShowWarningMessage(kNoPlcProjectMessage);
        return false;
    }
    TransferActivity activity(online ? kExportOnlineActivity : kExportOfflineActivity, kExportSettleMs);
    std::FILE* file = platform::OpenFile(path, "wb");
    if (file == nullptr) {
        activity.Close();
        ShowErrorTextBox(CannotOpenText(path).c_str());
        return false;
    }
    int from = 0;
    for (int k = 0; k < kPlcProgramParameterCount; ++k) {
        const int number = FindPlcProgramParameter(*base, k, from);
        if (number < 0) break;
        from = number;
        const int count = base->GetValueCount(number);
        if (online && base->ReadBusParameter(number, 0, count) != kParaOk) {
            std::fclose(file);
            return DeviceFailure(activity, base);
        }
        for (int element = 0; element < count; ++element) {
            uint32_t word = 0;
            if (base->GetValueU32(number, &word, element) != kParaOk) {
                std::fclose(file);
                return DeviceFailure(activity, base);
            }
            const std::string line = FormatPlcWord(word);
            std::fwrite(line.data(), 1, line.size(), file);
        }
    }
    std::fclose(file);
    return true;
}

bool ImportPlcProgram(ParaBase* base, const std::string& path, bool online) {
    if (!HasPlcProject(base)) {
        ShowWarningMessage(kNoPlcProjectMessage);
        return false;
    }
    TransferActivity activity(online ? kImportOnlineActivity : kImportOfflineActivity, kImportSettleMs);
    const std::optional<std::string> text = platform::ReadBinaryFile(path);
    if (!text) {
        activity.Close();
        ShowErrorTextBox(CannotOpenText(path).c_str());
        return false;
    }
    PlcWordReader reader(*text);
    const int total = reader.CountWords();
    int placed = 0;
    int from = 0;
    for (int k = 0; k < kPlcProgramParameterCount; ++k) {
        const int number = FindPlcProgramParameter(*base, k, from);
        if (number < 0) {
            activity.Close();
            const std::string message = platform::Format(
                "The PLC-program out of file \"%s\" (%d lines)\ndoesn´t match with count of PLC-program-parameter "
                "PLCCx!",
                path,
                total);
            ShowErrorTextBox(message.c_str());
            return false;
        }
        from = number;
        const int count = base->GetValueCount(number);
        bool fileEnded = false;
        int stored = 0;
        for (; stored < count; ++stored) {
            uint32_t word = 0;
            if (!reader.Next(&word)) {
                fileEnded = true;
                break;
            }
            if (base->SetValueU32(number, word, stored) != kParaOk) return DeviceFailure(activity, base);
            ++placed;
        }
        if (fileEnded && stored == 0) return true;
        if (online && base->WriteBusParameter(number, 0, count) != kParaOk) return DeviceFailure(activity, base);
        if (fileEnded || placed == total) return true;
    }
    return true;
}
