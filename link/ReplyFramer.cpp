#include "link/ReplyFramer.h"

#include <utility>

#include "core/Commands.h"

namespace zrv {

void ReplyFramer::Feed(std::string_view bytes) {
  for (const char c : bytes) {
    const bool lf = c == '\n';
    if (std::exchange(afterCr_, false) && lf) continue;
    if (lf || c == '\r') {
      afterCr_ = !lf;
      if (!std::exchange(dropping_, false)) Queue(std::exchange(partial_, {}) + kCrLf);
    } else if (!dropping_) {
      partial_ += c;
      if (partial_.size() == kMaxReplyBytes) Cut();
    }
  }
}

void ReplyFramer::FlushPartial() {
  if (!partial_.empty()) Cut();
}

void ReplyFramer::EndStream() {
  FlushPartial();
  dropping_ = false;
  afterCr_ = false;
}

void ReplyFramer::Cut() {
  Queue(std::exchange(partial_, {}));
  dropping_ = true;
}

void ReplyFramer::Queue(std::string reply) {
  if (replies_.size() < kMaxQueuedReplies) replies_.push_back(std::move(reply));
}

std::string ReplyFramer::TakeReply() {
  if (replies_.empty()) return {};
  std::string reply = std::move(replies_.front());
  replies_.pop_front();
  return reply;
}

}  // namespace zrv
