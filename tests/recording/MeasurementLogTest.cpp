// The log file: its path, its exact bytes, and what happens when it cannot
// be written; and the drive list that chooses its directory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
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

// Kept under the time of its first record, or of the start when it has none;
// an empty log needs no keeping; a run that cannot be kept is not emptied and
// the start is refused.
TEST(MeasurementLog, ANewStartKeepsTheLastRunInAFileNamedForWhenItBegan) {
  const std::string tooLong(250, 'n');
  WriteFileBytes(tooLong, "kept in place\r\n");
  WriteFileBytes("zrv-02.log", "no stamp\r\n");
  Rig r;
  r.clock.stamp = "2026/12/09 19:49:59";
  r.Run("check t <1.10 t Txt_Interval=1 start t <1.0% stop t <2DEG t");
  r.clock.stamp = "2026/12/10 09:00:00";
  EXPECT_EQ(r.Run("Txt_Save_File=" + tooLong + " start Txt_Save_File=zrv-02.log start start"),
            "connect close !Wrong Parameter ! connect connect");
  EXPECT_EQ(std::tuple(ReadFileBytes(tooLong), ReadFileBytes("zrv-02_20261209-194959.log"),
                       ReadFileBytes("zrv-02_20261209-194959-2.log"),
                       fs::exists("zrv-02_20261210-090000.log")),
            std::tuple("kept in place\r\n", "no stamp\r\n", "2026/12/09 19:49:59 1.0 2 %&DEG\r\n",
                       false));
  EXPECT_NE(r.messages.details.back().find(" the folder " + fs::current_path().string() +
                                           " does not take it (File name too long)"),
            std::string::npos)
      << r.messages.details.back();
  // A log that is a link stays one: its file is kept beside itself and filled anew.
  fs::create_directory("data");
  fs::rename("zrv-02_20261209-194959.log", "data/now.log");
  fs::create_symlink("data/now.log", "linked.log");
  r.Run("Txt_Save_File=linked.log start t <9.9% t <1.0DEG");
  EXPECT_EQ(std::tuple(fs::is_symlink("linked.log"), ReadFileBytes("data/now.log"),
                       fs::is_regular_file(fs::symlink_status("data/now_20261210-090000.log"))),
            std::tuple(true, "2026/12/10 09:00:00 9.9 1.0 %&DEG\r\n", true));
  // Unattended logging continues the log it finds instead.
  r.w.ContinueLogAcrossStarts();
  r.Run("start t <9.8% t <1.1DEG");
  EXPECT_EQ(ReadFileBytes("data/now.log"),
            "2026/12/10 09:00:00 9.9 1.0 %&DEG\r\n2026/12/10 09:00:00 9.8 1.1 %&DEG\r\n");
}

// Names for one second run out at "-99": the start after that is refused
// rather than replace a kept run.
TEST(MeasurementLog, TheHundredthRunKeptForOneSecondIsRefused) {
  const std::string stem = "zrv-02_20261209-194959";
  WriteFileBytes(stem + ".log", "kept\r\n");
  for (int n = 2; n <= 98; ++n) WriteFileBytes(stem + "-" + std::to_string(n) + ".log", "kept\r\n");
  const std::string record = "2026/12/09 19:49:59 1.0 2 %&DEG\r\n";
  WriteFileBytes("zrv-02.log", record);
  Rig r;
  r.clock.stamp = "2026/12/09 19:49:59";
  r.Run("check t <1.10 t Txt_Interval=1 start t <1.0% stop t <2DEG t");
  EXPECT_EQ(r.Run("start"), "connect close !Wrong Parameter !");
  EXPECT_EQ(std::tuple(ReadFileBytes(stem + "-99.log"), ReadFileBytes("zrv-02.log"),
                       fs::exists(stem + "-100.log")),
            std::tuple(record, record, false));
}

// Records held when the program ends get a last try; every record that is
// given up, then or past the holding limit, is counted and reported.
TEST(MeasurementLog, HeldRecordsGetALastTryAndEveryLossIsCounted) {
  fs::create_directory("logs");
  Rig r;
  r.Run("check t <1.10 t Txt_Interval=1 Dir1=logs start");
  fs::remove_all("logs");
  r.Run("t <1% t <2DEG");
  fs::create_directory("logs");
  r.w.Form_QueryUnload();
  EXPECT_EQ(ReadFileBytes("logs/zrv-02.log"), "T 1 2 %&DEG\r\n");
  r.Run("Dir1=/dev Txt_Save_File=full start t <1% t <2DEG");
  for (std::size_t i = 0; i < kMaxHeldRecords; ++i) r.w.AppendLogLine("3 4 %&DEG\r\n", "T");
  r.w.Form_QueryUnload();
  EXPECT_EQ(r.w.Counters().lostRecords, 1 + kMaxHeldRecords);
  EXPECT_EQ(r.messages.notified, Texts(4, "Can't write log file !"));
  EXPECT_EQ(r.messages.details[1].substr(r.messages.details[1].find(';')),
            "; records waiting to be written: 1");
  EXPECT_THAT(r.messages.details.back(),
              testing::StartsWith("100000 records could not be written to /dev/full"));
}

// A file size limit makes writes short, as a full disk does.
TEST(MeasurementLog, RecordsWaitOutEachOutageWholeAndInOrder) {
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit open{};
  getrlimit(RLIMIT_FSIZE, &open);
  const auto limitFileSize = [&](rlim_t bytes) {
    const rlimit limit{bytes, open.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
  };
  Rig r;
  r.Run("check t <1.10 t Txt_Interval=1 start t <9.9% t <1.0DEG t*3");
  for (const std::string tenths : {"2", "3"}) {
    const std::string before = ReadFileBytes("zrv-02.log");
    limitFileSize(before.size() + 10);  // the next record fits only in part
    r.Run("t <9.9% t <" + tenths + ".0DEG t*3");
    EXPECT_EQ(ReadFileBytes("zrv-02.log"), before) << "cut back to whole records";
    limitFileSize(open.rlim_cur);
    r.Run("t <9.9% t <" + tenths + ".1DEG t*3");
  }
  EXPECT_EQ(ReadFileBytes("zrv-02.log"),
            "T 9.9 1.0 %&DEG\r\nT 9.9 2.0 %&DEG\r\nT 9.9 2.1 %&DEG\r\nT 9.9 3.0 %&DEG\r\nT 9.9 3.1 "
            "%&DEG\r\n");
  EXPECT_EQ(r.messages.notified, Texts(2, "Can't write log file !")) << "once per outage";
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
