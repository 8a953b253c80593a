// The export of the last buffer read: the header file (channels and
// trigger), the value file (times and physical values, the plot data) and the
// raw file (times and raw samples), all three put in place together.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_description_file.h"
#include "platform/base/format.h"
#include "platform/files/staged_file.h"
#include "platform/files/text_file.h"
#include "scope/recorder/scope_parameters.h"
#include "scope/varlist/scope_variable_list.h"
#include "toolkit/base/gw_path.h"

namespace {

constexpr char kCrLf[] = "\r\n";
// Longest header line before its line end; readers take lines below 256.
constexpr size_t kMaxHeaderLine = 253;

// Trigger mode names by mode value + 1 (values -1 .. 9).
constexpr const char* kTriggerModeNames[] = {
    "Scope aus",
    "DA-Ausgabe",
    "Automatik",
    "Steigende Flanke",
    "Fallende Flanke",
    "Beide Flanken",
    "Bit (steigende Flanke)",
    "Bit (fallende Flanke)",
    "Bit (beide Flanken)",
    "Warnung",
    "Fehler",
};
constexpr char kUnknownTriggerMode[] = "unbekannt";
constexpr int kLowestTriggerMode = -1;

// Units of a variable of unit "variable", by control type (parameter 300).
constexpr const char* kControlTypeUnits[] = {"Hz", "Nm", "1/min", "Incr"};
constexpr char kVariableUnit[] = "variable";

// The base's scratch paths are kept in the order raw, value, header.
constexpr int kRawPath = 0;
constexpr int kValuePath = 1;
constexpr int kHeaderPath = 2;

constexpr double kPreTriggerStep = 0.05;  // percent per raw step
constexpr double kWholeRecording = 100.0;
constexpr double kPerCent = 0.01;

const char* TriggerModeName(int16_t mode) {
    const int at = mode - kLowestTriggerMode;
    return at >= 0 && at < static_cast<int>(std::size(kTriggerModeNames)) ? kTriggerModeNames[at] : kUnknownTriggerMode;
}

std::string HeaderLine(std::string text) {
    if (text.size() > kMaxHeaderLine) text.resize(kMaxHeaderLine);
    return text + kCrLf;
}

// What the export knows of one channel.
struct Channel {
    uint8_t config = 0;
    bool active = false;
    int kind = kScopeKind16;
    ScopeVariable variable;
    double factor = 0.0;
    std::string unit;
};

// Big-endian sample of `bytes` bytes.
uint32_t SampleAt(const uint8_t* at, int bytes) {
    uint32_t sample = 0;
    for (int i = 0; i < bytes; ++i) sample = sample << 8 | at[i];
    return sample;
}

// The display text of a variable: its introduction in the description file,
// else its name.
std::string ShownName(ParaBase& base, const ScopeVariable& variable) {
    ParaDescriptionFile* file = base.GetDescriptionFile();
    return file != nullptr ? file->GetScopeEntryIntroduction(variable.name.c_str()) : variable.name;
}

// The lines of the value and raw files. Row r is at time
// (divider + 1) * (r - before) * baseTime; a row holds the active channels
// from the highest down, most significant byte first.
void AppendRows(const Channel (&channels)[kScopeChannelCount], const uint8_t* buffer, uint32_t rows, int bytesPerRow,
                int64_t before, uint16_t divider, double baseTime, std::string* values, std::string* raws) {
    for (uint32_t row = 0; row < rows; ++row) {
        std::string physical[kScopeChannelCount];
        std::string raw[kScopeChannelCount];
        const uint8_t* at = buffer + static_cast<size_t>(row) * bytesPerRow;
        for (int c = kScopeChannelCount - 1; c >= 0; --c) {
            const Channel& channel = channels[c];
            if (!channel.active) continue;
            const int bytes = ScopeBytesOfKind(channel.kind);
            const uint32_t sample = SampleAt(at, bytes);
            at += bytes;
            const uint8_t bits = channel.variable.fraction_bits;
            if (channel.kind == kScopeKind32) {
                raw[c] = platform::Format("%08lX", sample);
                physical[c] = platform::Format(
                    "%24.16lf", FixedPoint32ToDouble(static_cast<int32_t>(sample), bits) * channel.factor);
            } else {
                raw[c] = platform::Format("%04X", sample);
                physical[c] = platform::Format(
                    "%24.16lf", FixedPoint16ToDouble(static_cast<int16_t>(sample), bits) * channel.factor);
            }
        }
        const auto ticks = static_cast<double>((static_cast<int64_t>(divider) + 1) * (row - before));
        const std::string time = platform::Format("%22.16lf", ticks * baseTime);
        *values +=
            platform::Format("%s\t%s\t%s\t%s\t%s", time, physical[0], physical[1], physical[2], physical[3]) + kCrLf;
        *raws += platform::Format("%s\t%s\t%s\t%s\t%s", time, raw[0], raw[1], raw[2], raw[3]) + kCrLf;
    }
}

}  // namespace

void ParaBase::SetScopeExportPaths(const char* header, const char* value) {
    const auto set = [](char* destination, const char* path) {
        std::strncpy(destination, path != nullptr ? path : "", kParaPathSize - 1);
        destination[kParaPathSize - 1] = '\0';
    };
    set(recorder_.scratchPaths[kHeaderPath], header);
    set(recorder_.scratchPaths[kValuePath], value);
}

int ParaBase::ExportScopeData() {
    ScopeVariableList* list = recorder_.variables.get();

    if (HasParameterNamed(*this, kScopeNormParameter, kScopeNormName)) {
        std::vector<double> factors;
        if (const int r = ReadScopeNormTable(*this, &factors)) return r;
        if (list != nullptr) list->SetFactorTable(factors);
    }

    Channel channels[kScopeChannelCount];
    int bytesPerRow = 0;
    for (int c = 0; c < kScopeChannelCount; ++c) {
        Channel& channel = channels[c];
        if (const int r = ReadValueU8(kScopeFirstConfigParameter + 2 * c, &channel.config)) return r;
        channel.active = (channel.config & kScopeChannelActive) != 0;
        channel.kind = ScopeKindOfConfig(channel.config);
        if (channel.active) bytesPerRow += ScopeBytesOfKind(channel.kind);
    }
    if (bytesPerRow == 0) return kParaOk;

    const uint32_t usable = std::min<uint32_t>(recorder_.bytesReceived, recorder_.bufferLength);
    const uint32_t rows = std::min<uint32_t>(usable, static_cast<uint32_t>(recorder_.samples.size())) /
                          static_cast<uint32_t>(bytesPerRow);
    uint8_t triggerChannel = 0;
    if (const int r = ReadValueU8(kScopeTriggerChannelParameter, &triggerChannel)) return r;

    std::string header;
    for (int c = 0; c < kScopeChannelCount; ++c) {
        Channel& channel = channels[c];
        uint16_t index = 0;
        if (const int r = ReadValueU16(kScopeFirstVariableParameter + 2 * c, &index)) return r;
        if (list == nullptr || !list->SelectByKindIndex(index, channel.kind))
            return SetMessage(kParaScopeVariableMissing, {c, list != nullptr ? list->Path() : std::string()});
        channel.variable = *list->Current();
        channel.factor = list->GetCurrentFactor();
        channel.unit = channel.variable.unit;
        if (channel.unit == kVariableUnit) {
            uint8_t controlType = 0;
            if (const int r = ReadValueU8(kScopeControlTypeParameter, &controlType)) return r;
            if (controlType < std::size(kControlTypeUnits)) channel.unit = kControlTypeUnits[controlType];
        }
        if (channel.active)
            header += HeaderLine(platform::Format("%d %s [%s]", c, ShownName(*this, channel.variable), channel.unit));
    }

    int16_t mode = 0;
    int16_t level = 0;
    if (const int r = ReadValueS16(kScopeTriggerModeParameter, &mode)) return r;
    if (const int r = ReadValueS16(kScopeTriggerLevelParameter, &level)) return r;
    // A trigger channel beyond the four has no variable (the list exists:
    // every channel's variable was found in it).
    if (triggerChannel >= kScopeChannelCount)
        return SetMessage(kParaScopeVariableMissing, {static_cast<int>(triggerChannel), list->Path()});
    const Channel& trigger = channels[triggerChannel];
    header += HeaderLine(platform::Format("Triggerchannel:  %u", static_cast<unsigned>(triggerChannel)));
    header += HeaderLine(platform::Format("Triggervariable: %s", ShownName(*this, trigger.variable)));
    header += HeaderLine(platform::Format(
        "Triggervalue:    %lf %s", ScopeRawToValue(trigger.variable, trigger.factor, level), trigger.unit));
    header += HeaderLine(platform::Format("Triggermode:     %s", TriggerModeName(mode)));

    uint16_t divider = 0;
    double baseTime = 0.0;
    uint16_t preTrigger = 0;
    if (const int r = ReadValueU16(kScopeDividerParameter, &divider)) return r;
    if (const int r = ReadValueDouble(kScopeBaseTimeParameter, &baseTime)) return r;
    if (const int r = ReadValueU16(kScopePreTriggerParameter, &preTrigger)) return r;
    const double n = rows;
    const auto before = static_cast<int64_t>(n - n * (kWholeRecording - kPreTriggerStep * preTrigger) * kPerCent);

    std::string values;
    std::string raws;
    AppendRows(channels, recorder_.samples.data(), rows, bytesPerRow, before, divider, baseTime, &values, &raws);

    // Nothing is put in place unless all three files are complete, so a
    // failed export never leaves a half-written or mixed recording behind.
    // The files are opened in the order header, value, raw and put in place
    // the other way round: the raw file, which may lie elsewhere, first, the
    // header, which readers open first, last.
    struct Output {
        int path;
        const std::string* text;
    };
    const Output outputs[] = {{kHeaderPath, &header}, {kValuePath, &values}, {kRawPath, &raws}};
    constexpr size_t kFiles = std::size(outputs);
    platform::StagedFile files[kFiles];
    for (size_t i = 0; i < kFiles; ++i) {
        const char* path = recorder_.scratchPaths[outputs[i].path];
        if (!files[i].Open(path)) return SetMessage(kParaCannotOpenFile, {path});
        if (!files[i].Write(*outputs[i].text)) return SetMessage(kParaCannotWriteFile, {path});
    }
    for (size_t i = kFiles; i-- > 0;) {
        if (files[i].Commit()) continue;
        for (size_t done = i + 1; done < kFiles; ++done) platform::RemoveFile(files[done].Path());
        return SetMessage(kParaCannotWriteFile, {files[i].Path()});
    }
    return kParaOk;
}
