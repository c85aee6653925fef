// What every target shares. A broken invariant stops the fuzzer with its
// name, so the saved input and the rule it breaks arrive together. Each target
// is one source file that includes this once: the start-up hook below enters a
// fresh temp directory before the first input, for the files the window writes.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "tests/support/TempWorkDir.h"

inline void Require(bool ok, const char* what) {
  if (!ok) std::fprintf(stderr, "invariant broken: %s\n", what), std::abort();
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zrv::test::EnterTempWorkDir();
  return 0;
}
