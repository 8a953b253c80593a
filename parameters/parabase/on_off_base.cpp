#include "parameters/parabase/on_off_base.h"

OnOffBase::OnOffBase(bool online) { SetOnline(online); }

OnOffBase::OnOffBase(const ParaBase& src, bool online) : ParaBase(src) { SetOnline(online); }

int OnOffBase::ReadValue(int index, double* out, int element) {
    return IsOnline() ? ReadValueDouble(index, out, element) : GetValueDouble(index, out, element);
}

int OnOffBase::WriteValue(int index, double value, int element) {
    return IsOnline() ? WriteValueDouble(index, value, element) : SetValueDouble(index, value, element);
}
