#include "sim/drive_plc.h"

#include <cstring>

namespace sim {

namespace {

uint32_t Bits(float f) {
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

DriveParameter* Array(DriveTable& table, int number, const char* name, const char* type, size_t count) {
    DriveParameter* p = table.PutFullRange(number, name, type, 0);
    p->flags |= kFlagArray;
    p->elements.assign(count, 0);
    return p;
}

}  // namespace

void AddPlc(DriveTable& table, const PlcLayout& layout) {
    Array(table, kPlcLoadParameter, "LOAD", "USIGN16", 16);
    table.PutFullRange(kPlcRunParameter, "PLCRN", "USIGN16", 1);
    table.PutFullRange(kPlcLoadStateParameter, "PLCLS", "USIGN16", 0);
    if (layout.with_project) table.PutFullRange(kPlcProjectParameter, "PLCPJ", "STRING", 0)->text = layout.project;
    table.PutFullRange(kPlcErrorParameter, "PLCER", "USIGN32", 0);
    Array(table, kPlcMaskALowParameter, "EVAL", "USIGN16", 2);
    Array(table, kPlcMaskAHighParameter, "EVAH", "USIGN16", 2);
    Array(table, kPlcMaskBLowParameter, "EVBL", "USIGN16", 2);
    Array(table, kPlcMaskBHighParameter, "EVBH", "USIGN16", 2);
    Array(table, kPlcActivityParameter, "PLCAC", "USIGN32", 2);
    if (layout.with_version) {
        DriveParameter* version = table.PutFullRange(kPlcVersionParameter, "PLCVR", "FLOAT32", Bits(layout.version));
        version->minimum = Bits(-1e6f);
        version->maximum = Bits(1e6f);
        table.PutFullRange(kPlcLengthParameter, "PLCLN", "USIGN16", layout.length);
    }
    table.plc = DrivePlc{};
    table.plc.enabled = true;
    for (int k = 0; k < kPlcProgramParameters; ++k) {
        const std::string name = "PLCC" + std::to_string(k);
        Array(table, kPlcProgramFirstParameter + k, name.c_str(), "USIGN32", kPlcProgramWords);
        table.plc.program_parameters.push_back(kPlcProgramFirstParameter + k);
    }
}

}  // namespace sim
