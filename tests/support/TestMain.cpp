// Test entry for the core: every test runs in a fresh, empty working
// directory, because the window reads and writes its address history files
// and the log in the current working directory.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempWorkDir.h"

namespace {

class FreshWorkDir : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { dir_ = zrv::test::EnterTempWorkDir(); }
  void OnTestEnd(const testing::TestInfo&) override {
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(dir_);
  }
  std::string dir_;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new FreshWorkDir);
  return RUN_ALL_TESTS();
}
