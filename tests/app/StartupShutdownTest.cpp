// Start-up, shut-down and the address history, checked against the exact
// bytes of the history files.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

TEST(StartupShutdown, NothingIsSentOrTimedAtStartUpAndCloseClosesTheSocket) {
  Rig r;
  EXPECT_TRUE(r.socket.calls.empty());
  EXPECT_EQ(std::tuple(r.timer1.enabled, r.timer1.interval), std::tuple(false, 200));
  EXPECT_EQ(std::tuple(r.timer2.enabled, r.timer2.interval), std::tuple(true, 200));
  EXPECT_EQ(std::tuple(r.g.VersionPending, r.g.ReadoutStep, r.g.HistoryCount), std::tuple(1, 0, 0));
  r.w.Form_QueryUnload();
  EXPECT_EQ(r.socket.calls, Texts{"close"});
  EXPECT_TRUE(r.messages.shown.empty());
}

TEST(StartupShutdown, MojiCutReturnsTheItemAndMovesPastItsComma) {
  const struct {
    std::string text;
    std::int16_t from;
    std::string item;
    std::int16_t next;
  } rows[] = {
      {"AB,CD,", 1, "AB", 4}, {"AB,CD,", 4, "CD", 7}, {",X,", 1, "", 2},
      {"A,B", 3, "B", 5},  // no comma follows: the rest, position past the end
      {"A,", 3, "", 4},       {"", 1, "", 2},         {" 7777,", 1, " 7777", 7},
  };
  Rig r;
  for (const auto& row : rows) {
    std::int16_t position = row.from;
    EXPECT_EQ(r.w.MojiCut(row.text, position), row.item) << row.text << " from " << row.from;
    EXPECT_EQ(position, row.next) << row.text << " from " << row.from;
  }
  std::int16_t zero = 0;
  EXPECT_THROW(r.w.MojiCut("A,", zero), HandlerError);
}

// "A,,B" -> {"A", "", "B"}; "-" -> no entries.
Texts Items(const std::string& joined) {
  Texts items(1);
  for (char c : joined) c == ',' ? items.emplace_back() : items.back() += c;
  return joined == "-" ? Texts{} : items;
}

TEST(StartupShutdown, LoadTakesTheFirstSixItemsOfTheLastLine) {
  const std::pair<std::optional<std::string>, const char*> rows[] = {
      {"A,B,C,D,E,F,\r\n", "A,B,C,D,E,F"},
      {"A,B,C,D,E,F,G,H,\r\n", "A,B,C,D,E,F"},
      {"X,,,,,,\r\nY,Z,,,,,\r\n", "Y,Z,,,,"},
      {"A,B,,,,,", "A,B,,,,"},
      {"Q,,,,,,\nR,,,,,,\n", "R,,,,,"},
      {"Q,,,,,,\rR,,,,,,\r", "R,,,,,"},
      {" 1.2.3.4 ,,,,,,\r\n", " 1.2.3.4 ,,,,,"},
      {",B,,,,,\r\n", ",B,,,,"},
      {"A,B\r\n", "A,B,,,,"},
      {std::nullopt, "-"},
      {"", "-"},
      {std::string(40000, 'x') + "\r\n", "-"},
  };
  for (const auto& [file, list] : rows) {
    std::filesystem::remove(kIpHistoryFile);
    if (file) WriteFileBytes(kIpHistoryFile, *file);
    Rig r;
    EXPECT_EQ(r.vm.HostIPEdit.list, Items(list)) << list;
    EXPECT_EQ(r.vm.HostIPEdit.text,
              Items(list).empty() ? ViewModel().HostIPEdit.text : Items(list)[0]);
    EXPECT_EQ(r.vm.HostPTEdit.text, "7777") << "no port file";
  }
}

TEST(StartupShutdown, UpdateMovesTheTextToTheTopAndRewritesTheFile) {
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"A,B,C,D,E,F", "G", "G,A,B,C,D,F"},
      {"A,B,C,D,E", "G", "G,A,B,C,D"},
      {"A,B,C,D,E,F", "C", "C,A,B,D,E"},
      {"A,,B,,,", "", "A,B,,,"},
      {"-", "127.0.0.1", "127.0.0.1"},
      {" 7777,,,,,", "7777", "7777, 7777,,,,"},
      // Only the first six entries are searched.
      {"A,B,C,D,E,F,G", "G", "G,A,B,C,D,F,G"},
  };
  for (const auto& [list, text, after] : rows) {
    Rig r;
    r.vm.HostIPEdit.list = Items(list);
    r.vm.HostIPEdit.text = text;
    r.w.UpdateHostHistory(r.vm.HostIPEdit, kIpHistoryFile);
    EXPECT_EQ(r.vm.HostIPEdit.list, Items(after)) << text;
    EXPECT_EQ(r.vm.HostIPEdit.text, text);
    std::string file;
    for (std::size_t i = 0; i < 6; ++i)
      file += (i < Items(after).size() ? Items(after)[i] : "") + ",";
    EXPECT_EQ(ReadFileBytes(kIpHistoryFile), file + "\r\n") << text;
  }
}

TEST(StartupShutdown, WhatIsWrittenIsReadBackAndAFailedRewriteLeavesTheOldFileWhole) {
  Rig r;
  r.vm.HostIPEdit.text = "A";
  for (int check = 0; check < 2; ++check) {  // the same address twice: the same file
    r.w.UpdateHostHistory(r.vm.HostIPEdit, kIpHistoryFile);
    EXPECT_EQ(ReadFileBytes(kIpHistoryFile), "A,,,,,,\r\n");
    EXPECT_EQ(Rig().vm.HostIPEdit.list, (Texts{"A", "", "", "", "", ""}));
  }
  std::filesystem::create_directory(std::string(kIpHistoryFile) + ".tmp");
  // Built, then moved in: g++ 12 at -O2 warns falsely (-Wrestrict) on
  // assigning this literal in place.
  r.vm.HostIPEdit.text = std::string("C");
  EXPECT_THROW(r.w.UpdateHostHistory(r.vm.HostIPEdit, kIpHistoryFile), FileError);
  EXPECT_EQ(ReadFileBytes(kIpHistoryFile), "A,,,,,,\r\n");
}

}  // namespace
}  // namespace zrv::test
