// Cuts the byte stream from the instrument into replies. TCP keeps no
// message boundaries: one reply may come in two segments and two replies in
// one. Every reply the instrument sends ends in CR LF, so a reply is the
// bytes up to and including CR LF. Bytes that never see a CR LF (garbage, a
// reply cut short) are handed on as they stand once the line has gone quiet;
// the socket adapter decides when that is. A line longer than any reply the
// instrument sends is cut to kMaxReplyBytes and the rest of it is dropped,
// so memory stays flat whatever arrives; so does a flood of short lines,
// past kMaxQueuedReplies waiting replies, which no instrument sends unasked.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace zrv {

class ReplyFramer {
 public:
  // The longest reply the instrument sends is under 20 bytes.
  static constexpr std::size_t kMaxReplyBytes = 256;
  static constexpr std::size_t kMaxQueuedReplies = 64;

  void Feed(std::string_view bytes);
  // The line has gone quiet: what it holds becomes a reply as it stands, and
  // an over-long line being dropped has ended.
  void FlushPartial();

  bool HasReply() const { return !replies_.empty(); }
  std::size_t NextReplySize() const { return replies_.empty() ? 0 : replies_.front().size(); }
  // Bytes of a line without its CR LF yet, kept or being dropped.
  bool LineOpen() const { return !partial_.empty() || dropping_; }
  // The oldest complete reply; empty when there is none.
  std::string TakeReply();

 private:
  void Complete();

  std::deque<std::string> replies_;
  std::string partial_;
  // The reply of an over-long line has been handed on; the rest of the line
  // up to its CR LF is dropped.
  bool dropping_ = false;
};

}  // namespace zrv
