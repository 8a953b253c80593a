#include "families/tmp_base_context.h"

#include "app/services/message_box.h"

bool TmpBaseContext::Refuse() {
    ShowErrorMessage(kTmpContextCheckMessage, nullptr);
    return false;
}

bool TmpBaseContext::CheckStatusWordBit() { return Refuse(); }
bool TmpBaseContext::CheckStatusWordBitAlt() { return Refuse(); }
bool TmpBaseContext::CheckModeSelection() { return Refuse(); }
bool TmpBaseContext::CheckModeSelectionAlt() { return Refuse(); }
