// Reading the measurement log. Each line is a measurement pair
// "yyyy/mm/dd hh:nn:ss <purity> <temp> %&DEG" or a notice
// "yyyy/mm/dd hh:nn:ss E-MAIL ALARM", ended by CR LF. The value texts are the
// instrument's replies cut short, so they may be empty or not numbers at all:
// such a pair is still a record, with the value missing. Any other line is
// counted as unreadable, never dropped unseen.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "trend/CivilTime.h"

namespace zrv::trend {

// Longest line worth keeping as an unfinished tail: a real record is ~40 bytes.
constexpr std::size_t kMaxLineBytes = 4096;

struct Record {
  CivilSeconds time;
  double purity;       // NaN when the value text is not a number
  double temperature;  // NaN likewise
};

struct LogContent {
  std::vector<Record> records;
  std::vector<CivilSeconds> notices;  // "E-MAIL ALARM" lines
  std::size_t lines = 0;              // every line taken, readable or not
  std::size_t unreadable = 0;
  std::size_t missingValues = 0;  // value texts that were empty or not numbers
};

enum class LineKind { kRecord, kNotice, kUnreadable };

// One line without its LF; a CR before the LF is expected, a bare LF (a hand
// edit) is accepted too.
LineKind ReadLine(std::string_view line, LogContent& into);

// Reads the complete lines at the start of `bytes` into `into` and returns how
// many bytes they took; an unfinished last line is left for the next call,
// unless it is already longer than kMaxLineBytes, when it is taken as
// unreadable.
std::size_t ReadLines(std::string_view bytes, LogContent& into);

}  // namespace zrv::trend
