// The byte stream cut into lines: segments in, replies out, exact bytes.
#include "link/ReplyFramer.h"

#include <gtest/gtest.h>

#include "tests/support/FakePorts.h"

namespace zrv::test {

TEST(ReplyFraming, SegmentsBecomeRepliesAndAFloodKeepsOnlyWhatCanBeServed) {
  const std::string x(ReplyFramer::kMaxReplyBytes, 'x');
  const std::pair<Texts, Texts> rows[] = {
      // "~" in segments: the line goes quiet
      {{"99.", "5%\r", "\n"}, {"99.5%\r\n"}},
      {{"99.5%\r\n25.", "3DEG\r\n"}, {"99.5%\r\n", "25.3DEG\r\n"}},
      // CR, LF and CR LF each end a line, also when the LF comes later
      {{"a\nb\rc\r", "\nd\n"}, {"a\r\n", "b\r\n", "c\r\n", "d\r\n"}},
      {{"\r\n", "\r\rOK\r\n"}, {"\r\n", "\r\n", "\r\n", "OK\r\n"}},  // empty lines
      {{"#?", "garbage", "~", "~"}, {"#?garbage"}},
      // a line gone quiet is handed on cut; the rest of it is dropped when it comes
      {{"25.3", "~", "DEG\r", "\n99.5%\r\n"}, {"25.3", "99.5%\r\n"}},
      {{"OK\r\n", "~"}, {"OK\r\n"}},
      {{"\xB0\xFF\r\n"}, {"\xB0\xFF\r\n"}},
      {{x + "yyy", "zz\r\nOK\r\n"}, {x, "OK\r\n"}},  // overlong: cut, its rest dropped
      {{x + "yyy", "~", "OK\r\n", "OK\r\n"}, {x, "OK\r\n"}},
      {{x.substr(2) + "\r\n"}, {x.substr(2) + "\r\n"}},
      {Texts(640, "OK\r\n"), Texts(ReplyFramer::kMaxQueuedReplies, "OK\r\n")},  // a flood
      // "|": the connection ends; the next one starts afresh
      {{"25.3", "|", "99.5%\r\n"}, {"25.3", "99.5%\r\n"}},
      {{"OK\r", "|", "\nOK\r\n"}, {"OK\r\n", "\r\n", "OK\r\n"}},
  };
  for (const auto& [segments, replies] : rows) {
    ReplyFramer framer;
    Texts got;
    for (const std::string& segment : segments)
      segment == "~"   ? framer.FlushPartial()
      : segment == "|" ? framer.EndStream()
                       : framer.Feed(segment);
    while (framer.HasReply()) got.push_back(framer.TakeReply());
    EXPECT_EQ(got, replies) << segments[0];
    EXPECT_EQ(framer.TakeReply(), "");
  }
}

}  // namespace zrv::test
