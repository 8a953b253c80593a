// The variable list of the device's firmware: finding its file in
// "..\FIRMDATA" by device class and version, building it from the device
// when the firmware can describe its variables, and loading it.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/services/activity_message.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "platform/files/paths.h"
#include "platform/files/staged_file.h"
#include "scope/recorder/scope_parameters.h"
#include "scope/varlist/scope_variable_list.h"
#include "toolkit/base/gw_number.h"
#include "toolkit/base/gw_path.h"

namespace {

constexpr char kListDir[] = "..\\FIRMDATA";
constexpr char kListExtension[] = "MCW";
constexpr int kSearchRounds = 2;
// Versions from this major number on are read from parameter 90 instead.
constexpr int kAlternativeVersionMajor = 100;
constexpr int kLargestListIndex = 0xFFFF;
// Device classes whose firmware versions share a list file.
constexpr int kSharedListClassA = 3;  // versions 3 and up use 3_003_00
constexpr int kSharedListClassB = 7;  // version 3 uses 7_003_00, 4 and up 7_004_00
constexpr int kSharedMajorThree = 3;
constexpr int kSharedMajorFour = 4;

std::string ListPath(int deviceClass, int major, int minor) {
    const std::string name = platform::Format("%01d_%03d_%02d", deviceClass, major, minor);
    return GwMakepath("", kListDir, name.c_str(), kListExtension).c_str();
}

// Major and minor number of a version as the file names use them.
void SplitVersion(double version, int* major, int* minor) {
    const std::string text = platform::Format("%6.02f", version);
    const size_t dot = text.find('.');
    *major = GwAtoi(text.substr(0, dot).c_str());
    *minor = dot == std::string::npos ? 0 : GwAtoi(text.substr(dot + 1).c_str());
}

// The path of the list file of the device's firmware: the file of its class
// and version when it exists, else the file that the class falls back on.
std::string FindListPath(ParaBase& base) {
    double code = 0.0;
    double version = 0.0;
    base.GetValueDouble(kDeviceCodeParameter, &code);
    base.GetValueDouble(kFirmwareVersionParameter, &version);
    const int deviceClass = static_cast<int>(code) / kDeviceClassDivisor;
    std::string path;
    for (int round = 0; round < kSearchRounds; ++round) {
        int major = 0;
        int minor = 0;
        SplitVersion(version, &major, &minor);
        path = ListPath(deviceClass, major, minor);
        if (platform::FileExists(path)) break;
        bool again = false;
        if (deviceClass == kSharedListClassA) {
            if (major >= kAlternativeVersionMajor) {
                base.GetValueDouble(kAlternateVersionParameter, &version);
                again = true;
            } else if (major >= kSharedMajorThree) {
                path = ListPath(kSharedListClassA, kSharedMajorThree, 0);
            } else {
                again = true;
            }
        } else if (deviceClass == kSharedListClassB) {
            if (major == kSharedMajorThree) {
                path = ListPath(kSharedListClassB, kSharedMajorThree, 0);
            } else if (major >= kSharedMajorFour && major < kAlternativeVersionMajor) {
                path = ListPath(kSharedListClassB, kSharedMajorFour, 0);
            } else if (major >= kAlternativeVersionMajor) {
                base.GetValueDouble(kAlternateVersionParameter, &version);
                again = true;
            }
        }
        if (!again) break;
    }
    return path;
}

}  // namespace

int ParaBase::LoadScopeVariableList() {
    BusWriteReportPause quiet;
    const std::string path = FindListPath(*this);
    recorder_.variables.reset();
    auto list = std::make_unique<ScopeVariableList>();

    if (!platform::FileExists(path) && HasParameterNamed(*this, kScopeListIndexParameter, kScopeListIndexName)) {
        // The list is written under a temporary name and put in place only
        // when complete: a list cut short by an error would later pass for
        // the firmware's whole list.
        double highest = 0.0;
        GetMaximumAsDouble(kScopeListIndexParameter, &highest);
        const int last = static_cast<int>(std::clamp(highest, 0.0, static_cast<double>(kLargestListIndex)));
        platform::StagedFile file;
        if (!file.Open(path)) return SetMessage(kParaCannotOpenFile, {path});
        ProgressMessage progress(kScopeListBuildActivity, last);
        for (int i = 0; i <= last; ++i) {
            dstring name;
            dstring unit;
            double fraction = 0.0, factor = 0.0, kind = 0.0, level = 0.0;
            int r = WriteValueU16(kScopeListIndexParameter, static_cast<uint16_t>(i));
            if (r == kParaOk) r = ReadValueString(kScopeListNameParameter, name);
            if (r == kParaOk) r = ReadValueString(kScopeListUnitParameter, unit);
            if (r == kParaOk) r = ReadValueDouble(kScopeListFractionParameter, &fraction);
            if (r == kParaOk) r = ReadValueDouble(kScopeListFactorParameter, &factor);
            if (r == kParaOk) r = ReadValueDouble(kScopeListKindParameter, &kind);
            if (r == kParaOk) r = ReadValueDouble(kScopeListLevelParameter, &level);
            if (r != kParaOk) return r;
            const std::string nameField = ScopeVariableList::FileField(name.Text(), ScopeVariableList::kMaxNameLength);
            const std::string unitField = ScopeVariableList::FileField(unit.Text(), ScopeVariableList::kMaxUnitLength);
            file.Write(platform::Format(
                "%s, %s, %.0lf, %lf, %.0lf, %.0lf\n", nameField, unitField, fraction, factor, kind, level));
            progress.SetValue(static_cast<double>(i));
        }
        if (!file.Commit()) return SetMessage(kParaCannotWriteFile, {path});
    }

    if (HasParameterNamed(*this, kScopeNormParameter, kScopeNormName)) {
        std::vector<double> factors;
        if (const int r = ReadScopeNormTable(*this, &factors)) return r;
        list->InitWithFactorTable(path, factors);
    } else {
        double time = 0.0;
        if (const int r = ReadValueDouble(kScopeListTimeBaseParameter, &time)) return r;
        list->InitWithTimeBase(path, time);
    }
    const bool loaded = list->IsValid();
    recorder_.variables = std::move(list);
    return loaded ? kParaOk : SetMessage(kParaCannotOpenFile, {path});
}
