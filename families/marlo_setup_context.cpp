#include "families/marlo_setup_context.h"

#include <iterator>

#include "families/setup_page_tables.h"
#include "toolkit/core/gw_core.h"

MarloSetupContext::MarloSetupContext(GwCore* window, const ParaBase& base, bool online)
    : PlcContext(window, base, online) {
    double version = 0.0;
    Base->GetValueDouble(kFirmwareVersionParameter, &version);
    const bool line200 = static_cast<int32_t>(version) / 10 == 20;
    SetupPageTable = line200 ? kMarloSetupPages200 : kMarloSetupPages;
    SetupPageTableLength = line200 ? static_cast<int32_t>(std::size(kMarloSetupPages200))
                                   : static_cast<int32_t>(std::size(kMarloSetupPages));
    SetupControl = FindSetupControl(window);
    LoadVersionProfile();
}

bool MarloSetupContext::CheckStatusWordBit() { return StatusBit(kDeviceStateWordParameter, 4); }

bool MarloSetupContext::CheckStatusWordBitAlt() { return DeviceStatusBit(kDeviceStateWordParameter, 0); }

bool MarloSetupContext::CheckModeSelection() {
    return AllDiffer({kModeSelectionAltParameter, kModeSelectionParameter}, 4);
}

bool MarloSetupContext::CheckModeSelectionAlt() { return false; }
