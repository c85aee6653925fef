#include "trend/LogFollower.h"

#include <fstream>

namespace zrv::trend {
namespace {

constexpr std::size_t kChunkBytes = 1 << 20;

}  // namespace

LogFollower::Change LogFollower::Poll() {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return Change::kMissing;
  in.seekg(0, std::ios::end);
  const auto size = static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0));

  bool newRun = size < offset_;
  if (!newRun && !firstLine_.empty()) {
    std::string head(firstLine_.size(), '\0');
    in.seekg(0);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    newRun = !in || head != firstLine_;
  }
  if (newRun) {
    content_ = LogContent{};
    offset_ = 0;
    firstLine_.clear();
  }

  const std::size_t linesBefore = content_.lines, pendingBefore = pending_;
  std::string buffer;
  in.clear();
  in.seekg(static_cast<std::streamoff>(offset_));
  for (std::size_t left = size - offset_; left > 0 && in;) {
    const std::size_t kept = buffer.size(), chunk = std::min(left, kChunkBytes);
    buffer.resize(kept + chunk);
    in.read(buffer.data() + kept, static_cast<std::streamsize>(chunk));
    const auto got = static_cast<std::size_t>(in.gcount());
    buffer.resize(kept + got);
    left -= got;
    if (offset_ == 0 && firstLine_.empty()) {
      const auto lf = buffer.find('\n');
      if (lf != std::string::npos) firstLine_ = buffer.substr(0, lf + 1);
    }
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
