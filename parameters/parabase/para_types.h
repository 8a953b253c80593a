// The parameter type codes with their names, element widths and array
// classes, the entry flags, and the width rules by which raw values and limits
// of a type are compared.
#pragma once

#include <cstdint>
#include <memory>

#include "bus/base/parameter_entry.h"

class darray;

// Number of parameters in a table; numbers run 0 .. kParameterCount - 1.
inline constexpr int kParameterCount = 1000;
inline constexpr int kHighestParameter = kParameterCount - 1;

// Type codes (the character at offset 25 of an entry).
inline constexpr char kTypeBegriff = '0';
inline constexpr char kTypeBinary8 = '1';
inline constexpr char kTypeUsign8 = '2';
inline constexpr char kTypeBinary16 = '3';
inline constexpr char kTypeUsign16 = '4';
inline constexpr char kTypeFixpt16 = '5';
inline constexpr char kTypePassword = '6';
inline constexpr char kTypeInt16 = '7';
inline constexpr char kTypeInt32Q16 = '8';
inline constexpr char kTypeFloat32 = '9';
inline constexpr char kTypeErrStruc = ':';
inline constexpr char kTypeString = ';';
inline constexpr char kTypeInt8 = '<';
inline constexpr char kTypeInt32 = '=';
inline constexpr char kTypeUsign32 = '>';

// Entry flags (offset 46).
inline constexpr uint16_t kFlagValueTexts = 0x20;
inline constexpr uint16_t kFlagHex = 0x100;
inline constexpr uint16_t kFlagArray = 0x400;

// Kind character of an entry whose device values are stored unchecked.
inline constexpr char kKindUnchecked = '1';

// Scales of the fixed-point types: FIXPT16 counts 0.05, INT32Q16 1/65536.
inline constexpr double kFixpt16Step = 0.05;
inline constexpr double kFixpt16PerUnit = 20.0;
inline constexpr double kQ16PerUnit = 65536.0;

// The program's name of a type code ("INT16"); "UNKNOWN" for a code outside
// the table.
const char* TypeName(char type);
// The name of an entry's kind byte ('0' "RAM_CV" .. '4' "FSEL/ISEL"); empty
// for any other byte.
const char* KindName(char kind);
// Bytes of one element of the type: 1, 2 or 4, 0 for types without a width.
int ElementSizeOfType(char type);
// A zeroed array object of the type's array class with `count` elements; null
// for a type without one.
std::unique_ptr<darray> CreateArrayForType(char type, int count);
bool HasArrayClass(char type);

// Widens a value stored in the low bytes: USIGN8 zero-extends 8 bits, USIGN16,
// FIXPT16 and PASSWORD 16 bits, INT16 sign-extends 16 bits and INT8 8 bits;
// other types are unchanged.
void WidenRawByType(char type, int32_t* value);
// Whether the type stores plain integers: USIGN8/16/32, PASSWORD, INT8/16/32.
bool IsPlainIntegerType(char type);
// Whether the type's numbers are unsigned (USIGN8/16/32, FIXPT16, PASSWORD,
// ERR_STRUC).
bool IsUnsignedType(char type);
// A raw value (or limit) at the type's width and signedness, as a number that
// compares correctly with any other of the same type.
int64_t RawAtTypeWidth(char type, int32_t raw);
// min <= raw <= max with value and limits taken at the type's width and
// signedness (FLOAT32 as floats). ERR_STRUC always holds; types without a
// numeric form never do.
bool IsRawWithinLimits(const ParameterEntry& e, int32_t raw);

// The number a raw value of a numeric type stands for: FIXPT16 and INT32Q16
// scaled, FLOAT32 its float, ERR_STRUC and USIGN32 unsigned. False for the
// types without a numeric form.
bool NumberOfRaw(char type, int32_t raw, double* out);
// trunc(v) held within lo..hi; NaN gives 0.
int64_t TruncClamped(double v, int64_t lo, int64_t hi);
// The float nearest v, held within the finite floats (NaN stays NaN).
float NearestFloat(double v);

// The entry's terminated name and unit texts.
void TerminateTexts(ParameterEntry& e);

// Float and raw 32-bit patterns.
float FloatOfBits(int32_t raw);
int32_t BitsOfFloat(float f);
