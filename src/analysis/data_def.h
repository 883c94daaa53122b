#pragma once
// The state the window's procedures share: the bits of the analysed value, the bits of
// the composed value, and the two halves of the last entry that parsed. One instance lives
// as long as the window; every value starts at zero. Indexing outside an array's bounds is
// an error, as the procedures that use them expect.

#include <array>
#include <cstdint>
#include <string>

#include "toolkit/errors.h"

namespace pelmora {

template <class T, int Size> class BoundedArray {
public:
    T& operator()(int index) { return values_[checked(index)]; }
    const T& operator()(int index) const { return values_[checked(index)]; }
    static constexpr int size() { return Size; }
    bool operator==(const BoundedArray&) const = default;

private:
    static std::size_t checked(int index) {
        if (index < 0 || index >= Size)
            throw RuntimeError(ErrorCode::SubscriptOutOfRange, "index " + std::to_string(index));
        return static_cast<std::size_t>(index);
    }
    std::array<T, Size> values_{};
};

struct DataDef {
    BoundedArray<std::int16_t, 32> BitArray;    // bit i of the analysed value
    BoundedArray<std::int16_t, 32> BitSetArray; // bit i of the composed value
    std::int32_t HighWord = 0;                  // 0..65535 after every successful parse
    std::int32_t LowWord = 0;
};

} // namespace pelmora
