#include "sim/ruvex_setup_parameters.h"

#include <vector>

namespace sim {

namespace {

DriveParameter* PutRanged(DriveTable& table, int number, const char* name, const char* type, uint32_t value,
                          uint32_t maximum) {
    DriveParameter* p = table.PutFullRange(number, name, type, value);
    p->minimum = 0;
    p->maximum = maximum;
    return p;
}

void PutArray(DriveTable& table, int number, const char* name, std::vector<uint32_t> elements) {
    DriveParameter* p = PutRanged(table, number, name, "USIGN16", 0, 100);
    p->flags |= kFlagArray;
    p->elements = std::move(elements);
}

}  // namespace

void PutRuvexSetupParameters(DriveTable& table, const RuvexSetupOptions& options) {
    PutRanged(table, kRuvexErrorReset, "ERRRS", "USIGN8", 0, 1);
    table.PutFullRange(kRuvexScript, "SCRPT", "STRING", 0)->text = options.script;
    PutArray(table, kRuvexCpuLoad, "CPULD", {11, 22, 33, 44});
    PutArray(table, kRuvexCpuLoadPeak, "CPUPK", {55, 66, 77, 88});
    PutRanged(table, kRuvexCpuLoadTotal, "CPUTL", "USIGN16", 42, 100);
    PutRanged(table, kRuvexCpuLoadReset, "CPURS", "USIGN8", 0, 1);
    PutRanged(table, kRuvexOptionSlot1, "OPT1", "USIGN8", options.slot1, 255);
    PutRanged(table, kRuvexOptionSlot2, "OPT2", "USIGN8", options.slot2, 255);
    if (options.protocol.has_value())
        table.PutFullRange(kRuvexBusProtocol, "BUSPR", "STRING", 0)->text = *options.protocol;
    for (int number = kRuvexFirstListed; number <= kRuvexLastListed; ++number) {
        const std::string name = "LIST" + std::to_string(number - kRuvexFirstListed + 1);
        PutRanged(table, number, name.c_str(), "USIGN32", static_cast<uint32_t>(number * 10), 100000);
    }
}

}  // namespace sim
