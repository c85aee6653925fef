// Follows a log file that another program appends to, one record at a time.
// Each poll opens the file, reads only what was appended since the last one
// and closes it again, so the writer is never locked out. A file that became
// shorter, or whose first line changed, was emptied for a new run and is read
// again from the start.
#pragma once

#include <string>

#include "trend/LogReader.h"

namespace zrv::trend {

class LogFollower {
 public:
  enum class Change { kNone, kAppended, kNewRun, kMissing };

  explicit LogFollower(std::string path) : path_(std::move(path)) {}

  Change Poll();

  const std::string& path() const { return path_; }
  const LogContent& content() const { return content_; }
  // Bytes of a last line still being written: read once its LF arrives.
  std::size_t pendingBytes() const { return pending_; }

 private:
  std::string path_;
  LogContent content_;
  std::size_t offset_ = 0;  // end of the last complete line read
  std::size_t pending_ = 0;
  std::string firstLine_;  // tells a rewritten file from a grown one
};

}  // namespace zrv::trend
