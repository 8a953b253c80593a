// Feeds arbitrary bytes to the variable list reader as the text of a list file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "scope/varlist/scope_variable_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ScopeVariableList list;
    const double factors[] = {1.0, 0.5};
    list.SetFactorTable(factors);
    list.ReadListText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (list.Entries().size() > ScopeVariableList::kMaxEntries) __builtin_trap();
    for (const ScopeVariable& variable : list.Entries()) {
        if (variable.name.size() > ScopeVariableList::kMaxNameLength ||
            variable.unit.size() > ScopeVariableList::kMaxUnitLength) {
            __builtin_trap();
        }
        list.SelectByName(variable.name);
        list.GetCurrentFactor();
        list.SelectByKindIndex(variable.index_within_kind, variable.width_kind);
        list.GetCurrentFactor();
    }
    return 0;
}
