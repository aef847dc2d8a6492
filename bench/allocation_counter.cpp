// allocation_counter.cpp: the replaced global operator new and delete.
//
// They are exported with default visibility, so the dynamic linker binds
// the modules' references to them rather than to the C++ runtime's.
#include "allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {

// Benchmarks run on one thread; plain counters keep the count cheap.
AllocationCount counted;

void *allocate(std::size_t size) noexcept {
    ++counted.calls;
    counted.bytes += size;
    return std::malloc(size ? size : 1);
}

void *allocateAligned(std::size_t size, std::align_val_t alignment) noexcept {
    ++counted.calls;
    counted.bytes += size;
    const auto a = static_cast<std::size_t>(alignment);
    void *p = nullptr;
    return posix_memalign(&p, a < sizeof(void *) ? sizeof(void *) : a, size ? size : 1) == 0 ? p : nullptr;
}

void *orThrow(void *p) {
    if (!p) throw std::bad_alloc();
    return p;
}

} // namespace

AllocationCount allocationsSoFar() noexcept { return counted; }

#define EXPORTED __attribute__((visibility("default")))

EXPORTED void *operator new(std::size_t size) { return orThrow(allocate(size)); }
EXPORTED void *operator new[](std::size_t size) { return orThrow(allocate(size)); }
EXPORTED void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return allocate(size); }
EXPORTED void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return allocate(size); }
EXPORTED void *operator new(std::size_t size, std::align_val_t a) { return orThrow(allocateAligned(size, a)); }
EXPORTED void *operator new[](std::size_t size, std::align_val_t a) { return orThrow(allocateAligned(size, a)); }
EXPORTED void *operator new(std::size_t size, std::align_val_t a, const std::nothrow_t &) noexcept {
    return allocateAligned(size, a);
}
EXPORTED void *operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t &) noexcept {
    return allocateAligned(size, a);
}

EXPORTED void operator delete(void *p) noexcept { std::free(p); }
EXPORTED void operator delete[](void *p) noexcept { std::free(p); }
EXPORTED void operator delete(void *p, std::size_t) noexcept { std::free(p); }
EXPORTED void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
EXPORTED void operator delete(void *p, const std::nothrow_t &) noexcept { std::free(p); }
EXPORTED void operator delete[](void *p, const std::nothrow_t &) noexcept { std::free(p); }
EXPORTED void operator delete(void *p, std::align_val_t) noexcept { std::free(p); }
EXPORTED void operator delete[](void *p, std::align_val_t) noexcept { std::free(p); }
EXPORTED void operator delete(void *p, std::size_t, std::align_val_t) noexcept { std::free(p); }
EXPORTED void operator delete[](void *p, std::size_t, std::align_val_t) noexcept { std::free(p); }
EXPORTED void operator delete(void *p, std::align_val_t, const std::nothrow_t &) noexcept { std::free(p); }
EXPORTED void operator delete[](void *p, std::align_val_t, const std::nothrow_t &) noexcept { std::free(p); }
