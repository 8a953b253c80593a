// Opcodes of the 20-byte code records, by statement. Generators V2.10 and
// V3.10 share them; V2.10 emits opcodes up to kProgramJump only, and neither
// emits kCall (the source form is refused). Where a statement group spans a
// range, the first and last opcode are named.
#pragma once

#include <cstdint>

#include "plceditor/core/plc_language.h"

namespace plc::op {

constexpr uint8_t kNoCode = 0;
constexpr uint8_t kJump = 1;  // JMP Nxxx, JMP END
constexpr uint8_t kNotImplemented = 2;
constexpr uint8_t kJumpFloatCompareFirst = 3;  // JMP (Fa op Fb), op = != >= > <= <
constexpr uint8_t kJumpFloatCompareLast = 8;
constexpr uint8_t kJumpFloatZero = 9;
constexpr uint8_t kJumpFloatNotZero = 10;
constexpr uint8_t kJumpIntegerCompareFirst = 11;  // JMP (Ha op Hb)
constexpr uint8_t kJumpIntegerCompareLast = 16;
constexpr uint8_t kJumpIntegerZero = 17;
constexpr uint8_t kJumpIntegerNotZero = 18;
constexpr uint8_t kJumpFlagLogic = 19;  // JMP (Ma op Mb)
constexpr uint8_t kJumpFlagNotEqual = 20;
constexpr uint8_t kJumpFlagInput = 21;
constexpr uint8_t kJumpFlagProbe = 22;
constexpr uint8_t kJumpFlagOutput = 24;
constexpr uint8_t kJumpFlagConstant = 27;
constexpr uint8_t kJumpInputConstant = 28;
constexpr uint8_t kJumpOutputConstant = 29;
constexpr uint8_t kJumpCounterEqual = 30;
constexpr uint8_t kJumpCounterNotEqual = 31;
constexpr uint8_t kJumpTimerZero = 32;
constexpr uint8_t kJumpTimerNotZero = 33;
constexpr uint8_t kCall = 34;
constexpr uint8_t kReturn = 35;
constexpr uint8_t kControl = 36;  // BRKPT, PLC = OFF/RESTART/CLR_ADR_STACK
constexpr uint8_t kNop = 37;
constexpr uint8_t kSetFloatTarget = 38;    // SET name = Fx
constexpr uint8_t kSetIntegerTarget = 39;  // SET name = Hx
constexpr uint8_t kSetControlBitFlag = 40;
constexpr uint8_t kSetControlBitConstant = 41;
constexpr uint8_t kSetFloatIndexedFromFloat = 42;
constexpr uint8_t kSetFloatFromIndexed = 43;
constexpr uint8_t kSetFloatFromSource = 44;
constexpr uint8_t kSetFloatParaFirst = 45;  // PARA[Hy, Hz], PARA[Hy], PARA[n, s], PARA[n]
constexpr uint8_t kSetFloatParaLast = 48;
constexpr uint8_t kSetFloatFromFloat = 49;
constexpr uint8_t kSetFloatFromInteger = 50;
constexpr uint8_t kFloatArithmeticFirst = 51;  // + - * : with Fy or a constant
constexpr uint8_t kFloatArithmeticLast = 58;
constexpr uint8_t kSetFloatRound = 59;
constexpr uint8_t kSetFloatFunction = 60;
constexpr uint8_t kSetFloatConstant = 61;
constexpr uint8_t kSetIntegerIndexedFromInteger = 62;
constexpr uint8_t kSetIntegerFromIndexed = 63;
constexpr uint8_t kSetIntegerFromSource = 64;
constexpr uint8_t kSetIntegerParaFirst = 65;
constexpr uint8_t kSetIntegerParaLast = 68;
constexpr uint8_t kSetIntegerFromVariableFirst = 69;  // = Fy, Hy, Cy, My, Zy
constexpr uint8_t kSetIntegerFromVariableLast = 73;
constexpr uint8_t kIntegerArithmeticFirst = 74;
constexpr uint8_t kIntegerArithmeticLast = 91;  // ends with = ABS Hy
constexpr uint8_t kSetIntegerConstant = 92;
constexpr uint8_t kSetFlagIndexedFromFlag = 93;
constexpr uint8_t kSetFlagFromIndexed = 94;
constexpr uint8_t kSetFlagStatus = 95;
constexpr uint8_t kSetFlagFromFlag = 96;
constexpr uint8_t kSetFlagInteger = 97;
constexpr uint8_t kSetFlagInput = 98;
constexpr uint8_t kSetFlagOutput = 99;
constexpr uint8_t kFlagLogicFirst = 100;  // & | ^ My
constexpr uint8_t kFlagLogicLast = 102;
constexpr uint8_t kSetFlagConstant = 103;
constexpr uint8_t kCounterFirst = 104;
constexpr uint8_t kCounterLast = 110;
constexpr uint8_t kSetTimerFromInteger = 111;
constexpr uint8_t kSetTimerConstant = 112;
constexpr uint8_t kSetOutputFlag = 113;
constexpr uint8_t kSetOutputConstant = 114;
constexpr uint8_t kParaWriteFirst = 115;
constexpr uint8_t kParaWriteLast = 122;
constexpr uint8_t kInvertInteger = 123;
constexpr uint8_t kInvertFlag = 124;
constexpr uint8_t kInvertOutput = 125;
constexpr uint8_t kWaitInteger = 126;
constexpr uint8_t kWaitConstant = 127;
constexpr uint8_t kWaitPar = 128;
constexpr uint8_t kGoWaitAbsolute = 129;
constexpr uint8_t kGoWaitRelative = 130;
constexpr uint8_t kGoAbsolute = 131;
constexpr uint8_t kGoRelative = 132;
constexpr uint8_t kGoZeroPlus = 133;
constexpr uint8_t kGoZero = 134;
constexpr uint8_t kJumpReceiveInteger = 135;
constexpr uint8_t kJumpReceiveFloat = 136;
constexpr uint8_t kSetReceiveMessage = 137;
constexpr uint8_t kSendNmtCommand = 138;
constexpr uint8_t kSendTxMessageInteger = 139;
constexpr uint8_t kSendTxMessageFloat = 140;
constexpr uint8_t kReservedFirst = 141;
constexpr uint8_t kReservedLast = 154;
constexpr uint8_t kSetRefPos = 155;
constexpr uint8_t kSetFloatIndexedConstant = 156;
constexpr uint8_t kSetIntegerIndexedConstant = 157;
constexpr uint8_t kSetFlagIndexedConstant = 158;
constexpr uint8_t kSetAccelerationRamp = 159;
constexpr uint8_t kSetDecelerationRamp = 160;
constexpr uint8_t kJumpHoming = 161;
constexpr uint8_t kJumpStandstill = 162;
constexpr uint8_t kWaitHoming = 163;
constexpr uint8_t kWaitStandstill = 164;
constexpr uint8_t kStop = 165;
constexpr uint8_t kGoSpeed = 166;
constexpr uint8_t kGoWaitRelativeTarget = 167;
constexpr uint8_t kGoRelativeTarget = 168;
constexpr uint8_t kGoWaitTable = 169;
constexpr uint8_t kGoTable = 170;
constexpr uint8_t kGoSync = 171;
constexpr uint8_t kSetFlagCam = 172;
constexpr uint8_t kJumpStatus = 173;
constexpr uint8_t kProgramHead = 174;
constexpr uint8_t kProgramEnd = 175;
constexpr uint8_t kProgramJump = 176;  // JMP Pnn (a 0), JMP P[Hx] (a 1)
constexpr uint8_t kCamStartBreakStop = 177;
constexpr uint8_t kJumpInputInput = 178;
constexpr uint8_t kJumpInputOutput = 179;
constexpr uint8_t kJumpOutputOutput = 180;
constexpr uint8_t kSetTouchProbe = 181;
constexpr uint8_t kSetFlagProbe = 182;
constexpr uint8_t kWaitProbe = 183;
constexpr uint8_t kJumpProbeConstant = 184;
constexpr uint8_t kJumpProbeProbe = 185;
constexpr uint8_t kFloatThreeAddress = 186;
constexpr uint8_t kIntegerThreeAddress = 187;
constexpr uint8_t kSetIntegerRoundFloat = 188;
constexpr uint8_t kFlagThreeAddressFlag = 189;
constexpr uint8_t kFlagThreeAddressInput = 190;
constexpr uint8_t kFlagThreeAddressOutput = 191;
constexpr uint8_t kFlagThreeAddressInteger = 192;
constexpr uint8_t kSave = 193;
constexpr uint8_t kCamPolynomialConstant = 194;
constexpr uint8_t kCamPolynomialInteger = 195;
constexpr uint8_t kCamPolynomialFloat = 196;
constexpr uint8_t kCamSpeedFloat = 197;
constexpr uint8_t kCamSpeedInteger = 198;
constexpr uint8_t kCamGo = 199;
constexpr uint8_t kSetEventProgram = 200;

// Operand a of kProgramJump.
constexpr uint8_t kProgramJumpByNumber = 0;
constexpr uint8_t kProgramJumpByVariable = 1;

// Highest opcode a 20-byte generator emits.
constexpr uint8_t kLastOpcodeV210 = kProgramJump;
constexpr uint8_t kLastOpcodeV310 = kSetEventProgram;

// True when the generator's line compiler can produce this opcode: the
// statement table's opcodes up to the generator's last one, without the
// refused CALL, the faulty 2, 23, 25, 26, the reserved 141..154, and for
// V2.10 without the touch-probe compare 22. V1.10 has records of its own and
// gets false.
constexpr bool EmitsOpcode(PlcGenerator generator, int opcode) {
    if (generator == PlcGenerator::kV110) return false;
    const int last = generator == PlcGenerator::kV210 ? kLastOpcodeV210 : kLastOpcodeV310;
    if (opcode <= kNoCode || opcode > last) return false;
    if (opcode == kNotImplemented || opcode == 23 || opcode == 25 || opcode == 26) return false;
    if (opcode == kCall) return false;
    if (opcode >= kReservedFirst && opcode <= kReservedLast) return false;
    if (generator == PlcGenerator::kV210 && opcode == kJumpFlagProbe) return false;
    return true;
}

}  // namespace plc::op
