// Fuzz target of the value-text (T) file reader: any bytes read without a
// crash, and the texts read survive a write and a second read unchanged.
#include <cstdlib>
#include <string>

#include "parameters/parabase/fuzz/fuzz_work_dir.h"
#include "parameters/parabase/value_text_table.h"

namespace {

constexpr int kValuesPerParameter = 256;

bool SameText(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return a == b;
    return std::string(a) == b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const parabasefuzz::WorkDirectory work("torvan_tfile_fuzz_");
    ValueTextTable table;
    const bool read = table.ReadFile(work.Write("input.00T", data, size).c_str());
    if (table.GetCount() > ValueTextTable::kMaxTexts) std::abort();
    if (!read) return 0;

    const std::string written = work.File("written.00T");
    if (!table.WriteFile(written.c_str())) std::abort();
    ValueTextTable again;
    if (!again.ReadFile(written.c_str())) std::abort();
    for (int number = 0; number < kParameterCount; ++number) {
        for (int value = 0; value < kValuesPerParameter; ++value) {
            const char* text = table.GetValueText(number, value);
            if (text != nullptr && std::string(text).size() > ValueTextTable::kTextLength) std::abort();
            if (!SameText(text, again.GetValueText(number, value))) std::abort();
        }
    }
    return 0;
}
