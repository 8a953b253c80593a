// Name tables of generator V1.10.
#include "plceditor/v110/v110_names.h"

namespace plc::v110 {

namespace {

#define V110_STATUS(text, code) \
    { text, code, "STA_" text }

constexpr NamedCode kStatusTable[] = {
    V110_STATUS("ERR_WRN", 2), V110_STATUS("ERR", 0),         V110_STATUS("WRN", 1),         V110_STATUS("ACTIV", 3),
    V110_STATUS("ROT_R", 4),   V110_STATUS("ROT_L", 5),       V110_STATUS("ROT_0", 6),       V110_STATUS("LIMIT", 7),
    V110_STATUS("REF", 8),     V110_STATUS("BRAKE", 9),       V110_STATUS("OFF", 10),        V110_STATUS("C_RDY", 11),
    V110_STATUS("WUV", 12),    V110_STATUS("WOV", 13),        V110_STATUS("WIIT", 14),       V110_STATUS("WOTM", 15),
    V110_STATUS("WOTI", 16),   V110_STATUS("WOTD", 17),       V110_STATUS("WIS", 18),        V110_STATUS("WFOUT", 19),
    V110_STATUS("WFDIG", 20),  V110_STATUS("WIT", 21),        V110_STATUS("WTQ", 22),        V110_STATUS("INPOS", 23),
    V110_STATUS("HOMATD", 24), V110_STATUS("RAMP_ACTIV", 25), V110_STATUS("RAMP_CONST", 26), V110_STATUS("USER0", 27),
    V110_STATUS("USER1", 28),  V110_STATUS("USER2", 29),      V110_STATUS("USER3", 30),
};

#undef V110_STATUS

#define V110_CONTROL(text, code) \
    { text "=", code, text }

constexpr NamedCode kControlBitTable[] = {
    V110_CONTROL("ENCTRL", 0),
    V110_CONTROL("INV", 1),
    V110_CONTROL("BRAKE", 2),
    V110_CONTROL("ERR", 3),
    V110_CONTROL("BRKPT", 4),
    V110_CONTROL("PCTRL", 5),
    V110_CONTROL("ERRRQ", 6),
    V110_CONTROL("HALT", 7),
    V110_CONTROL("USER0_M", 8),
    V110_CONTROL("USER1_M", 9),
    V110_CONTROL("USER2_M", 10),
    V110_CONTROL("USER3_M", 11),
};

#undef V110_CONTROL

constexpr NamedCode kIntegerTargetTable[] = {
    {"OUTPUT", 0, "OUTPUT"},
    {"OSA0", 1, "OSA0"},
    {"REFVAL", 2, "REFVAL"},
    {"REFFRQ", 2, "REFVAL"},
    {"INPOSWINDOW", 3, "INPOSWINDOW"},
    {"INPOSTIME", 4, "INPOSTIME"},
    {"EGEARPOS", 5, "EGEARPOS"},
};

constexpr NamedCode kIntegerSourceTable[] = {
    {"OUTPUT", 0, "OUTPUT"},
    {"INPUT", 1, "INPUT"},
    {"ACTFRQ", 2, "ACTFRQ"},
    {"ACTSPEED", 3, "ACTSPEED"},
    {"ACTPOS", 4, "ACTPOS"},
    {"ACTTORQUE", 5, "ACTTORQUE"},
    {"ACTCURRENT", 6, "ACTCURRENT"},
    {"OSA0", 7, "OSA0"},
    {"ISA0", 8, "ISA0"},
    {"ISA1", 9, "ISA1"},
    {"REFPOS", 10, "REFPOS"},
    {"CANSTAT", 11, "CANSTAT"},
    {"EGEARSPEED", 12, "EGEARSPEED"},
    {"EGEARPOS", 13, "EGEARPOS"},
};

}  // namespace

const std::span<const NamedCode> kStatusNames(kStatusTable);
const std::span<const NamedCode> kControlBitNames(kControlBitTable);
const std::span<const NamedCode> kIntegerTargetNames(kIntegerTargetTable);
const std::span<const NamedCode> kIntegerSourceNames(kIntegerSourceTable);

}  // namespace plc::v110
