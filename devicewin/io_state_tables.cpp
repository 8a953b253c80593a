#include "devicewin/io_state_tables.h"

namespace {

constexpr IoTerminal kRuvexTerminals[] = {
    {"isa0", 180, "ISA0 "}, {"isa1", 181, "ISA1 "}, {"is00", 210, "IS00 "}, {"is01", 211, "IS01 "},
    {"is02", 212, "IS02 "}, {"is03", 213, "IS03 "}, {"is04", 224, "IS04 "}, {"ie00", 214, "IE00 "},
    {"ie01", 215, "IE01 "}, {"ie02", 216, "IE02 "}, {"ie03", 217, "IE03 "}, {"ie04", 218, "IE04 "},
    {"ie05", 219, "IE05 "}, {"ie06", 220, "IE06 "}, {"ie07", 221, "IE07 "}, {"os00", 240, "OS00 "},
    {"os01", 241, "OS01 "}, {"os02", 242, "OS02 "}, {"os03", 247, "OS03 "}, {"oe00", 243, "OE00 "},
    {"oe01", 244, "OE01 "}, {"oe02", 245, "OE02 "}, {"oe03", 246, "OE03 "},
};

constexpr IoTerminal kMarloTerminals[] = {
    {"isa0", 180, "ISA0 "}, {"isa1", 181, "ISA1 "}, {"is00", 210, "ISD00"}, {"is01", 211, "ISD01"},
    {"is02", 212, "ISD02"}, {"is03", 213, "ISD03"}, {"ie00", 214, "IED00"}, {"ie01", 215, "IED01"},
    {"ie02", 216, "IED02"}, {"ie03", 217, "IED03"}, {"ie04", 218, "IED04"}, {"ie05", 219, "IED05"},
    {"ie06", 220, "IED06"}, {"ie07", 221, "IED07"}, {"os00", 240, "OSD00"}, {"os01", 241, "OSD01"},
    {"os02", 242, "OSD02"}, {"osa0", 200, "OSA0 "}, {"oe00", 243, "OED00"}, {"oe01", 244, "OED01"},
    {"oe02", 245, "OED02"}, {"oe03", 246, "OED03"},
};

constexpr IoTerminal kTalinTerminals[] = {
    {"isa0", 180, "ISA0 "}, {"isa1", 181, "ISA1 "}, {"is00", 210, "ISD00"}, {"is01", 211, "ISD01"},
    {"is02", 212, "ISD02"}, {"is03", 213, "ISD03"}, {"is04", 224, "ISD04"}, {"is05", 225, "ISD05"},
    {"is06", 226, "ISD06"}, {"isdsh", 0, "ISDSH"},  {"ie00", 214, "IED00"}, {"ie01", 215, "IED01"},
    {"ie02", 216, "IED02"}, {"ie03", 217, "IED03"}, {"ie04", 218, "IED04"}, {"ie05", 219, "IED05"},
    {"ie06", 220, "IED06"}, {"ie07", 221, "IED07"}, {"os00", 240, "OSD00"}, {"os01", 241, "OSD01"},
    {"os02", 242, "OSD02"}, {"os03", 251, "OSD03"}, {"os04", 250, "OSD04"}, {"oe00", 243, "OED00"},
    {"oe01", 244, "OED01"}, {"oe02", 245, "OED02"}, {"oe03", 246, "OED03"},
};

constexpr IoTerminal kWenzoTerminals[] = {
    {"isa0", 180, "ISA00"},
    {"isa1", 181, "ISA01"},
    {"is00", 210, "ISD00"},
    {"is01", 211, "ISD01"},
    {"is02", 212, "ISD02"},
    {"isdsh", 0, "ISDSH"},
    {"os00", 240, "OSD00"},
    {"os03", 251, "OSD03"},
    {"os04", 250, "OSD04"},
    {"os05", 252, "OSD05"},
};

constexpr const char* kRuvexWidgets[] = {
    "isa0", "isa1", "is00", "is01",   "is02",   "is03", "is04",  "ie00",  "ie01",  "ie02",
    "ie03", "ie04", "ie05", "ie06",   "ie07",   "os00", "os01",  "os02",  "os03",  "oe00",
    "oe01", "oe02", "oe03", "isa1_v", "isa0_v", "enpo", "ie1xx", "ie2xx", "oe1xx", "fct",
};

constexpr const char* kMarloWidgets[] = {
    "isa0", "isa1", "is00",   "is01",   "is02",   "is03", "ie00",  "ie01",  "ie02",  "ie03",
    "ie04", "ie05", "ie06",   "ie07",   "os00",   "os01", "os02",  "osa0",  "oe00",  "oe01",
    "oe02", "oe03", "isa1_v", "isa0_v", "osa0_v", "enpo", "ie1xx", "ie2xx", "oe1xx", "fct",
};

constexpr const char* kTalinWidgets[] = {
    "isa0", "isa1", "is00", "is01",   "is02",   "is03", "is04",  "is05",  "is06",  "isdsh", "ie00", "ie01",
    "ie02", "ie03", "ie04", "ie05",   "ie06",   "ie07", "os00",  "os01",  "os02",  "os03",  "os04", "oe00",
    "oe01", "oe02", "oe03", "isa1_v", "isa0_v", "enpo", "ie1xx", "ie2xx", "oe1xx", "fct",
};

constexpr const char* kWenzoWidgets[] = {
    "isa0",
    "isa1",
    "is00",
    "is01",
    "is02",
    "isdsh",
    "os00",
    "os03",
    "os04",
    "os05",
    "isa1_v",
    "isa0_v",
    "enpo",
    "fct",
};

constexpr IoLamp kRuvexLamps[] = {
    {0, "enpo"},
    {1, "is00"},
    {2, "is01"},
    {3, "is02"},
    {4, "is03"},
    {5, "is04"},
    {6, "os00"},
    {7, "os01"},
    {8, "os02"},
    {9, "os03"},
    {10, "isa0"},
    {11, "isa1"},
};

constexpr IoLamp kMarloLamps[] = {
    {0, "enpo"},
    {1, "is00"},
    {2, "is01"},
    {3, "is02"},
    {4, "is03"},
    {5, "os00"},
    {6, "os01"},
    {7, "os02"},
    {8, "isa0"},
    {9, "isa1"},
};

constexpr IoLamp kTalinLamps[] = {
    {0, "enpo"},
    {1, "is00"},
    {2, "is01"},
    {3, "is02"},
    {4, "is03"},
    {5, "os00"},
    {6, "os01"},
    {7, "os02"},
    {8, "isa0"},
    {9, "isa1"},
    {10, "os03"},
    {11, "os04"},
    {12, "is04"},
    {13, "is05"},
    {14, "is06"},
    {15, "isdsh"},
};

constexpr IoLamp kWenzoLamps[] = {
    {0, "enpo"},
    {1, "is00"},
    {2, "is01"},
    {3, "is02"},
    {5, "os00"},
    {8, "isa0"},
    {9, "isa1"},
    {10, "os03"},
    {11, "os04"},
    {12, "os05"},
    {15, "isdsh"},
};

constexpr int kRuvexStatusParameter = 495;
constexpr int kDriveStatusParameter = 419;
constexpr int kBothSlots[] = {579, 578};
constexpr int kFirstSlot[] = {579};
// The code a slot parameter reports for the I/O extension module.
constexpr uint16_t kSlotCodeBoth = 4;
constexpr uint16_t kSlotCodeFirst = 1;

}  // namespace

const IoStateModel kRuvexIoState = {
    "Ruvex_IO_State",
    kRuvexTerminals,
    kRuvexWidgets,
    kRuvexStatusParameter,
    kRuvexLamps,
    false,
    kBothSlots,
    kSlotCodeBoth,
    false,
    {1500, 800},
    {8000, 4000},
    true,
    true,
    false,
    IoRunModeOption::None,
    0,
};

const IoStateModel kMarloIoState = {
    "Marlo_IO_State",
    kMarloTerminals,
    kMarloWidgets,
    kDriveStatusParameter,
    kMarloLamps,
    true,
    kBothSlots,
    kSlotCodeBoth,
    false,
    {1500, 800},
    {8000, 4000},
    true,
    false,
    false,
    IoRunModeOption::ReadFromDevice,
    0,
};

const IoStateModel kPescoIoState = {
    "Pesco_IO_State",
    kMarloTerminals,
    kMarloWidgets,
    kDriveStatusParameter,
    kMarloLamps,
    true,
    kFirstSlot,
    kSlotCodeFirst,
    false,
    {2000, 800},
    {2000, 1000},
    false,
    false,
    false,
    IoRunModeOption::Stored,
    0,
};

const IoStateModel kTalinIoState = {
    "Talin_IO_State",
    kTalinTerminals,
    kTalinWidgets,
    kDriveStatusParameter,
    kTalinLamps,
    false,
    kFirstSlot,
    kSlotCodeFirst,
    true,
    {2000, 800},
    {2000, 1000},
    false,
    false,
    true,
    IoRunModeOption::Stored,
    0,
};

const IoStateModel kWenzoIoState = {
    "Wenzo_IO_State",
    kWenzoTerminals,
    kWenzoWidgets,
    kDriveStatusParameter,
    kWenzoLamps,
    false,
    {},
    0,
    false,
    {2000, 600},
    {2000, 300},
    false,
    false,
    false,
    IoRunModeOption::Stored,
    10,
};
