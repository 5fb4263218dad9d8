// Whole-value access to plain fields that one thread writes and another
// reads. Relaxed order is enough: each value stands alone and nothing is
// published through it.
#pragma once

#include <atomic>
#include <cstdint>
#include <limits>

template <class T>
T loadRelaxed(const T& slot) noexcept {  // any
    // The fields are never const objects; atomic_ref just wants a mutable reference.
    return std::atomic_ref<T>(const_cast<T&>(slot)).load(std::memory_order_relaxed);
}

template <class T>
void storeRelaxed(T& slot, T value) noexcept {  // any
    std::atomic_ref<T>(slot).store(value, std::memory_order_relaxed);
}

// audio: one more, unless already at the top; stored whole for readers elsewhere.
inline void countUp(std::int32_t& counter) noexcept {
    if (counter < std::numeric_limits<std::int32_t>::max()) storeRelaxed(counter, counter + 1);
}
