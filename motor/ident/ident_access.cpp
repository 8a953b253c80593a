#include "motor/ident/ident_access.h"

#include "app/services/message_box.h"
#include "motor/ident/ident_parameters.h"
#include "parameters/parabase/on_off_base.h"

bool IdentAccess::ReadQuiet(int role, double* out, int element) {
    const int number = IdentParameter(role);
    return number != kNoIdentParameter && base_->ReadValue(number, out, element) == 0;
}

bool IdentAccess::WriteQuiet(int role, double value, int element) {
    const int number = IdentParameter(role);
    return number != kNoIdentParameter && base_->WriteValue(number, value, element) == 0;
}

bool IdentAccess::Read(int role, double* out, int element) {
    return ReadQuiet(role, out, element) || ShowAccessError();
}

bool IdentAccess::Write(int role, double value, int element) {
    return WriteQuiet(role, value, element) || ShowAccessError();
}

bool IdentAccess::ShowAccessError() {
    ShowErrorMessageFor(kParaBaseErrorMessage, base_);
    return false;
}
