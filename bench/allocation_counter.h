#pragma once

#include <cstdint>

// Heap allocations made by this process so far (a counting operator new is
// linked into every benchmark binary that includes allocation_counter.cpp).
uint64_t AllocationCount();
