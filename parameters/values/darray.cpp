// Bounds-checked element access of the value arrays; elements are assembled
// byte by byte, little-endian, whatever the host's byte order.
#include "parameters/values/darray.h"

#include <cstring>

namespace {

bool IsElementSize(int32_t size) { return size == 1 || size == 2 || size == 4; }

}  // namespace

bool darray::IsValidSize(int32_t count, int32_t elementSize) {
    return IsElementSize(elementSize) && count >= 0 && static_cast<int64_t>(count) * elementSize <= kMaxByteSize;
}

darray::darray(int32_t count, int32_t elementSize) {
    if (IsElementSize(elementSize)) elementSize_ = static_cast<uint16_t>(elementSize);
    if (!IsValidSize(count, elementSize)) return;
    count_ = static_cast<uint16_t>(count);
    data_.assign(static_cast<size_t>(count) * elementSize, 0);
}

darray::darray(const darray& src) : darray(src.count_, src.elementSize_) { CopyElements(src, 0, src.count_); }

uint8_t* darray::Slot(int32_t index, uint32_t width) {
    if (index < 0 || index >= count_) return nullptr;
    const size_t offset = static_cast<size_t>(index) * width;
    if (offset + width > data_.size()) return nullptr;
    return data_.data() + offset;
}

bool darray::GetAs(int32_t* out, int32_t index, uint32_t width, bool isSigned) const {
    const uint8_t* element = const_cast<darray*>(this)->Slot(index, width);
    if (element == nullptr || out == nullptr) return false;
    uint32_t value = 0;
    for (uint32_t i = 0; i < width; ++i) value |= static_cast<uint32_t>(element[i]) << (8 * i);
    const uint32_t bits = 8 * width;
    if (isSigned && bits < 32 && (value >> (bits - 1)) != 0) value |= ~0u << bits;
    *out = static_cast<int32_t>(value);
    return true;
}

bool darray::SetAs(const void* src, int32_t index, uint32_t width) {
    uint8_t* element = Slot(index, width);
    if (element == nullptr || src == nullptr) return false;
    // *src is a value of the element's type in the host's byte order.
    uint32_t value = 0;
    if (width == 1) {
        uint8_t v;
        std::memcpy(&v, src, 1);
        value = v;
    } else if (width == 2) {
        uint16_t v;
        std::memcpy(&v, src, 2);
        value = v;
    } else {
        std::memcpy(&value, src, 4);
    }
    for (uint32_t i = 0; i < width; ++i) element[i] = static_cast<uint8_t>(value >> (8 * i));
    return true;
}

bool darray::GetElement(int32_t* out, int32_t index) const { return GetAs(out, index, 1, false); }

bool darray::SetElement(const void* src, int32_t index) { return SetAs(src, index, 1); }

uint8_t* darray::ElementAt(int32_t index) { return Slot(index, 1); }

bool darray::CopyElements(const darray& src, int32_t first, int32_t n) {
    if (src.elementSize_ != elementSize_ || first < 0 || n < 0) return false;
    const int64_t begin = static_cast<int64_t>(first) * elementSize_;
    const int64_t end = static_cast<int64_t>(first + static_cast<int64_t>(n)) * elementSize_;
    if (end > static_cast<int64_t>(src.data_.size()) || end > static_cast<int64_t>(data_.size())) {
        return false;
    }
    if (end > begin && &src != this) {
        std::memcpy(data_.data() + begin, src.data_.data() + begin, end - begin);
    }
    return true;
}

bool darray::WriteBytes(const void* src, int32_t length, int32_t offset) {
    if (length < 0 || offset < 0) return false;
    if (static_cast<int64_t>(offset) + length > static_cast<int64_t>(data_.size())) return false;
    if (length == 0) return true;
    if (src == nullptr) return false;
    std::memcpy(data_.data() + offset, src, length);
    return true;
}
