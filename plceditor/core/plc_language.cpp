// Tables of the PLC source language and the line entry shared by the generators.
#include "plceditor/core/plc_language.h"

#include "plceditor/core/plc_messages.h"

namespace plc {

namespace {

constexpr VariableKind kVariableKindTable[] = {
    {'C', 0, 10, msg::kFaultyCounter},
    {'F', 0, 127, msg::kFaultyFloat},
    {'H', 0, 127, msg::kFaultyInteger},
    {'M', 0, 255, msg::kFaultyFlag},
    {'Z', 0, 10, msg::kFaultyTimer},
};

constexpr IoGroup kIoGroupTable[] = {
    {"IS", false, 7, {0, 1, 2, 3, 14, 15, 16}},
    {"IE", false, 8, {4, 5, 6, 7, 8, 9, 10, 11}},
    {"IA", false, 2, {12, 13}},
    {"OS", true, 6, {0, 1, 2, 9, 10, 11}},
    {"OE", true, 4, {3, 4, 5, 6}},
    {"OV", true, 2, {7, 8}},
};

// Indexed by I/O code.
constexpr std::string_view kInputNames[kInputCodeCount] = {"IS00",
                                                           "IS01",
                                                           "IS02",
                                                           "IS03",
                                                           "IE00",
                                                           "IE01",
                                                           "IE02",
                                                           "IE03",
                                                           "IE04",
                                                           "IE05",
                                                           "IE06",
                                                           "IE07",
                                                           "IA0",
                                                           "IA1",
                                                           "IS04",
                                                           "IS05",
                                                           "IS06"};
constexpr std::string_view kOutputNames[kOutputCodeCount] = {
    "OS00", "OS01", "OS02", "OE00", "OE01", "OE02", "OE03", "OV00", "OV01", "OS03", "OS04", "OS05"};

#define PLC_NAME(text, code) \
    { text, code, text }

constexpr NamedCode kStatusNameTable[] = {
    PLC_NAME("ERR_WRN", 0), PLC_NAME("ERR", 1),         PLC_NAME("WRN", 2),         PLC_NAME("ACTIV", 3),
    PLC_NAME("ROT_R", 4),   PLC_NAME("ROT_L", 5),       PLC_NAME("ROT_0", 6),       PLC_NAME("LIMIT", 7),
    PLC_NAME("REF", 8),     PLC_NAME("BRAKE", 9),       PLC_NAME("OFF", 10),        PLC_NAME("C_RDY", 11),
    PLC_NAME("WUV", 12),    PLC_NAME("WOV", 13),        PLC_NAME("WIIT", 14),       PLC_NAME("WOTM", 15),
    PLC_NAME("WOTI", 16),   PLC_NAME("WOTD", 17),       PLC_NAME("WIS", 18),        PLC_NAME("WFOUT", 19),
    PLC_NAME("WFDIG", 20),  PLC_NAME("WIT", 21),        PLC_NAME("WTQ", 22),        PLC_NAME("INPOS", 23),
    PLC_NAME("HOMATD", 24), PLC_NAME("RAMP_ACTIV", 25), PLC_NAME("RAMP_CONST", 26), PLC_NAME("USER0", 27),
    PLC_NAME("USER1", 28),  PLC_NAME("USER2", 29),      PLC_NAME("USER3", 30),      PLC_NAME("RCAM", 31),
    PLC_NAME("TP15", 32),   PLC_NAME("TP14", 33),       PLC_NAME("TP13", 34),       PLC_NAME("TP12", 35),
    PLC_NAME("TP11", 36),   PLC_NAME("TP10", 37),       PLC_NAME("TP9", 38),        PLC_NAME("TP8", 39),
    PLC_NAME("TP7", 40),    PLC_NAME("TP6", 41),        PLC_NAME("TP5", 42),        PLC_NAME("TP4", 43),
    PLC_NAME("TP3", 44),    PLC_NAME("TP2", 45),        PLC_NAME("TP1", 46),        PLC_NAME("TP0", 47),
    PLC_NAME("CM16", 48),   PLC_NAME("CM15", 49),       PLC_NAME("CM14", 50),       PLC_NAME("CM13", 51),
    PLC_NAME("CM12", 52),   PLC_NAME("CM11", 53),       PLC_NAME("CM10", 54),       PLC_NAME("CM9", 55),
    PLC_NAME("CM8", 56),    PLC_NAME("CM7", 57),        PLC_NAME("CM6", 58),        PLC_NAME("CM5", 59),
    PLC_NAME("CM4", 60),    PLC_NAME("CM3", 61),        PLC_NAME("CM2", 62),        PLC_NAME("CM1", 63),
    PLC_NAME("PRACT", 64),
};

constexpr NamedCode kControlBitTable[] = {
    PLC_NAME("ENCTRL", 0),
    PLC_NAME("INV", 1),
    PLC_NAME("BRAKE", 2),
    PLC_NAME("ERR", 3),
    PLC_NAME("BRKPT", 4),
    PLC_NAME("PCTRL", 5),
    PLC_NAME("ERRRQ", 6),
    PLC_NAME("HALT", 7),
    PLC_NAME("USER0", 8),
    PLC_NAME("USER1", 9),
    PLC_NAME("USER2", 10),
    PLC_NAME("USER3", 11),
};

constexpr NamedCode kFloatSourceTable[] = {
    PLC_NAME("ACTFRQ", 0),
    PLC_NAME("ACTSPEED", 1),
    PLC_NAME("ACTPOS", 2),
    PLC_NAME("ACTTORQUE", 3),
    PLC_NAME("ACTCURRENT", 4),
    PLC_NAME("REFPOS", 5),
};

constexpr NamedCode kIntegerSourceTable[] = {
    PLC_NAME("OUTPUT", 0),
    PLC_NAME("INPUT", 1),
    PLC_NAME("ACTFRQ", 2),
    PLC_NAME("ACTSPEED", 3),
    PLC_NAME("ACTPOSINC", 15),
    PLC_NAME("ACTPOS", 4),
    PLC_NAME("ACTTORQUE", 5),
    PLC_NAME("ACTCURRENT", 6),
    PLC_NAME("OSA0", 7),
    PLC_NAME("ISA0", 8),
    PLC_NAME("ISA1", 9),
    PLC_NAME("REFPOSINC", 16),
    PLC_NAME("REFPOS", 10),
    PLC_NAME("CANSTAT", 11),
    PLC_NAME("EGEARSPEED", 12),
    PLC_NAME("EGEARPOSINC", 14),
    PLC_NAME("EGEARPOS", 13),
    PLC_NAME("TP0INC", 17),
    PLC_NAME("TP1INC", 18),
    PLC_NAME("TP0", 19),
    PLC_NAME("TP1", 20),
    PLC_NAME("PLC_ID", 21),
    PLC_NAME("PLC_ISR0_EV_HIGH_EDGE", 22),
    PLC_NAME("PLC_ISR0_EV_LOW_EDGE", 23),
    PLC_NAME("PLC_ISR1_EV_HIGH_EDGE", 24),
    PLC_NAME("PLC_ISR1_EV_LOW_EDGE", 25),
};

constexpr NamedCode kFloatTargetTable[] = {
    PLC_NAME("REFVAL", 0),
    PLC_NAME("REFFRQ", 0),
};

constexpr NamedCode kIntegerTargetTable[] = {
    PLC_NAME("OUTPUT", 0),
    PLC_NAME("OSA0", 1),
    PLC_NAME("REFVAL", 2),
    PLC_NAME("REFFRQ", 2),
    PLC_NAME("INPOSWND", 3),
    PLC_NAME("INPOSTIME", 4),
    PLC_NAME("EGEARPOSINC", 7),
    {"REGEARPOSINC", 8, "R EGEARPOSINC"},
    PLC_NAME("EGEARPOS", 5),
    {"REGEARPOS", 6, "R EGEARPOS"},
    PLC_NAME("ACTPOSINC", 11),
    {"RACTPOSINC", 12, "R ACTPOSINC"},
    PLC_NAME("ACTPOS", 9),
    {"RACTPOS", 10, "R ACTPOS"},
};

constexpr NamedCode kPlcControlTable[] = {
    PLC_NAME("OFF", 1),
    PLC_NAME("RESTART", 2),
    PLC_NAME("CLR_ADR_STACK", 3),
};

#undef PLC_NAME

// V1.10 counts refer to its own tables: 31 status names, 14 read values and
// 6 written values.
constexpr GeneratorSubset kSubsets[] = {
    {1, 254, true, 31, 14, 6, false, false, false, false, false, false, false},
    {kMaxPrograms, kMaxLabel, false, 32, 17, 9, true, true, false, false, false, false, false},
    {kMaxPrograms, kMaxLabel, false, 65, 26, 14, true, true, true, true, true, true, true},
};

}  // namespace

const std::span<const VariableKind> kVariableKinds(kVariableKindTable);
const std::span<const IoGroup> kIoGroups(kIoGroupTable);
const std::span<const NamedCode> kStatusNames(kStatusNameTable);
const std::span<const NamedCode> kControlBitNames(kControlBitTable);
const std::span<const NamedCode> kFloatSourceNames(kFloatSourceTable);
const std::span<const NamedCode> kIntegerSourceNames(kIntegerSourceTable);
const std::span<const NamedCode> kFloatTargetNames(kFloatTargetTable);
const std::span<const NamedCode> kIntegerTargetNames(kIntegerTargetTable);
const std::span<const NamedCode> kPlcControlNames(kPlcControlTable);

std::string_view GeneratorName(PlcGenerator generator) {
    switch (generator) {
        case PlcGenerator::kV110:
            return "PLC V1.10";
        case PlcGenerator::kV210:
            return "PLC V2.10";
        case PlcGenerator::kV310:
            return "PLC V3.10";
    }
    return {};
}

std::string_view StripComment(std::string_view line) { return line.substr(0, line.find(kCommentChar)); }

int NormaliseSourceLine(std::string_view text, std::string& normalised) {
    normalised.clear();
    if (text.empty() || text.size() > kMaxStatementChars) return msg::kLineTooLong;
    for (char c : text) {
        if (kLineBlanks.find(c) == std::string_view::npos) normalised.push_back(c);
    }
    return msg::kNoError;
}

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

const VariableKind* FindVariableKind(char letter) {
    for (const VariableKind& kind : kVariableKinds) {
        if (kind.letter == letter) return &kind;
    }
    return nullptr;
}

bool ioName(bool output, int code, std::string& name) {
    const int count = output ? kOutputCodeCount : kInputCodeCount;
    if (code < 0 || code >= count) {
        name = kUnknownIoName;
        return false;
    }
    name = output ? kOutputNames[code] : kInputNames[code];
    return true;
}

const NamedCode* MatchNamePrefix(std::span<const NamedCode> table, std::size_t count, std::string_view rest,
                                 std::string_view suffix) {
    if (count > table.size()) count = table.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view name = table[i].name;
        if (rest.starts_with(name) && rest.substr(name.size()).starts_with(suffix)) return &table[i];
    }
    return nullptr;
}

std::string_view DisplayNameForCode(std::span<const NamedCode> table, std::size_t count, int code) {
    if (count > table.size()) count = table.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (table[i].code == code) return table[i].display;
    }
    return kUnknownNameText;
}

const GeneratorSubset& Subset(PlcGenerator generator) {
    int index = static_cast<int>(generator);
    if (index < 0 || index > 2) index = 2;
    return kSubsets[index];
}

}  // namespace plc
