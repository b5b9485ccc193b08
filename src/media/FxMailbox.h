#pragma once

#include <atomic>

namespace zarn {

// Hands a value from the main thread to the output thread without a lock: three
// slots, one the writer fills, one the reader uses, one in between that they swap
// atomically. The reader always sees a whole value, the latest one published.
template <typename T>
class FxMailbox {
public:
    explicit FxMailbox(const T& initial = T{})
    {
        for (T& s : slots_)
            s = initial;
    }

    // Main thread only.
    void publish(const T& value)
    {
        slots_[back_] = value;
        back_ = middle_.exchange(back_ | Fresh, std::memory_order_acq_rel) & Index;
    }

    // Output thread only: the value to use for this block; 'changed' tells a new one.
    const T& take(bool* changed = nullptr)
    {
        const bool fresh = (middle_.load(std::memory_order_relaxed) & Fresh) != 0;
        if (fresh)
            front_ = middle_.exchange(front_, std::memory_order_acq_rel) & Index;
        if (changed)
            *changed = fresh;
        return slots_[front_];
    }

private:
    static constexpr int Fresh = 4;
    static constexpr int Index = 3;
    T slots_[3];
    int back_ = 0;                // main thread
    int front_ = 1;               // output thread
    std::atomic<int> middle_{2};  // shared
};

} // namespace zarn
