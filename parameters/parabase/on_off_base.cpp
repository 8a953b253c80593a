#include "parameters/parabase/on_off_base.h"

OnOffBase::OnOffBase(bool online) { SetOnline(online); }

OnOffBase::OnOffBase(const ParaBase& src, bool online) : ParaBase(src) { SetOnline(online); }
