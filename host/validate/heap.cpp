// heap.cpp: the allocator's own count of the bytes in use.
#include "heap.h"

#if defined(__SANITIZE_ADDRESS__)
#define VALIDATE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VALIDATE_ASAN 1
#endif
#endif

#ifdef VALIDATE_ASAN
// From the sanitizer runtime (GCC's and clang's); not every compiler ships
// the headers that declare them.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes(void);
extern "C" int __lsan_do_recoverable_leak_check(void);
#else
#include <malloc.h>
#endif

namespace validate {

std::size_t heapInUse() {
#ifdef VALIDATE_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd; // small blocks in use, and blocks mapped on their own
#endif
}

bool leaksFound() {
#ifdef VALIDATE_ASAN
    return __lsan_do_recoverable_leak_check() != 0;
#else
    return false;
#endif
}

} // namespace validate
