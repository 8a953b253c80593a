// Fuzz target of the description profile: any bytes open without a crash, and
// every lookup with the file's own section and key names answers a text
// where one is promised.
#include <cstdlib>
#include <string>
#include <vector>

#include "parameters/parabase/fuzz/fuzz_work_dir.h"
#include "parameters/parabase/para_description_file.h"
#include "toolkit/profile/gw_profile.h"

namespace {

// Names looked up per input at most, to keep one run short.
constexpr size_t kMaxNames = 64;

std::vector<std::string> NamesOf(const std::string& path) {
    std::vector<std::string> names = {"", "P001", "MODE", "STAT"};
    GwProfile profile(path);
    for (int s = 0; s < profile.section_count() && names.size() < kMaxNames; ++s) {
        profile.select_section(s);
        names.push_back(profile.current_section());
        for (int k = 0; k < profile.key_count() && names.size() < kMaxNames; ++k) {
            names.push_back(profile.key(k));
            names.push_back(profile.value(k));
        }
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const parabasefuzz::WorkDirectory work("torvan_pit_fuzz_");
    const std::string path = work.Write("input.PIT", data, size);
    ParaDescriptionFile file(path.c_str());
    for (const std::string& name : NamesOf(path)) {
        const char* n = name.c_str();
        file.GetDescription(n);
        if (file.GetParaMenuText(n) == nullptr) std::abort();
        if (file.GetScopeEntryIntroduction(n) == nullptr) std::abort();
        if (file.TranslateValueText(n, n, 0, 5) == nullptr) std::abort();
        if (file.TranslateValueText(n, n, 'A', -1) == nullptr) std::abort();
        int explaining = 0;
        for (int bit : {0, 4}) {
            const char* text = file.GetBitExplorerText(403, n, bit, &explaining, 0, 5);
            if (text == nullptr && explaining == 0 && file.FindBitExplorerText(n, bit, 0, 5) != nullptr) std::abort();
            if (file.GetBitExplorerTextForValue(5, n, n, 403, n, bit, 1) == nullptr) std::abort();
        }
    }
    return 0;
}
