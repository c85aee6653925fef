// Test entry for the core: every run works in a fresh temporary directory,
// because the window reads and writes its address history files in the
// current working directory.
#include <gtest/gtest.h>

#include "tests/support/TempWorkDir.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  zrv::test::EnterTempWorkDir();
  return RUN_ALL_TESTS();
}
