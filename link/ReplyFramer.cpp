#include "link/ReplyFramer.h"

namespace zrv {

void ReplyFramer::Feed(std::string_view bytes) {
  for (const char c : bytes) {
    if (dropping_) {
      // Only the line end matters; a CR before it was dropped with the rest.
      if (c == '\n') dropping_ = false;
      continue;
    }
    partial_ += c;
    if (c == '\n' && partial_.size() >= 2 && partial_[partial_.size() - 2] == '\r') {
      Complete();
    } else if (partial_.size() == kMaxReplyBytes) {
      Complete();
      dropping_ = true;
    }
  }
}

void ReplyFramer::FlushPartial() {
  if (!partial_.empty()) Complete();
  dropping_ = false;
}

void ReplyFramer::Complete() {
  if (replies_.size() < kMaxQueuedReplies) replies_.push_back(std::move(partial_));
  partial_.clear();
}

std::string ReplyFramer::TakeReply() {
  if (replies_.empty()) return {};
  std::string reply = std::move(replies_.front());
  replies_.pop_front();
  return reply;
}

}  // namespace zrv
