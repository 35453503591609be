#pragma once
// The most memory a piece of code holds at once, counted through operator new and delete
// (which this file's source replaces for the whole program: link it only into tests and
// benchmarks). Counts every thread; one measurement at a time.

#include <cstddef>

namespace testing_support {

class AllocationPeak {
public:
    // Starts measuring: what is held already does not count.
    AllocationPeak();
    AllocationPeak(const AllocationPeak&) = delete;
    AllocationPeak& operator=(const AllocationPeak&) = delete;

    // The most bytes held at once since the start, beyond what was held then.
    size_t Bytes() const;

private:
    size_t held_;
};

} // namespace testing_support
