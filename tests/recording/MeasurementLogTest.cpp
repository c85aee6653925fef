// The log file: its path, its exact bytes, and what happens when it cannot
// be written.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

namespace fs = std::filesystem;

void MeasurePair(Rig& r, const std::string& purity, const std::string& temp) {
  r.Tick();
  r.Reply(purity);
  r.Tick();
  r.Reply(temp);
}

TEST(MeasurementLog, PathJoinsDirectoryAndNameWithOneSeparator) {
  fs::create_directory("logs");
  const std::string here = fs::current_path().string();
  struct Case {
    std::string dir;
    std::string path;
  };
  for (const Case& c : {Case{here, here + "/zrv-02.log"}, Case{here + "/", here + "/zrv-02.log"},
                        Case{here + "/logs", here + "/logs/zrv-02.log"}}) {
    Rig r;
    r.AcceptVersion();
    r.vm.Dir1.text = c.dir;
    r.StartContinue("1");
    EXPECT_EQ(r.g.LogPath, c.path);
    EXPECT_TRUE(fs::exists(c.path));
  }
}

TEST(MeasurementLog, EachStartEmptiesTheFileAndEachPairAddsOneLine) {
  WriteFileBytes("zrv-02.log", "last week\r\n");
  Rig r;
  r.AcceptVersion();
  r.StartContinue("1");
  EXPECT_EQ(ReadFileBytes("zrv-02.log"), "");
  MeasurePair(r, "100.0%\r\n", "25.3DEG\r\n");
  r.Tick(3);
  r.clock.stamp = "2026/12/31 23:59:59";
  MeasurePair(r, "9.9%\r\n", "-1.5DEG\r\n");
  EXPECT_EQ(ReadFileBytes("zrv-02.log"),
            "2026/12/06 18:41:13 100.0 25.3 %&DEG\r\n"
            "2026/12/31 23:59:59 9.9 -1.5 %&DEG\r\n");
}

TEST(MeasurementLog, AnEmptyNameRunsWithoutLog) {
  WriteFileBytes("zrv-02.log", "last week\r\n");
  Rig r;
  r.AcceptVersion();
  r.StartContinue("1", "80", "");
  EXPECT_EQ(r.g.LogEnabled, 0);
  MeasurePair(r, "99.0%\r\n", "25.3DEG\r\n");
  EXPECT_EQ(ReadFileBytes("zrv-02.log"), "last week\r\n");
  EXPECT_NE(r.vm.TxtBox_Reply.text, "");
}

TEST(MeasurementLog, ALostLogIsReportedOncePerRunAndTheRunGoesOn) {
  fs::create_directory("logs");
  Rig r;
  r.AcceptVersion();
  r.vm.Dir1.text = (fs::current_path() / "logs").string();
  for (int run = 1; run <= 2; ++run) {
    r.StartContinue("1");
    fs::remove_all("logs");  // the directory disappears during the run
    for (int pair = 0; pair < 3; ++pair) {
      MeasurePair(r, "99.0%\r\n", "25.3DEG\r\n");
      r.Tick(3);
    }
    EXPECT_TRUE(r.messages.shown.empty()) << "a notice, not a box that stops the run";
    EXPECT_EQ(r.messages.notified.size(), static_cast<std::size_t>(run));
    EXPECT_EQ(r.messages.notified.back(), "Can't write log file !");
    EXPECT_EQ(r.g.ContinuousRun, -1);
    EXPECT_EQ(r.g.HistoryCount, 3 * run) << "records still reach the history";
    r.w.stop_Click();
    r.Tick(3);
    fs::create_directory("logs");
  }
}

TEST(MeasurementLog, ChoosingADriveMovesTheDirectoryList) {
  Rig r;
  r.vm.Drive1.text = "/tmp";
  r.w.Drive1_Change();
  EXPECT_EQ(r.vm.Dir1.text, "/tmp");
  r.vm.Drive1.text = "/gone";
  r.w.Drive1_Change();
  EXPECT_EQ(r.messages.shown, std::vector<std::string>{"Wrong drive !"});
  EXPECT_EQ(r.vm.Dir1.text, "/tmp");
  EXPECT_EQ(r.vm.Drive1.text, "/gone");
}

TEST(MeasurementLog, TheDriveListStartsOnTheDriveOfTheWorkingDirectory) {
  Rig r("/work/main");
  EXPECT_EQ(r.vm.Dir1.text, "/work/main");
  EXPECT_EQ(r.vm.Drive1.list, (std::vector<std::string>{"/", "/work"}));
  EXPECT_EQ(r.vm.Drive1.text, "/work");
  Rig elsewhere("/workshop");
  EXPECT_EQ(elsewhere.vm.Drive1.text, "/");
}

}  // namespace
}  // namespace zrv::test
