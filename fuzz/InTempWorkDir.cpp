// The targets that write files (the address history files, the log) run in a
// fresh temp directory, entered once before the first input.
#include "tests/support/TempWorkDir.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zrv::test::EnterTempWorkDir();
  return 0;
}
