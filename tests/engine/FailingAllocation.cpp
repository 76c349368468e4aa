#include "FailingAllocation.h"

#include <cstdlib>
#include <new>

namespace enginetest {

namespace {

long allocationsLeft = -1;  // negative: not armed
bool anyFailed = false;

// Null when memory has "run out". malloc(0) may give null, new never does.
void* allocate(std::size_t size) noexcept
{
    if (allocationsLeft == 0) {
        anyFailed = true;
        return nullptr;
    }
    if (allocationsLeft > 0) --allocationsLeft;
    return std::malloc(size ? size : 1);
}

}  // namespace

void failAllocationsAfter(long allowed)
{
    anyFailed = false;
    allocationsLeft = allowed;
}

bool stopFailingAllocations()
{
    allocationsLeft = -1;
    return anyFailed;
}

}  // namespace enginetest

// Every form the program, libtarvex and the standard library may call, so
// that no block is allocated by one allocator and freed by another.

void* operator new(std::size_t size)
{
    if (void* memory = enginetest::allocate(size)) return memory;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    if (void* memory = enginetest::allocate(size)) return memory;
    throw std::bad_alloc();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return enginetest::allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return enginetest::allocate(size); }

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
