#include "app/ProcessState.h"

#include <string.h>

ProcessState::ProcessState() { clearLoginKey(); }

ProcessState::~ProcessState() { clearLoginKey(); }

void ProcessState::clearLoginKey()
{
    // explicit_bzero is never optimised away, unlike a store to dying memory.
    explicit_bzero(loginKey.data(), loginKey.size());
}
