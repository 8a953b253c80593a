#include "paratools/compare/compare_window.h"

namespace {

const GwFuncDesc kCompareCallbacks[] = {
    {"CB_ShowCompare", CB_ShowCompare},
    {"CB_SearchParaBase", CB_SearchParaBase},
    {"CB_SearchFile", CB_SearchFile},
    {"CB_SearchEditor", CB_SearchEditor},
    {"CB_CompareOk", CB_CompareOk},
    {"CB_HideCompare", CB_HideCompare},
    {"CB_ShowCompareOptions", CB_ShowCompareOptions},
    {"CB_SetCompareOptions", CB_SetCompareOptions},
    {"CB_ResetCompareOptions", CB_ResetCompareOptions},
    {"CB_HideCompareOptions", CB_HideCompareOptions},
    {"CB_HideValText", CB_HideCompareOptions},
    {"CB_DestroyBusMonitor", CB_HideCompareOptions},
    {nullptr, nullptr},
};

}  // namespace

const GwFuncDesc* CompareCallbacks() { return kCompareCallbacks; }
