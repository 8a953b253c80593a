// Values of an array parameter: a fixed number of 1-, 2- or 4-byte elements in
// one zeroed block, held little-endian. Each subclass fixes the element type, so
// that reading an element widens it to 32 bits with the right sign.
#pragma once

#include <cstdint>
#include <type_traits>
#include <vector>

class darray {
public:
    // Largest block an array may hold, in bytes.
    static constexpr int32_t kMaxByteSize = 65535;

    // True when `count` elements of `elementSize` (1, 2 or 4) bytes fit in an array.
    static bool IsValidSize(int32_t count, int32_t elementSize);

    // A zeroed array; a size that IsValidSize refuses gives an empty array
    // (count 0) with the element size kept when it is 1, 2 or 4.
    darray(int32_t count, int32_t elementSize);
    darray(const darray& src);
    darray& operator=(const darray&) = delete;
    virtual ~darray() = default;

    // *out := element `index` widened to 32 bits; false (and *out untouched)
    // when index is outside 0..count-1.
    virtual bool GetElement(int32_t* out, int32_t index) const;
    // Stores the element from *src, read as a value of the element's width.
    virtual bool SetElement(const void* src, int32_t index);
    // The element's bytes (little-endian); null when index is outside 0..count-1.
    virtual uint8_t* ElementAt(int32_t index);
    const uint8_t* ElementAt(int32_t index) const { return const_cast<darray*>(this)->ElementAt(index); }

    // Copies elements first..first+n-1 of `src` to the same positions; false
    // when the element sizes differ or the range does not fit either array.
    bool CopyElements(const darray& src, int32_t first, int32_t n);
    // Copies `length` raw bytes to byte `offset`; false, writing nothing, when
    // they do not fit in the block.
    bool WriteBytes(const void* src, int32_t length, int32_t offset);

    uint16_t GetCount() const { return count_; }
    uint16_t GetElementSize() const { return elementSize_; }
    uint16_t GetByteSize() const { return static_cast<uint16_t>(data_.size()); }
    const uint8_t* Data() const { return data_.data(); }

protected:
    // The element of `width` bytes at `index`, or null outside the array.
    uint8_t* Slot(int32_t index, uint32_t width);
    bool GetAs(int32_t* out, int32_t index, uint32_t width, bool isSigned) const;
    bool SetAs(const void* src, int32_t index, uint32_t width);

private:
    uint16_t count_ = 0;
    uint16_t elementSize_ = 0;
    std::vector<uint8_t> data_;
};

// An array whose element has the width and signedness of `Element`; float
// elements are kept and delivered as their raw 32-bit pattern.
template <typename Element>
class dtypedarray : public darray {
    static constexpr uint32_t kWidth = sizeof(Element);
    static constexpr bool kSigned = std::is_integral_v<Element> && std::is_signed_v<Element>;

public:
    explicit dtypedarray(int32_t count) : darray(count, kWidth) {}
    dtypedarray(const dtypedarray& src) : darray(src) {}

    using darray::ElementAt;
    bool GetElement(int32_t* out, int32_t index) const override { return GetAs(out, index, kWidth, kSigned); }
    bool SetElement(const void* src, int32_t index) override { return SetAs(src, index, kWidth); }
    uint8_t* ElementAt(int32_t index) override { return Slot(index, kWidth); }
};

using dusign8array = dtypedarray<uint8_t>;
using dint8array = dtypedarray<int8_t>;
using dusign16array = dtypedarray<uint16_t>;
using dint16array = dtypedarray<int16_t>;
using dusign32array = dtypedarray<uint32_t>;
using dint32array = dtypedarray<int32_t>;
using dfloat32array = dtypedarray<float>;
