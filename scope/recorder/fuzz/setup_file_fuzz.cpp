// Fuzz target of the setup-file reader: any bytes are read without a crash,
// and only the recorder's own parameters change, each to a value a line of
// the file gave it.
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "app/services/program_flags.h"
#include "parameters/parabase/fuzz/fuzz_parameter.h"
#include "parameters/parabase/fuzz/fuzz_work_dir.h"
#include "parameters/parabase/para_base.h"
#include "platform/files/text_file.h"
#include "scope/recorder/scope_recorder.h"

namespace {

// The recorder's parameters and some others, all able to take any value the
// reader might write.
constexpr int kOthers[] = {0, 1, 28, 35, 61, 69, 74, 91, 123, 999};
constexpr int32_t kUntouched = 12345;

void Define(ParaBase& base, int number) { parabasefuzz::DefineParameter(base, number, kTypeInt32, kUntouched); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const parabasefuzz::WorkDirectory work("torvan_scs_fuzz_");
    const std::string path = work.Write("input.scs", data, size);

    // Uncoupled, every write goes to the table only.
    DevicesUncoupled = true;
    ParaBase base;
    for (int number : kScopeSetupParameters) Define(base, number);
    for (int number : kOthers) Define(base, number);
    ScopeRecorder engine(&base, "");
    if (!engine.ReadSetupFile(path.c_str())) std::abort();

    // What the lines allow: every parameter a line names with its value cut
    // to the type's integer.
    std::set<std::pair<int, int32_t>> allowed;
    for (const std::string& line : platform::ReadTextLines(path).value_or(std::vector<std::string>{})) {
        ScopeSetupLine setting;
        if (!ParseScopeSetupLine(line, &setting)) continue;
        if (setting.value >= INT32_MIN && setting.value <= INT32_MAX)
            allowed.insert({setting.number, static_cast<int32_t>(setting.value)});
    }
    for (int number : kOthers)
        if (base.GetEntry(number)->value != kUntouched) std::abort();
    for (int number : kScopeSetupParameters) {
        const int32_t value = base.GetEntry(number)->value;
        if (value != kUntouched && allowed.count({number, value}) == 0) std::abort();
    }
    DevicesUncoupled = false;
    return 0;
}
