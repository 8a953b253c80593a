// Fuzz target of the oscilloscope export over arbitrary buffers and
// parameter values: the input gives the raw values of the recorder's
// parameters (channel configurations and variables, trigger, divider, base
// time, pre-trigger, control type), the received and buffer byte counts and
// the sample bytes. The export ends with a code and writes its files, never
// a crash or undefined arithmetic.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "app/services/program_flags.h"
#include "parameters/parabase/fuzz/fuzz_parameter.h"
#include "parameters/parabase/fuzz/fuzz_work_dir.h"
#include "parameters/parabase/para_base.h"
#include "scope/recorder/scope_parameters.h"
#include "scope/varlist/scope_variable_list.h"

namespace {

// The parameters the export reads, in the order the input gives them.
constexpr int kValueParameters[] = {
    20,
    21,
    22,
    23,
    24,
    25,
    26,
    27,
    kScopeTriggerChannelParameter,
    kScopeTriggerModeParameter,
    kScopeTriggerLevelParameter,
    kScopeDividerParameter,
    kScopeBaseTimeParameter,
    kScopePreTriggerParameter,
    kScopeControlTypeParameter,
};

// Two variables of each width kind, one with a factor of its own and one
// from the factor table (a table entry that is missing gives 0).
constexpr char kList[] =
    "Speed, 1/min, 8, 2.5, 1, 1\n"
    "Current, var, 30, -1, 1, 1\n"
    "Position, Incr, 0, 1e30, 2, 1\n"
    "Torque, Nm, 31, -7, 2, 1\n";

uint32_t Take32(const uint8_t*& data, size_t& size) {
    uint32_t value = 0;
    const size_t n = size < 4 ? size : 4;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

void Define(ParaBase& base, int number, int32_t raw) {
    parabasefuzz::DefineParameter(base, number, number == kScopeBaseTimeParameter ? kTypeFloat32 : kTypeInt32, raw);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const parabasefuzz::WorkDirectory work("torvan_export_fuzz_");
    DevicesUncoupled = true;  // every read gives the table's value
    ParaBase base;
    for (int number : kValueParameters) Define(base, number, static_cast<int32_t>(Take32(data, size)));
    base.Recording().bytesReceived = Take32(data, size) & 0xFFFF;
    base.Recording().bufferLength = Take32(data, size) & 0xFFFF;
    base.Recording().samples.assign(data, data + size);
    auto list = std::make_unique<ScopeVariableList>();
    const double factors[] = {0.5, 3.0};
    list->SetFactorTable(factors);
    list->ReadListText(kList);
    base.Recording().variables = std::move(list);
    base.SetScopeExportPaths(work.File("fuzz.hdr").c_str(), work.File("fuzz.dat").c_str());
    base.ExportScopeData();
    DevicesUncoupled = false;
    return 0;
}
