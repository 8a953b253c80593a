#include "sim/recorder_registers.h"

#include <optional>
#include <string>

namespace sim {
namespace {

constexpr char kRecorderRegisters[] = R"(
drive type=5012 version=26 status=0
param 20  CFG0  USIGN16 max=0xFF value=0x20
param 21  VAR0  USIGN16 max=255
param 22  CFG1  USIGN16 max=0xFF value=0x20
param 23  VAR1  USIGN16 max=255 value=1
param 24  CFG2  USIGN16 max=0xFF
param 25  VAR2  USIGN16 max=255
param 26  CFG3  USIGN16 max=0xFF value=0x20
param 27  VAR3  USIGN16 max=255
param 36  SCAUX INT32   min=-100000 max=100000
param 60  SCDIV USIGN16 max=999 value=1
param 62  SCLEN USIGN16 max=4000 default=1200 value=1200
param 64  TRLEV INT16   min=-1000 max=1000
param 65  TRMOD INT16   min=-2 max=10 value=4
param 66  TRCH  USIGN8  max=3 value=1
param 67  PRETR FIXPT16 max=2000
param 68  SCCTL USIGN16 max=3
param 70  ACT0  INT16   write=15
param 71  ACT1  INT16   write=15
param 72  ACT2  INT16   write=15
param 73  ACT3  INT16   write=15
param 110 SCXFR USIGN8  max=2
param 300 CTYPE USIGN8  max=9 value=1
param 304 SCTB  FLOAT32 value=0x3F800000
param 350 BASET FLOAT32 value=0x38D1B717
)";

}  // namespace

const std::vector<int>& RecorderRegisterNumbers() {
    static const std::vector<int> numbers = {20, 21, 22, 23, 24, 25, 26, 27, 36,  60,  62,  64,
                                             65, 66, 67, 68, 70, 71, 72, 73, 110, 300, 304, 350};
    return numbers;
}

void PutRecorderRegisters(DriveTable& table) {
    std::string error;
    static const std::optional<DriveTable> registers = DriveTable::Parse(kRecorderRegisters, "recorder", &error);
    if (!registers) return;
    for (int number : RecorderRegisterNumbers()) table.Put(*registers->Find(number));
}

}  // namespace sim
