// Start-up, shut-down and the address history, checked against the exact
// bytes of the history files.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

using Entries = std::vector<std::string>;

using StartupShutdown = testing::Test;

struct CutCase {
  std::string text;
  std::int16_t from;
  std::string item;
  std::int16_t next;
};

TEST_F(StartupShutdown, MojiCutReturnsTheItemAndMovesPastItsComma) {
  const CutCase cases[] = {
      {"AB,CD,", 1, "AB", 4}, {"AB,CD,", 4, "CD", 7}, {",X,", 1, "", 2},
      {"A,B", 3, "B", 5},  // no comma follows: the rest, position past the end
      {"A,", 3, "", 4},       {"", 1, "", 2},         {" 7777,", 1, " 7777", 7},
  };
  Rig r;
  for (const auto& c : cases) {
    std::int16_t position = c.from;
    EXPECT_EQ(r.w.MojiCut(c.text, position), c.item) << c.text << " from " << c.from;
    EXPECT_EQ(position, c.next) << c.text << " from " << c.from;
  }
  std::int16_t zero = 0;
  EXPECT_THROW(r.w.MojiCut("A,", zero), HandlerError);
}

struct LoadCase {
  const char* name;
  std::optional<std::string> fileBytes;  // none: no file
  Entries list;
  std::string text;
};

TEST_F(StartupShutdown, LoadTakesTheFirstSixItemsOfTheLastLine) {
  const std::string design = ViewModel().HostIPEdit.text;  // the window's design text
  const LoadCase cases[] = {
      {"six items", "A,B,C,D,E,F,\r\n", {"A", "B", "C", "D", "E", "F"}, "A"},
      {"one item", "A,,,,,,\r\n", {"A", "", "", "", "", ""}, "A"},
      {"extra items ignored", "A,B,C,D,E,F,G,H,\r\n", {"A", "B", "C", "D", "E", "F"}, "A"},
      {"last line counts", "X,,,,,,\r\nY,Z,,,,,\r\n", {"Y", "Z", "", "", "", ""}, "Y"},
      {"no line end", "A,B,,,,,", {"A", "B", "", "", "", ""}, "A"},
      {"LF only", "Q,,,,,,\nR,,,,,,\n", {"R", "", "", "", "", ""}, "R"},
      {"blanks kept", " 1.2.3.4 ,,,,,,\r\n", {" 1.2.3.4 ", "", "", "", "", ""}, " 1.2.3.4 "},
      {"empty first item", ",B,,,,,\r\n", {"", "B", "", "", "", ""}, ""},
      {"short line", "A,B\r\n", {"A", "B", "", "", "", ""}, "A"},
      {"no comma", "10.0.0.1\r\n", {"10.0.0.1", "", "", "", "", ""}, "10.0.0.1"},
      {"missing file", std::nullopt, {}, design},
      {"empty file", "", {}, design},
      {"overlong line", std::string(40000, 'x') + "\r\n", {}, design},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(kIpHistoryFile);
    if (c.fileBytes) WriteFileBytes(kIpHistoryFile, *c.fileBytes);
    Rig r;
    EXPECT_EQ(r.vm.HostIPEdit.list, c.list) << c.name;
    EXPECT_EQ(r.vm.HostIPEdit.text, c.text) << c.name;
    EXPECT_EQ(r.vm.HostPTEdit.text, "7777") << "no port file: " << c.name;
  }
}

struct UpdateCase {
  const char* name;
  Entries list;
  std::string text;
  Entries listAfter;
  std::string fileAfter;
};

TEST_F(StartupShutdown, UpdateMovesTheTextToTheTopAndRewritesTheFile) {
  const UpdateCase cases[] = {
      {"new text, six entries",
       {"A", "B", "C", "D", "E", "F"},
       "G",
       {"G", "A", "B", "C", "D", "F"},
       "G,A,B,C,D,F,\r\n"},
      {"new text, five entries",
       {"A", "B", "C", "D", "E"},
       "G",
       {"G", "A", "B", "C", "D"},
       "G,A,B,C,D,,\r\n"},
      {"existing entry moves up",
       {"A", "B", "C", "D", "E", "F"},
       "C",
       {"C", "A", "B", "D", "E"},
       "C,A,B,D,E,,\r\n"},
      {"empty text removes the first empty entry",
       {"A", "", "B", "", "", ""},
       "",
       {"A", "B", "", "", ""},
       "A,B,,,,,\r\n"},
      {"empty list", {}, "127.0.0.1", {"127.0.0.1"}, "127.0.0.1,,,,,,\r\n"},
      {"blanks do not match",
       {" 7777", "", "", "", "", ""},
       "7777",
       {"7777", " 7777", "", "", "", ""},
       "7777, 7777,,,,,\r\n"},
  };
  for (const auto& c : cases) {
    Rig r;
    r.vm.HostIPEdit.list = c.list;
    r.vm.HostIPEdit.text = c.text;
    r.w.UpdateHostHistory(r.vm.HostIPEdit, kIpHistoryFile);
    EXPECT_EQ(r.vm.HostIPEdit.list, c.listAfter) << c.name;
    EXPECT_EQ(r.vm.HostIPEdit.text, c.text) << c.name;
    EXPECT_EQ(ReadFileBytes(kIpHistoryFile), c.fileAfter) << c.name;
  }
}

TEST_F(StartupShutdown, CheckingTheSameAddressTwiceWritesTheSameFile) {
  WriteFileBytes(kIpHistoryFile, "127.0.0.1,,,,,,\r\n");
  Rig r;
  r.w.UpdateHostHistory(r.vm.HostIPEdit, kIpHistoryFile);
  EXPECT_EQ(ReadFileBytes(kIpHistoryFile), "127.0.0.1,,,,,,\r\n");
  r.w.UpdateHostHistory(r.vm.HostIPEdit, kIpHistoryFile);
  EXPECT_EQ(ReadFileBytes(kIpHistoryFile), "127.0.0.1,,,,,,\r\n");
  // What was written is read back the same way at the next start.
  Rig next;
  EXPECT_EQ(next.vm.HostIPEdit.text, "127.0.0.1");
}

TEST_F(StartupShutdown, AFailedRewriteLeavesTheOldFileWhole) {
  WriteFileBytes(kIpHistoryFile, "A,B,,,,,\r\n");
  std::filesystem::create_directory(std::string(kIpHistoryFile) + ".tmp");
  Rig r;
  // Built, then moved in: g++ 12 at -O2 warns falsely (-Wrestrict) on
  // assigning this literal in place.
  r.vm.HostIPEdit.text = std::string("C");
  EXPECT_THROW(r.w.UpdateHostHistory(r.vm.HostIPEdit, kIpHistoryFile), FileError);
  EXPECT_EQ(ReadFileBytes(kIpHistoryFile), "A,B,,,,,\r\n");
  std::filesystem::remove(std::string(kIpHistoryFile) + ".tmp");
}

TEST_F(StartupShutdown, CloseRequestClosesTheSocketInAnyState) {
  Rig r;
  r.w.Form_QueryUnload();
  EXPECT_EQ(r.socket.calls, Entries{"close"});
  EXPECT_TRUE(r.messages.shown.empty());
}

}  // namespace
}  // namespace zrv::test
