#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace verada {

// Resizes to count zeroed items; false when the memory is not there.
template <typename T>
bool allocateZeroed(std::vector<T>& items, std::size_t count) {
    try {
        items.assign(count, T{});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace verada
