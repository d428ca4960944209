#ifndef KELVANE_BENCH_ALLOCATION_COUNT_H_
#define KELVANE_BENCH_ALLOCATION_COUNT_H_

// The number of heap allocations made through operator new since the program started.
long AllocationCount();

#endif  // KELVANE_BENCH_ALLOCATION_COUNT_H_
