// A broken invariant stops the fuzzer with its name, so the saved input and
// the rule it breaks arrive together.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}
