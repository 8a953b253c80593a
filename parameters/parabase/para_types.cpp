#include "parameters/parabase/para_types.h"

#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>

#include "parameters/values/darray.h"

namespace {

constexpr const char* kTypeNames[] = {
    "BEGRIFF",
    "BINARY8",
    "USIGN8",
    "BINARY16",
    "USIGN16",
    "FIXPT16",
    "PASSWORD",
    "INT16",
    "INT32Q16",
    "FLOAT32",
    "ERR_STRUC",
    "STRING",
    "INT8",
    "INT32",
    "USIGN32",
};

constexpr const char* kKindNames[] = {"RAM_CV", "RAM_AV", "EEPROM", "FEPROM", "FSEL/ISEL"};

}  // namespace

const char* KindName(char kind) {
    const int i = kind - '0';
    return i >= 0 && i < static_cast<int>(std::size(kKindNames)) ? kKindNames[i] : "";
}

const char* TypeName(char type) {
    if (type < kTypeBegriff || type > kTypeUsign32) return "UNKNOWN";
    return kTypeNames[type - kTypeBegriff];
}

int ElementSizeOfType(char type) {
    switch (type) {
        case kTypeUsign8:
        case kTypeInt8:
            return 1;
        case kTypeUsign16:
        case kTypeFixpt16:
        case kTypeInt16:
            return 2;
        case kTypeInt32Q16:
        case kTypeFloat32:
        case kTypeErrStruc:
        case kTypeInt32:
        case kTypeUsign32:
            return 4;
        default:
            return 0;
    }
}

std::unique_ptr<darray> CreateArrayForType(char type, int count) {
    switch (type) {
        case kTypeUsign8:
            return std::make_unique<dusign8array>(count);
        case kTypeUsign16:
        case kTypeFixpt16:
            return std::make_unique<dusign16array>(count);
        case kTypeInt16:
            return std::make_unique<dint16array>(count);
        case kTypeInt32Q16:
        case kTypeInt32:
            return std::make_unique<dint32array>(count);
        case kTypeFloat32:
            return std::make_unique<dfloat32array>(count);
        case kTypeInt8:
            return std::make_unique<dint8array>(count);
        // Error records are 32-bit words like USIGN32 values.
        case kTypeErrStruc:
        case kTypeUsign32:
            return std::make_unique<dusign32array>(count);
        default:
            return nullptr;
    }
}

bool HasArrayClass(char type) { return ElementSizeOfType(type) != 0; }

void WidenRawByType(char type, int32_t* value) {
    switch (type) {
        case kTypeUsign8:
            *value = static_cast<uint8_t>(*value);
            break;
        case kTypeUsign16:
        case kTypeFixpt16:
        case kTypePassword:
            *value = static_cast<uint16_t>(*value);
            break;
        case kTypeInt16:
            *value = static_cast<int16_t>(*value);
            break;
        case kTypeInt8:
            *value = static_cast<int8_t>(*value);
            break;
        default:
            break;
    }
}

bool IsPlainIntegerType(char type) {
    switch (type) {
        case kTypeUsign8:
        case kTypeUsign16:
        case kTypePassword:
        case kTypeUsign32:
        case kTypeInt8:
        case kTypeInt16:
        case kTypeInt32:
            return true;
        default:
            return false;
    }
}

bool IsUnsignedType(char type) {
    switch (type) {
        case kTypeUsign8:
        case kTypeUsign16:
        case kTypeFixpt16:
        case kTypePassword:
        case kTypeErrStruc:
        case kTypeUsign32:
            return true;
        default:
            return false;
    }
}

int64_t RawAtTypeWidth(char type, int32_t raw) {
    WidenRawByType(type, &raw);
    if (IsUnsignedType(type)) return static_cast<uint32_t>(raw);
    return raw;
}

bool IsRawWithinLimits(const ParameterEntry& e, int32_t raw) {
    switch (e.type) {
        case kTypeErrStruc:
            return true;
        case kTypeFloat32: {
            const float v = FloatOfBits(raw);
            return FloatOfBits(e.minimum) <= v && v <= FloatOfBits(e.maximum);
        }
        case kTypeUsign8:
        case kTypeUsign16:
        case kTypeFixpt16:
        case kTypePassword:
        case kTypeInt16:
        case kTypeInt32Q16:
        case kTypeInt32:
        case kTypeInt8:
        case kTypeUsign32: {
            const int64_t v = RawAtTypeWidth(e.type, raw);
            return RawAtTypeWidth(e.type, e.minimum) <= v && v <= RawAtTypeWidth(e.type, e.maximum);
        }
        default:
            return false;
    }
}

bool NumberOfRaw(char type, int32_t raw, double* out) {
    switch (type) {
        case kTypeUsign8:
            *out = raw & 0xFF;
            return true;
        case kTypeUsign16:
        case kTypePassword:
            *out = raw & 0xFFFF;
            return true;
        case kTypeFixpt16:
            *out = (raw & 0xFFFF) * kFixpt16Step;
            return true;
        case kTypeInt16:
            *out = static_cast<int16_t>(raw);
            return true;
        case kTypeInt32Q16:
            *out = raw / kQ16PerUnit;
            return true;
        case kTypeFloat32:
            *out = FloatOfBits(raw);
            return true;
        case kTypeInt8:
            *out = static_cast<int8_t>(raw);
            return true;
        case kTypeInt32:
            *out = raw;
            return true;
        case kTypeErrStruc:
        case kTypeUsign32:
            *out = static_cast<uint32_t>(raw);
            return true;
        default:
            return false;
    }
}

int64_t TruncClamped(double v, int64_t lo, int64_t hi) {
    if (std::isnan(v)) return 0;
    const double t = std::trunc(v);
    if (t <= static_cast<double>(lo)) return lo;
    if (t >= static_cast<double>(hi)) return hi;
    return static_cast<int64_t>(t);
}

float NearestFloat(double v) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (v > kMax) return std::numeric_limits<float>::max();
    if (v < -kMax) return -std::numeric_limits<float>::max();
    return static_cast<float>(v);
}

void TerminateTexts(ParameterEntry& e) {
    e.name[kEntryNameSize - 1] = '\0';
    e.unit[kEntryUnitSize - 1] = '\0';
}

float FloatOfBits(int32_t raw) {
    float f;
    std::memcpy(&f, &raw, sizeof f);
    return f;
}

int32_t BitsOfFloat(float f) {
    int32_t raw;
    std::memcpy(&raw, &f, sizeof raw);
    return raw;
}
