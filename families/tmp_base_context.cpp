#include "families/tmp_base_context.h"

#include "app/services/message_box.h"

bool TmpBaseContext::CheckStatusWordBit() {
    ShowErrorMessage(kTmpContextCheckMessage, nullptr);
    return false;
}

bool TmpBaseContext::CheckStatusWordBitAlt() {
    ShowErrorMessage(kTmpContextCheckMessage, nullptr);
    return false;
}

bool TmpBaseContext::CheckModeSelection() {
    ShowErrorMessage(kTmpContextCheckMessage, nullptr);
    return false;
}

bool TmpBaseContext::CheckModeSelectionAlt() {
    ShowErrorMessage(kTmpContextCheckMessage, nullptr);
    return false;
}
