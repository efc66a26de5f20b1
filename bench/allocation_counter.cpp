#include "allocation_counter.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

// Single-threaded counts: the benchmarks run on one thread.
HeapUse counted;

// Each block carries its size in front, so that frees can be counted in bytes too.
constexpr std::size_t header = alignof(std::max_align_t);

void* allocate(std::size_t size) noexcept {
    auto* block = static_cast<unsigned char*>(std::malloc(size + header));
    if (block == nullptr) {
        return nullptr;
    }
    *reinterpret_cast<std::size_t*>(block) = size;
    ++counted.allocations;
    counted.bytesAllocated += static_cast<long long>(size);
    return block + header;
}

void release(void* pointer) noexcept {
    if (pointer == nullptr) {
        return;
    }
    unsigned char* block = static_cast<unsigned char*>(pointer) - header;
    counted.bytesFreed += static_cast<long long>(*reinterpret_cast<std::size_t*>(block));
    std::free(block);
}

void* allocateOrThrow(std::size_t size) {
    void* pointer = allocate(size);
    if (pointer == nullptr) {
        throw std::bad_alloc();
    }
    return pointer;
}

} // namespace

HeapUse heapUse() {
    return counted;
}

void* operator new(std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void operator delete(void* pointer) noexcept {
    release(pointer);
}
void operator delete[](void* pointer) noexcept {
    release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    release(pointer);
}
