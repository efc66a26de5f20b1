// Heap use of everything in the benchmark program, the loaded component modules and the
// string library included: this program replaces the global operator new and delete.
#pragma once

struct HeapUse {
    long long allocations = 0;
    long long bytesAllocated = 0;
    long long bytesFreed = 0;
    long long liveBytes() const { return bytesAllocated - bytesFreed; }
};

// Everything allocated since the program started.
HeapUse heapUse();
