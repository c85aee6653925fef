// The log file: its path, its exact bytes, and what happens when it cannot
// be written; and the drive list that chooses its directory.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {

namespace fs = std::filesystem;

TEST(MeasurementLog, EachStartEmptiesTheFileAndEachPairAddsOneLine) {
  const std::string here = fs::current_path().string();
  for (const auto& [dir, name, path] : {std::tuple{here, "zrv-02.log", here + "/zrv-02.log"},
                                        {here + "/", "a", here + "/a"},
                                        {here, "", ""}}) {
    WriteFileBytes("zrv-02.log", "last week\r\n");
    Rig r;
    r.clock.stamp = "2026/12/06 18:41:13";
    r.Run("check t <1.10 t Dir1=" + dir + " Txt_Interval=1 Txt_Save_File=" + name +
          " start t <100.0% t <25.3DEG t*4");
    r.clock.stamp = "2026/12/31 23:59:59";
    EXPECT_EQ(r.Run("<9.9% t <-1.5DEG"), "@1 TEMP?");
    const std::string lines =
        "2026/12/06 18:41:13 100.0 25.3 %&DEG\r\n2026/12/31 23:59:59 9.9 -1.5 %&DEG\r\n";
    // The history has every record, logged or not.
    EXPECT_EQ(std::tuple(r.g.LogPath, ReadFileBytes(path.empty() ? "zrv-02.log" : path),
                         r.vm.TxtBox_Reply.text),
              std::tuple(path, path.empty() ? "last week\r\n" : lines, lines));
  }
}

TEST(MeasurementLog, ALostLogIsReportedOncePerRunAndTheRunGoesOn) {
  const std::string logs = (fs::current_path() / "logs").string();
  Rig r;
  r.Run("check t <1.10 t Txt_Interval=1");
  int run = 0;
  for (const auto& [dir, name] : {std::pair{logs, "zrv-02.log"}, {"/dev", "full"}}) {
    fs::create_directory(logs);
    r.Run("Dir1=" + dir + " Txt_Save_File=" + name + " start");
    fs::remove_all(logs);  // the directory disappears during the run
    EXPECT_EQ(r.Run("t <1% t <2DEG t*4 <1% t <2DEG t*4 <1% stop t <2DEG t"),
              "@1 PURITY? @2 TEMP? @6 PURITY? @7 TEMP? @11 PURITY? @12 TEMP? @13 close")
        << "a notice, not a box that stops the run";
    ++run;
    EXPECT_EQ(r.messages.notified, Texts(run, "Can't write log file !")) << name;
    EXPECT_EQ(r.g.HistoryCount, 3 * run) << "records still reach the history";
  }
}

TEST(MeasurementLog, TheDriveListStartsOnTheWorkingDriveAndMovesTheDirectoryList) {
  Rig r("/work/main");
  EXPECT_EQ(std::tuple(r.vm.Dir1.text, r.vm.Drive1.list, r.vm.Drive1.text),
            std::tuple("/work/main", Texts{"/", "/work"}, "/work"));
  EXPECT_EQ(Rig("/workshop").vm.Drive1.text, "/");
  EXPECT_EQ(r.Run("Drive1=/tmp Drive1_Change ?Dir1 Drive1=/gone Drive1_Change ?Dir1"),
            "Dir1=/tmp !Wrong drive ! Dir1=/tmp");
}

}  // namespace zrv::test
