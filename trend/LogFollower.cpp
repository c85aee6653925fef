#include "trend/LogFollower.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace zrv::trend {
namespace {

constexpr std::size_t kChunkBytes = 1 << 20;

}  // namespace

LogFollower::Change LogFollower::Poll(std::size_t budget) {
  std::error_code error;
  const auto status = std::filesystem::status(path_, error);
  if (status.type() == std::filesystem::file_type::not_found) return Change::kMissing;
  problem_.clear();
  if (status.type() == std::filesystem::file_type::directory) problem_ = "is a directory";
  std::ifstream in;
  if (problem_.empty()) {
    errno = 0;
    in.open(path_, std::ios::binary);
    if (!in) problem_ = errno ? std::strerror(errno) : "cannot be opened";
  }
  if (!problem_.empty()) return Change::kUnreadable;
  in.seekg(0, std::ios::end);
  size_ = static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0));

  bool newRun = size_ < offset_ + pending_;
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
