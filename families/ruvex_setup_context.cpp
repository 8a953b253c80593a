#include "families/ruvex_setup_context.h"

#include <iterator>

#include "families/setup_page_tables.h"

RuvexSetupContext::RuvexSetupContext(GwCore* window, const ParaBase& base, bool online)
    : DeviceSetupContext(window, base, online) {
    double version = 0.0;
    const int32_t line =
        ReadDouble(kFirmwareVersionParameter, &version) == kParaOk ? static_cast<int32_t>(version) / 10 * 10 : 0;
    const bool longTable = line == 420 || line == 500;
    SetupPageTable = longTable ? kRuvexSetupPages420 : kRuvexSetupPages;
    SetupPageTableLength = longTable ? static_cast<int32_t>(std::size(kRuvexSetupPages420))
                                     : static_cast<int32_t>(std::size(kRuvexSetupPages));
    SpecialsPageName = kRuvexSpecialsPage;
    SetupControl = FindSetupControl(window);
}

bool RuvexSetupContext::CheckStatusWordBit() { return StatusBit(kDeviceStateWordParameter, 4); }

bool RuvexSetupContext::CheckStatusWordBitAlt() { return DeviceStatusBit(kDeviceStateWordParameter, 0); }

bool RuvexSetupContext::CheckModeSelection() {
    return AllDiffer({kModeSelectionAltParameter, kModeSelectionParameter}, 4);
}

bool RuvexSetupContext::CheckModeSelectionAlt() {
    return AllDiffer({kModeSelectionAltParameter, kModeSelectionParameter}, 7);
}
