#include "motor/ident/ident_parameters.h"

#include "platform/base/reset_hooks.h"

namespace {

const platform::ResetHook kResetMotorIdentState([] { TheMotorIdentState() = MotorIdentState{}; });

}  // namespace

// clang-format off
const IdentParameterTable kPescoIdentTable = {{
    153, 154, 155, 156, 157, 158, 160, 840, 841, 842,
    843, 844, 845, 846, 847, 848, 849, 850, 852, 800,
    801, 397, 350, 815, 474, 120, 832,  42,  43,  44,
    833, 399, 818, 810, 812, 473, 817, 838, 284, 434,
    884, 885, 880, 260, 454, 409,  92, 106,
}};

const IdentParameterTable kRuvexIdentTable = {{
    153, 154, 155, 156, 157, 158, 160, 840, 851, 842,
    843, 844, 845, 846, 847, 848, 849, 850, 852, 800,
    802, 397, 350, 815, 461, 120, 832,  42,  43,  44,
    833, 399, 818, 810, 812, 460, 817, 838, 284, 434,
    884, 885, 880, 260, 454,  -1,  92, 106,
}};
// clang-format on

MotorIdentState& TheMotorIdentState() {
    static MotorIdentState state;
    return state;
}

int IdentParameter(int role) { return (*TheMotorIdentState().ActiveIdentTable)[role]; }
