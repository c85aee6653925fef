// Cuts the byte stream from the instrument into replies. TCP keeps no
// message boundaries: one reply may come in two segments and two replies in
// one. A reply is one line. Instruments and serial bridges end lines with
// CR LF, CR alone or LF alone; an LF right after a CR, even one that comes in
// a later segment, belongs to the CR's line. Every line is handed on ending
// in CR LF, the form the reply shapes are written in.
//
// A reply handed on without CR LF is a cut one, never a whole line: bytes
// whose line has gone quiet (the socket adapter decides when), or the first
// kMaxReplyBytes of a line longer than any reply. The rest of a cut line is
// dropped when it comes, so it can never pass for the next reply. Memory
// stays flat whatever arrives; a flood of short lines, past
// kMaxQueuedReplies waiting replies, which no instrument sends unasked, too.
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
  // The line has gone quiet: what it holds so far is handed on as a cut reply.
  void FlushPartial();
  // The connection has ended: as FlushPartial, and the next connection
  // starts afresh, with no line to finish.
  void EndStream();

  bool HasReply() const { return !replies_.empty(); }
  std::size_t NextReplySize() const { return replies_.empty() ? 0 : replies_.front().size(); }
  // Bytes of a line that has not ended yet.
  bool HasPartial() const { return !partial_.empty(); }
  // The oldest reply; empty when there is none.
  std::string TakeReply();

 private:
  void Queue(std::string reply);
  void Cut();

  std::deque<std::string> replies_;
  std::string partial_;
  bool afterCr_ = false;   // the last line ended in CR: an LF now is part of it
  bool dropping_ = false;  // the rest of a cut line, up to its end, is dropped
};

}  // namespace zrv
