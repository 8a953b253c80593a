// Device access of one parameter through the base's bus: the read with its
// range check, the description read, the write with the write lock, and the
// read and write families built on them.
#include <array>
#include <cstring>
#include <string>

#include "app/services/program_flags.h"
#include "bus/base/basic_bus.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_write_lock.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"

namespace {

// The transfer buffer of array reads, shared by all bases: room for the
// largest array object.
std::array<uint8_t, darray::kMaxByteSize + 1> g_transferBuffer;

int32_t ElementFromBuffer(const uint8_t* p, int width) {
    uint32_t v = 0;
    for (int i = 0; i < width; ++i) v |= static_cast<uint32_t>(p[i]) << (8 * i);
    return static_cast<int32_t>(v);
}

// What a read delivered, by the kind of entry it was made for.
struct ReadValue {
    bool isArray = false;
    bool isText = false;
    int width = 0;
    int count = 0;
    int32_t raw = 0;
    dstring text;
};

bool SameKind(const ParameterEntry& e, const ReadValue& v) {
    return ((e.flags & kFlagArray) != 0) == v.isArray && (e.type == kTypeString) == v.isText &&
           ElementSizeOfType(e.type) == v.width;
}

}  // namespace

int ParaBase::ReadBusEntry(int number, ParameterEntry* dst, int first, int count) {
    const int width = GetElementSize(number);
    if (bus_ == nullptr) return SetMessage(kParaNoBus);
    if (DevicesUncoupled) return kParaOk;
    if (dst == nullptr || GetEntry(number) == nullptr) return SetMessage(kParaNoParameter, {number});
    CurrentParameter = static_cast<uint16_t>(dst->number);
    if (dst->number == 0) {
        dst->markB = 0;
        dst->transfer = 0;
        dst->valid = 0;
    }
    if (!IsPresent(number)) return SetMessage(kParaNoParameter, {number});
    const ParameterEntry& e = entries_[number];

    ReadValue read;
    read.isArray = (e.flags & kFlagArray) != 0;
    read.isText = !read.isArray && e.type == kTypeString;
    read.width = width;
    read.count = count;
    if (read.isArray) {
        if (!HasArrayClass(e.type)) return SetMessage(kParaInvalidData, {number, GetParameterName(number)});
        const darray* array = values_[number].array.get();
        if (array == nullptr || first < 0 || count < 0 || int64_t{first} + count > array->GetCount())
            return kParaShortArray;
        uint16_t n = static_cast<uint16_t>(count);
        if (!bus_->ReadBlock(number, g_transferBuffer.data(), first, n, width, address_)) return CheckBusResult(false);
        if (n != count) return SetMessage(kParaShortArray, {number, first + count, first + n});
    } else if (read.isText) {
        if (!bus_->ReadParameterText(number, read.text, address_)) return CheckBusResult(false);
    } else {
        if (!bus_->ReadParameterValue(number, read.raw, address_)) return CheckBusResult(false);
    }

    if (dst->kind != kKindUnchecked) {
        int32_t refused = read.raw;
        auto fits = [&]() {
            if (read.isText) return CheckText(read.text.Text());
            if (!read.isArray) return CheckRange(read.raw, dst);
            for (int i = 0; i < read.count; ++i) {
                refused = ElementFromBuffer(&g_transferBuffer[static_cast<size_t>(i) * width], width);
                if (!CheckRange(refused, dst)) return false;
            }
            return true;
        };
        if (!fits()) {
            const std::string name = GetParameterName(number);
            const std::string unit = GetParameterUnit(number);
            const std::string shown =
                read.isText ? std::string(read.text.Text()) : FormatRawValue(number, refused, false);
            // The device may have changed the limits since they were read.
            const bool reread = ReadBusDescriptionEntry(number, dst) == kParaOk;
            if (!reread || !SameKind(*dst, read) || !fits())
                return SetMessage(kParaOutOfRange, {number, name, shown, unit});
        }
    }

    if (read.isArray) {
        values_[number].array->WriteBytes(g_transferBuffer.data(), width * count, width * first);
    } else if (read.isText) {
        TextOf(number).Assign(read.text);
    } else {
        dst->value = read.raw;
    }
    dst->valid = 1;
    return kParaOk;
}

int ParaBase::ReadBusDescriptionEntry(int number, ParameterEntry* dst) {
    if (bus_ == nullptr) return SetMessage(kParaNoBus);
    if (DevicesUncoupled) return kParaOk;
    if (dst == nullptr || GetEntry(number) == nullptr) return SetMessage(kParaNoParameter, {number});
    CurrentParameter = static_cast<uint16_t>(number);
    bool notPresent = false;
    const bool ok = bus_->ReadParameterInfo(number, *dst, notPresent, address_);
    // A name of six characters keeps five and its terminator.
    TerminateTexts(*dst);
    if (ok) return kParaOk;
    if (TableLoaded == 0) {
        dst->number = 0;
        dst->valid = 0;
        dst->transfer = 0;
        dst->markB = 0;
    }
    if (!notPresent) return CheckBusResult(false);
    return kParaOk;
}

int ParaBase::ReadBusDescription(int number) { return ReadBusDescriptionEntry(number, GetEntry(number)); }

int ParaBase::CheckBusResult(bool ok) {
    if (ok) return kParaOk;
    if (bus_ == nullptr) return SetMessage(kParaNoBus);
    const char* errorText = bus_->GetErrorText();
    const std::string busText = errorText != nullptr ? errorText : "";
    const std::string busName = bus_->GetName().Text();
    const int number = CurrentParameter;
    const ParameterEntry* e = GetEntry(number);
    if (number != 0 && e != nullptr && e->valid != 0) {
        CurrentParameter = 0;
        return SetMessage(kParaBusErrorInParameter, {busName, number, GetParameterName(number), busText});
    }
    return SetMessage(kParaBusError, {busName, busText});
}

int ParaBase::ReadBusParameter(int index, int first, int count) {
    return ReadBusEntry(index, GetEntry(index), first, count);
}

int ParaBase::WriteBusParameter(int index, int first, int count, const ParaBase* source) {
    if (bus_ == nullptr) return SetMessage(kParaNoBus);
    if (DevicesUncoupled) return kParaOk;
    const ParaBase& src = source != nullptr ? *source : *this;
    if (const int r = RequirePresent(index)) return r;
    const ParameterEntry& from = src.entries_[index];
    const std::string name(from.name, strnlen(from.name, kEntryNameSize));
    if (from.valid == 0) return SetMessage(kParaInvalidData, {index, name});
    ParaWriteLock& lock = TheParaWriteLock();
    if (lock.IsHeld() && lock.IsProtected(index) && !lock.TakeWritePermission()) {
        SetMessage(kParaWriteLocked, {index, name});
        return kParaInvalidData;
    }
    CurrentParameter = static_cast<uint16_t>(index);
    const ParameterEntry& e = entries_[index];
    if (e.flags & kFlagArray) {
        const darray* array = src.values_[index].array.get();
        if (!HasArrayClass(e.type) || array == nullptr || array->GetElementSize() != GetElementSize(index))
            return SetMessage(kParaInvalidData, {index, name});
        if (first < 0 || count < 0 || int64_t{first} + count > array->GetCount()) return kParaShortArray;
        return CheckBusResult(bus_->WriteBlock(index,
                                               array->Data() + first * array->GetElementSize(),
                                               first,
                                               static_cast<uint16_t>(count),
                                               GetElementSize(index),
                                               address_));
    }
    if (e.type == kTypeString) {
        const dstring* text = src.values_[index].text.get();
        if (text == nullptr) return SetMessage(kParaInvalidData, {index, name});
        return CheckBusResult(bus_->WriteParameterText(index, text->Text(), address_));
    }
    if (index == kUncheckedWriteParameter) {
        bus_->WriteParameterValue(index, from.value, address_);
        return kParaOk;
    }
    return CheckBusResult(bus_->WriteParameterValue(index, from.value, address_));
}

// --- read ---

namespace {

// The reader pattern: the device read of one element, then the getter.
template <typename Getter>
int ReadThen(ParaBase& base, int index, int element, Getter get) {
    base.CurrentParameter = static_cast<uint16_t>(index);
    if (const int r = base.ReadBusParameter(index, element, 1)) return r;
    return get();
}

}  // namespace

int ParaBase::ReadValueU8(int index, uint8_t* out, int element) {
    return ReadThen(*this, index, element, [&] { return GetValueU8(index, out, element); });
}

int ParaBase::ReadValueU16(int index, uint16_t* out, int element) {
    return ReadThen(*this, index, element, [&] { return GetValueU16(index, out, element); });
}

int ParaBase::ReadValueU32(int index, uint32_t* out, int element) {
    return ReadThen(*this, index, element, [&] { return GetValueU32(index, out, element); });
}

int ParaBase::ReadValueS8(int index, int8_t* out, int element) {
    return ReadThen(*this, index, element, [&] { return GetValueS8(index, out, element); });
}

int ParaBase::ReadValueS16(int index, int16_t* out, int element) {
    return ReadThen(*this, index, element, [&] { return GetValueS16(index, out, element); });
}

int ParaBase::ReadValueFloat(int index, float* out, int element) {
    return ReadThen(*this, index, element, [&] { return GetValueFloat(index, out, element); });
}

int ParaBase::ReadValueDouble(int index, double* out, int element) {
    return ReadThen(*this, index, element, [&] { return GetValueDouble(index, out, element); });
}

int ParaBase::ReadRawValue(int index, int32_t* out, int element) {
    return ReadThen(*this, index, element, [&] { return GetRawValue(index, out, element); });
}

int ParaBase::ReadValueString(int index, dstring& out, int element) {
    CurrentParameter = static_cast<uint16_t>(index);
    const int r = element == 0 ? ReadBusParameter(index, 0, GetValueCount(index)) : ReadBusParameter(index, element, 1);
    if (r != kParaOk) return r;
    return GetValueString(index, out, element);
}

// --- write ---

template <typename Setter>
int ParaBase::WriteThrough(int index, int element, Setter set) {
    int r = set();
    if (r != kParaOk) {
        ParameterEntry* own = GetEntry(index);
        if (own == nullptr) return r;
        if (const int d = ReadBusDescriptionEntry(index, own)) return d;
        r = set();
        if (r != kParaOk) return r;
    }
    return WriteBusParameter(index, element, 1, nullptr);
}

int ParaBase::WriteValueU8(int index, uint8_t v, int element) {
    return WriteThrough(index, element, [&] { return SetValueU8(index, v, element); });
}

int ParaBase::WriteValueU16(int index, uint16_t v, int element) {
    return WriteThrough(index, element, [&] { return SetValueU16(index, v, element); });
}

int ParaBase::WriteValueS16(int index, int16_t v, int element) {
    return WriteThrough(index, element, [&] { return SetValueS16(index, v, element); });
}

int ParaBase::WriteValueU32(int index, uint32_t v, int element) {
    return WriteThrough(index, element, [&] { return SetValueU32(index, v, element); });
}

int ParaBase::WriteValueFloat(int index, float v, int element) {
    return WriteThrough(index, element, [&] { return SetValueFloat(index, v, element); });
}

int ParaBase::WriteValueDouble(int index, double v, int element) {
    return WriteThrough(index, element, [&] { return SetValueDouble(index, v, element); });
}

int ParaBase::WriteRawValue(int index, int32_t raw, int element) {
    if (IsPresent(index) && entries_[index].type == kTypeString) return TypeMismatch(index, "(MultiDataType)");
    return WriteThrough(index, element, [&] { return SetRawValue(index, raw, element); });
}

int ParaBase::WriteValueString(int index, const dstring& text, int element) {
    if (const int r = SetValueString(index, text, element)) return r;
    return WriteBusParameter(index, 0, GetValueCount(index), nullptr);
}
