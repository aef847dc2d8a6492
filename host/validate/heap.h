// heap.h: how much heap memory the process holds, and whether it leaked.
#pragma once

#include <cstddef>

namespace validate {

// Bytes of heap memory in use by the whole process, module included.
std::size_t heapInUse();

// Under LeakSanitizer: looks for leaked blocks now, reporting them on
// stderr; true when there are some. Without it: false.
bool leaksFound();

} // namespace validate
