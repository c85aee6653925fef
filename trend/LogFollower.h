// Follows a log file that another program appends to, one record at a time.
// Each poll opens the file, reads only what was appended since the last one
// and closes it again, so the writer is never locked out. A file that became
// shorter, or whose first line changed, was emptied for a new run and is read
// again from the start; so is another file at the same name (the controller
// moves the last run's log aside and makes a new one) and any file found where
// none was. A long file is read a slice per poll, so a window stays
// responsive while a year of records comes in.
#pragma once

#include <string>
#include <utility>

#include "trend/LogReader.h"

namespace zrv::trend {

class LogFollower {
 public:
  enum class Change { kNone, kAppended, kNewRun, kMissing, kUnreadable };

  explicit LogFollower(std::string path) : path_(std::move(path)) {}

  // Reads at most `budget` bytes.
  Change Poll(std::size_t budget = SIZE_MAX);

  const std::string& Path() const { return path_; }
  const LogContent& Content() const { return content_; }
  // Why the last poll could not read the file ("is a directory", ...).
  const std::string& Problem() const { return problem_; }
  // Bytes of a last line still being written: read once its end arrives.
  std::size_t PendingBytes() const { return pending_; }
  // Bytes of the file the budget left for later polls.
  std::size_t UnreadBytes() const { return size_ - offset_ - pending_; }
  std::size_t FileBytes() const { return size_; }

 private:
  std::string path_;
  LogContent content_;
  std::string problem_;
  std::size_t size_ = 0;
  std::size_t offset_ = 0;  // end of the last complete line read
  std::size_t pending_ = 0;
  std::string firstLine_;  // tells a rewritten file from a grown one
  // Device and inode of the file read, {0, 0} while none is there: a file
  // found again is another one even where it starts alike.
  std::pair<unsigned long, unsigned long> file_{0, 0};
  bool found_ = false;  // a file was read before
};

}  // namespace zrv::trend
