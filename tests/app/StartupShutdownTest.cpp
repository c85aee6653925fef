// Start-up, shut-down and the address history, checked against the exact
// bytes of the history files.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

TEST(StartupShutdown, StartUpTouchesNoSocketAndOnlyTheBlinkTimerRuns) {
  Rig r;
  EXPECT_EQ(std::tuple(r.timer1.enabled, r.timer1.interval, r.timer2.enabled, r.timer2.interval,
                       r.socket.calls),
            std::tuple(false, 200, true, 200, Texts{}));
}

TEST(StartupShutdown, MojiCutReturnsTheItemAtAPositionAndMovesPastItsComma) {
  Rig r;
  // Text, start, item, next start; with no comma to follow, the item is the rest.
  const std::tuple<std::string, std::int16_t, std::string, std::int16_t> rows[] = {
      {"AB,CD,", 1, "AB", 4}, {"AB,CD,", 4, "CD", 7}, {",X,", 1, "", 2},        {"A,B", 3, "B", 5},
      {"A,", 3, "", 4},       {"", 1, "", 2},         {" 7777,", 1, " 7777", 7}};
  for (auto [text, position, item, next] : rows)
    EXPECT_EQ((std::pair<std::string, std::int16_t>{r.w.MojiCut(text, position), position}),
              std::pair(item, next));
  std::int16_t zero = 0;
  EXPECT_THROW(r.w.MojiCut("A,", zero), HandlerError);
}

TEST(StartupShutdown, ClosingTheWindowClosesTheSocket) {
  Rig r;
  r.w.Form_QueryUnload();
  EXPECT_EQ(r.socket.calls, Texts{"close"});
}

// "A,,B" -> {"A", "", "B"}; "-" -> no entries.
Texts Items(const std::string& joined) {
  Texts items(1);
  for (char c : joined) c == ',' ? items.emplace_back() : items.back() += c;
  return joined == "-" ? Texts{} : items;
}

TEST(StartupShutdown, LoadTakesTheFirstSixItemsOfTheLastLine) {
  // clang-format off
  const std::pair<std::optional<std::string>, const char*> rows[] = {
      {"A,B,C,D,E,F,G,H,\r\n", "A,B,C,D,E,F"}, {"X,,,,,,\r\nY,Z,,,,,\r\n", "Y,Z,,,,"},
      {"A,B,,,,,", "A,B,,,,"},                 {"Q,,,,,,\nR,,,,,,\n", "R,,,,,"},
      {"Q,,,,,,\rR,,,,,,\r", "R,,,,,"},       {" 1.2.3.4 ,,,,,,\r\n", " 1.2.3.4 ,,,,,"},
      {",B,,,,,\r\n", ",B,,,,"},             {"A,B\r\n", "A,B,,,,"},
      {std::string("\0\xff,\x80\r\x1b\xfe", 7), "\x1b\xfe,,,,,"},
      {std::nullopt, "-"}, {"", "-"},         {std::string(40000, 'x'), "-"}};
  // clang-format on
  for (const auto& [file, list] : rows) {
    std::filesystem::remove(kIpHistoryFile);
    if (file) WriteFileBytes(kIpHistoryFile, *file);
    Rig r;
    EXPECT_EQ(
        std::pair(r.vm.HostIPEdit.list, r.vm.HostIPEdit.text),
        std::pair(Items(list), Items(list).empty() ? ViewModel().HostIPEdit.text : Items(list)[0]));
  }
}

TEST(StartupShutdown, UpdateMovesTheTextToTheTopAndRewritesTheFile) {
  // List, text, list after; only the first six entries are searched for the text.
  // clang-format off
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"A,B,C,D,E,F", "G", "G,A,B,C,D,F"},      {"A,B,C,D,E", "G", "G,A,B,C,D"},
      {"A,B,C,D,E,F", "C", "C,A,B,D,E"},        {"A,B", "A", "A,B"},
      {"A,,B,,,", "", "A,B,,,"},                {"-", "127.0.0.1", "127.0.0.1"},
      {" 7777,,,,,", "7777", "7777, 7777,,,,"}, {"A,B,C,D,E,F,G", "G", "G,A,B,C,D,F,G"}};
  // clang-format on
  for (const auto& [list, text, after] : rows) {
    Rig r;
    r.vm.HostIPEdit.list = Items(list), r.vm.HostIPEdit.text = text;
    r.w.UpdateHostHistory(r.vm.HostIPEdit, kIpHistoryFile);
    EXPECT_EQ(std::tuple(r.vm.HostIPEdit.list, r.vm.HostIPEdit.text),
              std::tuple(Items(after), text));
    std::string file;
    for (auto i = 0u; i < 6; ++i) file += (i < Items(after).size() ? Items(after)[i] : "") + ",";
    EXPECT_EQ(ReadFileBytes(kIpHistoryFile), file + "\r\n") << text;
  }
}

}  // namespace
}  // namespace zrv::test
