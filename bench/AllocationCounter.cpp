#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>

// glibc's own entry points, which the interposed malloc hands on to.
extern "C" void* __libc_malloc(std::size_t size);
extern "C" void* __libc_calloc(std::size_t count, std::size_t size);
extern "C" void* __libc_realloc(void* memory, std::size_t size);

namespace {
std::atomic<std::size_t> allocationCount{0};
}

std::size_t allocations::count() { return allocationCount.load(); }

extern "C" void* malloc(std::size_t size)
{
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}

extern "C" void* calloc(std::size_t count, std::size_t size)
{
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* memory, std::size_t size)
{
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(memory, size);
}
