#include "core/AwaitedReplies.h"

#include <limits>

namespace zrv {

void AwaitedReplies::Push(Awaited kind, std::int32_t count) {
  if (count <= 0) return;
  if (!runs_.empty() && runs_.back().kind == kind) {
    Run& last = runs_.back();
    last.count = count > std::numeric_limits<std::int32_t>::max() - last.count
                     ? std::numeric_limits<std::int32_t>::max()
                     : last.count + count;
  } else if (runs_.size() < kMaxRuns) {
    runs_.push_back({kind, count});
  }
}

std::optional<Awaited> AwaitedReplies::Oldest() const {
  if (runs_.empty()) return std::nullopt;
  return runs_.front().kind;
}

std::optional<Awaited> AwaitedReplies::Take() {
  if (runs_.empty()) return std::nullopt;
  const Awaited kind = runs_.front().kind;
  if (--runs_.front().count == 0) runs_.pop_front();
  return kind;
}

}  // namespace zrv
