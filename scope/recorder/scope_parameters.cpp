// Conversions and reads that the engine, the export and the variable list
// share.
#include "scope/recorder/scope_parameters.h"

#include <cstring>

#include "app/services/program_flags.h"
#include "parameters/parabase/para_base.h"
#include "scope/varlist/scope_variable_list.h"

double ScopeRawToValue(const ScopeVariable& variable, double factor, int16_t raw) {
    if (variable.width_kind == kScopeKind32) {
        const auto upper = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(raw)) << 16);
        return FixedPoint32ToDouble(upper, variable.fraction_bits) * factor;
    }
    return FixedPoint16ToDouble(raw, variable.fraction_bits) * factor;
}

int ReadScopeNormTable(ParaBase& base, std::vector<double>* factors) {
    factors->clear();
    const ParameterEntry* entry = base.GetEntry(kScopeNormParameter);
    if (entry != nullptr && (entry->flags & kFlagArray) != 0) {
        const int count = base.GetValueCount(kScopeNormParameter);
        base.CurrentParameter = kScopeNormParameter;
        if (const int r = base.ReadBusParameter(kScopeNormParameter, 0, count)) return r;
        for (int i = 0; i < count; ++i) {
            double factor = 0.0;
            if (const int r = base.GetValueDouble(kScopeNormParameter, &factor, i)) return r;
            factors->push_back(factor);
        }
        return kParaOk;
    }
    double factor = 0.0;
    if (const int r = base.ReadValueDouble(kScopeNormParameter, &factor)) return r;
    factors->push_back(factor);
    return kParaOk;
}

bool HasParameterNamed(ParaBase& base, int number, const char* name) {
    return base.IsPresent(number) && std::strcmp(base.GetParameterName(number), name) == 0;
}

BusWriteReportPause::BusWriteReportPause() : saved_(BusWriteLogging) { BusWriteLogging = false; }

BusWriteReportPause::~BusWriteReportPause() { BusWriteLogging = saved_; }
