#include "families/pesco_setup_context.h"

#include <iterator>

#include "families/setup_page_tables.h"

PescoSetupContext::PescoSetupContext(GwCore* window, const ParaBase& base, bool online)
    : PlcContext(window, base, online) {
    double version = 0.0;
    const bool line200 =
        ReadDouble(kFirmwareVersionParameter, &version) == kParaOk && static_cast<int32_t>(version) / 10 * 10 == 200;
    SetupPageTable = line200 ? kPescoSetupPages200 : kPescoSetupPages;
    SetupPageTableLength = line200 ? static_cast<int32_t>(std::size(kPescoSetupPages200))
                                   : static_cast<int32_t>(std::size(kPescoSetupPages));
    SetupControl = FindSetupControl(window);
    HandModeTable = kPescoHandModes;
    HandModeTableLength = static_cast<int32_t>(std::size(kPescoHandModes));
    LoadVersionProfile();
}

bool PescoSetupContext::CheckStatusWordBit() { return StatusBit(kPescoStatusWordParameter, 14); }

bool PescoSetupContext::CheckStatusWordBitAlt() { return DeviceStatusBit(kPescoStatusWordParameter, 3); }

bool PescoSetupContext::CheckModeSelection() { return AllDiffer({kModeSelectionAltParameter}, 1); }

bool PescoSetupContext::CheckModeSelectionAlt() { return false; }
