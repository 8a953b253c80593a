#include "toolkit/core/gw_ud.h"

#include "toolkit/base/gw_number.h"

long GwUD::integer() const {
    switch (kind_) {
        case Kind::kInteger:
            return integer_;
        case Kind::kText:
            return GwAtol(text_.c_str());
        default:
            return 0;
    }
}
