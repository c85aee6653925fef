// Following a file while it is written, emptied and rewritten, one poll per
// step, on a real file in the test's own directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "trend/LogFollower.h"

namespace zrv::trend {
namespace {

using Change = LogFollower::Change;

enum class Action { kNothing, kAppend, kRewrite, kRemove };

struct Step {
  Action action;
  std::string bytes;
  Change change;
  std::size_t records, unreadable, pending;
};

std::string Line(int second, const char* values = "99.9 25.3") {
  char line[64];
  std::snprintf(line, sizeof line, "2026/12/07 06:00:%02d %s %%&DEG\r\n", second, values);
  return line;
}

TEST(LogFollowerTest, FollowsAppendsAndNewRuns) {
  const std::string path = "follow.log";
  std::filesystem::remove(path);
  const std::vector<Step> steps = {
      {Action::kNothing, "", Change::kMissing, 0, 0, 0},
      {Action::kRewrite, "", Change::kNone, 0, 0, 0},
      {Action::kAppend, Line(0) + Line(1), Change::kAppended, 2, 0, 0},
      {Action::kAppend, "2026/12/07 06:00:02 80", Change::kAppended, 2, 0, 22},
      {Action::kAppend, ".5 25.1 %&DEG\r\n", Change::kAppended, 3, 0, 0},
      {Action::kNothing, "", Change::kNone, 3, 0, 0},
      {Action::kAppend, "edited by hand\r\n", Change::kAppended, 3, 1, 0},
      {Action::kRewrite, "", Change::kNewRun, 0, 0, 0},
      {Action::kAppend, Line(10), Change::kAppended, 1, 0, 0},
      // Emptied and regrown past the old size between two polls.
      {Action::kRewrite, Line(20) + Line(21) + Line(22), Change::kNewRun, 3, 0, 0},
      {Action::kRemove, "", Change::kMissing, 3, 0, 0},
      {Action::kRewrite, Line(30), Change::kNewRun, 1, 0, 0},
  };
  LogFollower follower(path);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& s = steps[i];
    if (s.action == Action::kRemove) std::filesystem::remove(path);
    if (s.action == Action::kAppend || s.action == Action::kRewrite) {
      std::ofstream out(
          path, std::ios::binary | (s.action == Action::kAppend ? std::ios::app : std::ios::trunc));
      out << s.bytes;
    }
    EXPECT_EQ(follower.Poll(), s.change) << "step " << i;
    EXPECT_EQ(follower.content().records.size(), s.records) << "step " << i;
    EXPECT_EQ(follower.content().unreadable, s.unreadable) << "step " << i;
    EXPECT_EQ(follower.pendingBytes(), s.pending) << "step " << i;
  }
  EXPECT_EQ(FormatStamp(follower.content().records.back().time), "2026/12/07 06:00:30");
}

}  // namespace
}  // namespace zrv::trend
