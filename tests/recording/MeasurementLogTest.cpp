// The log file: its path, its exact bytes, and what happens when it cannot
// be written; and the drive list that chooses its directory.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

namespace fs = std::filesystem;

TEST(MeasurementLog, EachStartEmptiesTheFileAndEachPairAddsOneLine) {
  fs::create_directory("logs");
  const std::string here = fs::current_path().string();
  for (const auto& [dir, name, path] : {std::tuple{here, "zrv-02.log", here + "/zrv-02.log"},
                                        {here + "/", "a", here + "/a"},
                                        {here + "/logs", "zrv-02.log", here + "/logs/zrv-02.log"},
                                        {here, "", ""}}) {
    WriteFileBytes(here + "/zrv-02.log", "last week\r\n");
    Rig r;
    r.AcceptVersion();
    r.vm.Dir1.text = dir;
    r.StartContinue("1", "80", name);
    EXPECT_EQ(r.g.LogPath, path);
    EXPECT_EQ(r.g.LogEnabled, path.empty() ? 0 : -1);
    r.Pair("100.0%\r\n", "25.3DEG\r\n");
    r.Tick(3);
    r.clock.stamp = "2026/12/31 23:59:59";
    r.Pair("9.9%\r\n", "-1.5DEG\r\n");
    const std::string lines =
        std::string(kStamp) + " 100.0 25.3 %&DEG\r\n2026/12/31 23:59:59 9.9 -1.5 %&DEG\r\n";
    EXPECT_EQ(ReadFileBytes(path.empty() ? here + "/zrv-02.log" : path),
              path.empty() ? "last week\r\n" : lines);
    EXPECT_EQ(r.vm.TxtBox_Reply.text, lines) << "the history has every record, logged or not";
    EXPECT_TRUE(r.messages.shown.empty());
  }
}

TEST(MeasurementLog, ALostLogIsReportedOncePerRunAndTheRunGoesOn) {
  fs::create_directory("logs");
  Rig r;
  r.AcceptVersion();
  r.vm.Dir1.text = (fs::current_path() / "logs").string();
  for (int run = 1; run <= 2; ++run) {
    r.StartContinue("1");
    fs::remove_all("logs");  // the directory disappears during the run
    for (int pair = 0; pair < 3; ++pair) r.Pair(), r.Tick(3);
    EXPECT_TRUE(r.messages.shown.empty()) << "a notice, not a box that stops the run";
    EXPECT_EQ(r.messages.notified, Texts(run, "Can't write log file !"));
    EXPECT_EQ(r.g.ContinuousRun, -1);
    EXPECT_EQ(r.g.HistoryCount, 3 * run) << "records still reach the history";
    r.w.stop_Click();
    r.Tick(3);
    fs::create_directory("logs");
  }
}

TEST(MeasurementLog, TheDriveListStartsOnTheWorkingDriveAndMovesTheDirectoryList) {
  Rig r("/work/main");
  EXPECT_EQ(r.vm.Dir1.text, "/work/main");
  EXPECT_EQ(r.vm.Drive1.list, (Texts{"/", "/work"}));
  EXPECT_EQ(r.vm.Drive1.text, "/work");
  EXPECT_EQ(Rig("/workshop").vm.Drive1.text, "/");
  r.vm.Drive1.text = "/tmp";
  r.w.Drive1_Change();
  EXPECT_EQ(r.vm.Dir1.text, "/tmp");
  r.vm.Drive1.text = "/gone";
  r.w.Drive1_Change();
  EXPECT_EQ(r.messages.shown, Texts{"Wrong drive !"});
  EXPECT_EQ(r.vm.Dir1.text, "/tmp");
}

}  // namespace
}  // namespace zrv::test
