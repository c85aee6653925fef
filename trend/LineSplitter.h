// Lines as the controller ends them: CR, LF and CR LF are one line end each.
// Bytes come in pieces (a file read while it grows), so an LF right after a CR
// that ended the previous piece still belongs to that CR. A line longer than
// kMaxLineBytes is handed over once, as soon as that much of it is seen, and
// the rest of it skipped, so it is one line however long it runs.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>

namespace zrv::trend {

// Longest line worth keeping as an unfinished tail: a real record is ~40 bytes.
constexpr std::size_t kMaxLineBytes = 4096;

class LineSplitter {
 public:
  // Hands each line at the start of `bytes` to `take`, without its end, and
  // returns how many bytes it used; an unfinished last line of at most
  // kMaxLineBytes is left for the next call, with more bytes after it.
  template <class Take>
  std::size_t Split(std::string_view bytes, Take&& take);

 private:
  bool afterCr_ = false;     // an LF next ends no line
  bool inLongLine_ = false;  // a line already handed over goes on
};

// The first line of `bytes` with the byte that ends it, or its first
// kMaxLineBytes + 1 bytes if it is longer; empty while it is unfinished.
inline std::string_view FirstLine(std::string_view bytes) {
  const std::size_t end =
      std::min(bytes.substr(0, kMaxLineBytes + 1).find_first_of("\r\n"), kMaxLineBytes);
  return end < bytes.size() ? bytes.substr(0, end + 1) : std::string_view();
}

template <class Take>
std::size_t LineSplitter::Split(std::string_view bytes, Take&& take) {
  std::size_t at = 0;
  if (afterCr_ && !bytes.empty()) at = bytes[0] == '\n', afterCr_ = false;
  // Each of CR and LF is looked for again only once passed: one pass over
  // the bytes even where only one of them ever comes.
  std::size_t cr = bytes.find('\r', at), lf = bytes.find('\n', at);
  for (;;) {
    if (cr < at) cr = bytes.find('\r', at);
    if (lf < at) lf = bytes.find('\n', at);
    const std::size_t end = std::min(cr, lf);
    if (end == std::string_view::npos) break;
    if (!std::exchange(inLongLine_, false)) take(bytes.substr(at, end - at));
    at = end + 1;
    if (end == cr && at == bytes.size())
      afterCr_ = true;
    else if (end == cr && bytes[at] == '\n')
      ++at;
  }
  if (!inLongLine_ && bytes.size() - at > kMaxLineBytes) take(bytes.substr(at)), inLongLine_ = true;
  return inLongLine_ ? bytes.size() : at;
}

}  // namespace zrv::trend
