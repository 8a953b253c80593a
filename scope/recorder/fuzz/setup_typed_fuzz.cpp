// Fuzz target of the setup-file reader as a whole, with the recorder's
// parameters of the types a drive gives them: the first 19 bytes choose the
// type of each setup parameter, the rest is the file. Every value a line
// gives goes through the type's checks and conversion; nothing but the
// setup parameters changes, and nothing crashes or overflows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/services/program_flags.h"
#include "parameters/parabase/fuzz/fuzz_parameter.h"
#include "parameters/parabase/fuzz/fuzz_work_dir.h"
#include "parameters/parabase/para_base.h"
#include "scope/recorder/scope_recorder.h"

namespace {

constexpr char kTypes[] = {kTypeUsign8,
                           kTypeUsign16,
                           kTypeInt8,
                           kTypeInt16,
                           kTypeInt32,
                           kTypeUsign32,
                           kTypeFixpt16,
                           kTypeInt32Q16,
                           kTypeFloat32};
constexpr int kOthers[] = {0, 28, 35, 61, 69, 74, 91, 999};
constexpr int32_t kUntouched = 17;

void Define(ParaBase& base, int number, char type) { parabasefuzz::DefineParameter(base, number, type, kUntouched); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const parabasefuzz::WorkDirectory work("torvan_scs_typed_fuzz_");
    if (size < kScopeSetupParameterCount) return 0;
    DevicesUncoupled = true;
    ParaBase base;
    for (int i = 0; i < kScopeSetupParameterCount; ++i)
        Define(base, kScopeSetupParameters[i], kTypes[data[i] % std::size(kTypes)]);
    for (int number : kOthers) Define(base, number, kTypeInt32);
    const std::string path =
        work.Write("input.scs", data + kScopeSetupParameterCount, size - kScopeSetupParameterCount);
    ScopeRecorder engine(&base, "");
    if (!engine.ReadSetupFile(path.c_str())) std::abort();
    for (int number : kOthers)
        if (base.GetEntry(number)->value != kUntouched) std::abort();
    DevicesUncoupled = false;
    return 0;
}
