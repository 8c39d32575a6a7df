// The ext2 or NTFS test volume of the tests of real bytes (tests/support/test-volume.sh mounts it as T:
// before such a test runs and searches its raw image afterwards).
#pragma once
#include <string>

#include "TestFiles.h"

namespace testkit {

// Empty when T: is the test volume (its label tells), else what is wrong: the tests then fail.
std::wstring TestVolumeProblem();
// For the benchmarks that write on T:: true inside the build folder's test prefix with the test
// volume mounted, else says why not on stderr.
bool MayWriteOnTestVolume();

}  // namespace testkit
