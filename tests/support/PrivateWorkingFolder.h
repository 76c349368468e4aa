// Every test starts in a fresh, empty working folder of its own, removed when
// the test ends: runs leave journals and recovery lists in the working
// folder, and one test's leftovers must never meet another test, whatever
// the order and however many run at once.
#pragma once

namespace testsupport {

// Call once, after testing::InitGoogleTest.
void giveEachTestAPrivateWorkingFolder();

}  // namespace testsupport
