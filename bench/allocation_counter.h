// allocation_counter.h: every operator new of the process, counted.
//
// The benchmark executable replaces the global operator new and delete. The
// modules are shared objects that leave operator new to the dynamic linker,
// so their allocations land here too; main checks that before it trusts a
// zero.
#pragma once

#include <cstdint>

struct AllocationCount {
    std::uint64_t calls = 0;
    std::uint64_t bytes = 0;
};

// The totals since the process started.
AllocationCount allocationsSoFar() noexcept;

// What was allocated between construction and since().
class AllocationWindow {
public:
    AllocationWindow() noexcept : start_(allocationsSoFar()) {}
    AllocationCount since() const noexcept {
        const AllocationCount now = allocationsSoFar();
        return {now.calls - start_.calls, now.bytes - start_.bytes};
    }

private:
    AllocationCount start_;
};
