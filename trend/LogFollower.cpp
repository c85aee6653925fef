#include "trend/LogFollower.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include <sys/stat.h>

namespace zrv::trend {
namespace {

constexpr std::size_t kChunkBytes = 1 << 20;

}  // namespace

LogFollower::Change LogFollower::Poll(std::size_t budget) {
  struct stat info {};
  errno = 0;
  const bool there = ::stat(path_.c_str(), &info) == 0;
  if (!there && (errno == ENOENT || errno == ENOTDIR)) {
    file_ = {0, 0};
    return Change::kMissing;
  }
  problem_ = !there ? std::strerror(errno) : S_ISDIR(info.st_mode) ? "is a directory" : "";
  std::ifstream in;
  if (problem_.empty()) {
    errno = 0;
    in.open(path_, std::ios::binary);
    if (!in) problem_ = errno ? std::strerror(errno) : "cannot be opened";
  }
  if (!problem_.empty()) {
    file_ = {0, 0};
    return Change::kUnreadable;
  }
  const std::pair<unsigned long, unsigned long> file{info.st_dev, info.st_ino};
  in.seekg(0, std::ios::end);
  size_ = static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0));

  bool newRun = (found_ && file != file_) || size_ < offset_ + pending_;
  file_ = file;
  found_ = true;
  if (!newRun && !firstLine_.empty()) {
    std::string head(firstLine_.size(), '\0');
    in.seekg(0);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    newRun = !in || head != firstLine_;
  }
  if (newRun) {
    content_ = LogContent{};
    offset_ = 0;
    pending_ = 0;
    firstLine_.clear();
  }
  // Room for every record the file can hold, so that a year of them is
  // never copied to a larger place (pages not written stay unused).
  if (offset_ == 0) content_.records.reserve(size_ / kShortestRecordBytes);

  const std::size_t linesBefore = content_.lines, pendingBefore = pending_;
  std::string buffer;
  in.clear();
  in.seekg(static_cast<std::streamoff>(offset_));
  for (std::size_t left = std::min(size_ - offset_, budget); left > 0 && in;) {
    const std::size_t kept = buffer.size(), chunk = std::min(left, kChunkBytes);
    buffer.resize(kept + chunk);
    in.read(buffer.data() + kept, static_cast<std::streamsize>(chunk));
    const auto got = static_cast<std::size_t>(in.gcount());
    buffer.resize(kept + got);
    left -= got;
    if (offset_ == 0 && firstLine_.empty()) firstLine_ = FirstLine(buffer);
    const std::size_t taken = ReadLines(buffer, content_);
    buffer.erase(0, taken);
    offset_ += taken;
  }
  pending_ = buffer.size();

  if (newRun) return Change::kNewRun;
  return content_.lines != linesBefore || pending_ != pendingBefore ? Change::kAppended
                                                                    : Change::kNone;
}

}  // namespace zrv::trend
