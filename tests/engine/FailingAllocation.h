#pragma once

namespace enginetest {

// The program that links FailingAllocation.cpp replaces the global operator
// new. Once armed, `allowed` more allocations succeed and every one after
// them fails, as when memory has run out: std::bad_alloc, or null from the
// nothrow forms.
void failAllocationsAfter(long allowed);

// Lets every allocation succeed again; tells whether one failed since arming.
bool stopFailingAllocations();

}  // namespace enginetest
