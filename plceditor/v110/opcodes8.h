// Opcodes of the V1.10 8-byte code records, by statement. Where a group spans
// a range, the first opcode is named and the others follow in the order the
// comment gives (comparisons: =, !=, >=, >, <=, <).
#pragma once

#include <cstdint>

namespace plc::op8 {

constexpr uint8_t kNoCode = 0;
constexpr uint8_t kJump = 1;              // JMP Nt
constexpr uint8_t kJumpEnd = 2;           // JMP END
constexpr uint8_t kJumpFloatCompare = 3;  // 3..8 JMP (L op Fe)
constexpr uint8_t kJumpFloatZero = 9;     // 9, 10 JMP (Fd = 0), (Fd != 0)
constexpr uint8_t kJumpIntCompare = 11;   // 11..16 JMP (L op He)
constexpr uint8_t kJumpIntZero = 17;      // 17, 18 JMP (L = 0), (L != 0)
constexpr uint8_t kJumpFlagEqual = 19;    // 19, 20 JMP (Md = Me), (Md != Me)
constexpr uint8_t kJumpFlagInput = 21;    // 21..23 JMP (Md & | ^ input)
constexpr uint8_t kJumpFlagOutput = 24;   // 24..26 JMP (Md & | ^ output)
constexpr uint8_t kJumpFlagValue = 27;    // JMP (Md = e)
constexpr uint8_t kJumpInputValue = 28;   // JMP (input = e)
constexpr uint8_t kJumpOutputValue = 29;  // JMP (output = e)
constexpr uint8_t kJumpCounter = 30;      // 30, 31 JMP (Cd = e), (Cd != e)
constexpr uint8_t kJumpTimerZero = 32;    // 32, 33 JMP (Zd = 0), (Zd != 0)
constexpr uint8_t kCall = 34;
constexpr uint8_t kReturn = 35;
constexpr uint8_t kBreakpoint = 36;
constexpr uint8_t kNop = 37;
constexpr uint8_t kSetFloatTarget = 38;       // SET REFVAL = Fb
constexpr uint8_t kSetIntTarget = 39;         // SET name = Hb
constexpr uint8_t kSetControlFlag = 40;       // SET name = Mb
constexpr uint8_t kSetControlValue = 41;      // SET name = b
constexpr uint8_t kSetFloatIndexedFrom = 42;  // SET F[Ca] = Fb
constexpr uint8_t kSetFloatFromIndexed = 43;  // SET Fa = F[Cb]
constexpr uint8_t kSetFloatFromValue = 44;    // SET Fa = drive value
constexpr uint8_t kSetFloatParaHH = 45;       // SET Fa = PARA[Hb, Hc]
constexpr uint8_t kSetFloatParaH = 46;        // SET Fa = PARA[Hb]
constexpr uint8_t kSetFloatParaNS = 47;       // SET Fa = PARA[n, b]
constexpr uint8_t kSetFloatParaN = 48;        // SET Fa = PARA[n]
constexpr uint8_t kSetFloatFloat = 49;        // SET Fa = Fb
constexpr uint8_t kSetFloatInt = 50;          // SET Fa = Hb
constexpr uint8_t kFloatArithmetic = 51;      // 51..58 + F, + v, - F, - v, * F, * v, : F, : v
constexpr uint8_t kSetFloatRound = 59;
constexpr uint8_t kSetFloatAbs = 60;
constexpr uint8_t kSetFloatConstant = 61;
constexpr uint8_t kSetIntIndexedFrom = 62;  // SET H[Ca] = Hb
constexpr uint8_t kSetIntFromIndexed = 63;  // SET Ha = H[Cb]
constexpr uint8_t kSetIntFromValue = 64;    // SET Ha = drive value
constexpr uint8_t kSetIntParaHH = 65;       // 65..68 as 45..48
constexpr uint8_t kSetIntFloat = 69;        // 69..73 SET Ha = Fb, Hb, Cb, Mb, Zb
constexpr uint8_t kIntLogic = 74;           // 74..76 & | ^ H
constexpr uint8_t kIntShiftLeft = 77;       // 77 << H, 78 << b, 79 >> H, 80 >> b
constexpr uint8_t kIntArithmetic = 81;      // 81..90 + H, + v, - H, - v, * .., : .., % ..
constexpr uint8_t kSetIntAbs = 91;
constexpr uint8_t kSetIntConstant = 92;
constexpr uint8_t kSetFlagIndexedFrom = 93;  // SET M[Ca] = Mb
constexpr uint8_t kSetFlagFromIndexed = 94;  // SET Ma = M[Cb]
constexpr uint8_t kSetFlagStatus = 95;
constexpr uint8_t kSetFlagFlag = 96;
constexpr uint8_t kSetFlagInt = 97;
constexpr uint8_t kSetFlagInput = 98;
constexpr uint8_t kSetFlagOutput = 99;
constexpr uint8_t kFlagLogic = 100;  // 100..102 & | ^ M
constexpr uint8_t kSetFlagValue = 103;
constexpr uint8_t kCounterFirst = 104;  // 104..110 = C, = H, + H, + b, - H, - b, = b
constexpr uint8_t kSetTimerInt = 111;
constexpr uint8_t kSetTimerConstant = 112;
constexpr uint8_t kSetOutputFlag = 113;
constexpr uint8_t kSetOutputValue = 114;
constexpr uint8_t kSetParaHH = 115;  // 115 = F, 116 = H
constexpr uint8_t kSetParaH = 117;   // 117, 118
constexpr uint8_t kSetParaNS = 119;  // 119, 120
constexpr uint8_t kSetParaN = 121;   // 121, 122
constexpr uint8_t kInvertInt = 123;
constexpr uint8_t kInvertFlag = 124;
constexpr uint8_t kInvertOutput = 125;
constexpr uint8_t kWaitInt = 126;
constexpr uint8_t kWaitConstant = 127;
constexpr uint8_t kWaitPar = 128;
constexpr uint8_t kGoWaitAbsolute = 129;  // 129 GO W A, 130 GO W R
constexpr uint8_t kGoAbsolute = 131;      // 131 GO A, 132 GO R
constexpr uint8_t kGoZeroPlus = 133;
constexpr uint8_t kGoZero = 134;
constexpr uint8_t kJumpRxMessageInt = 135;
constexpr uint8_t kJumpRxMessageFloat = 136;
constexpr uint8_t kSetRxMessage = 137;
constexpr uint8_t kSendNmtCommand = 138;
constexpr uint8_t kSendTxMessageInt = 139;
constexpr uint8_t kSendTxMessageFloat = 140;
constexpr uint8_t kReservedFirst = 141;
constexpr uint8_t kReservedLast = 154;
constexpr uint8_t kSetRefPos = 155;
constexpr uint8_t kSetFloatIndexedConstant = 156;
constexpr uint8_t kSetIntIndexedConstant = 157;
constexpr uint8_t kSetFlagIndexedValue = 158;
constexpr uint8_t kSetAccelerationRamp = 159;
constexpr uint8_t kSetDecelerationRamp = 160;
constexpr uint8_t kJumpRef = 161;
constexpr uint8_t kJumpRot0 = 162;
constexpr uint8_t kWaitRef = 163;
constexpr uint8_t kWaitRot0 = 164;
constexpr uint8_t kStop = 165;
constexpr uint8_t kGoVelocity = 166;
constexpr uint8_t kGoWaitRelativeTarget = 167;  // GO W RT
constexpr uint8_t kGoRelativeTarget = 168;      // GO RT
constexpr uint8_t kGoWaitTable = 169;           // GO W T[...]
constexpr uint8_t kGoTable = 170;               // GO T[...]
constexpr uint8_t kGoSync = 171;
constexpr uint8_t kSetFlagCam = 172;
constexpr uint8_t kJumpStatus = 173;
constexpr uint8_t kLastDefined = 173;

// Sub-kinds of a status jump (operand a of kJumpStatus).
constexpr uint8_t kStatusNotFlag = 0;
constexpr uint8_t kStatusIsFlag = 1;
constexpr uint8_t kStatusNotValue = 16;
constexpr uint8_t kStatusIsValue = 17;

// The END entry's target and next field.
constexpr uint16_t kEndTarget = 255;

}  // namespace plc::op8
