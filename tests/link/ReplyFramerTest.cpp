// The byte stream cut into replies: segments in, replies out, exact bytes.
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
      {{"a\nb\r\n"}, {"a\nb\r\n"}},              // a bare LF ends nothing
      {{"\r\n", "OK\r\n"}, {"\r\n", "OK\r\n"}},  // an empty line is a reply of its own
      {{"#?", "garbage", "~", "~"}, {"#?garbage"}},
      {{"OK\r\n", "~"}, {"OK\r\n"}},
      {{"\xB0\xFF\r\n"}, {"\xB0\xFF\r\n"}},
      {{x + "yyy", "zz\r\nOK\r\n"}, {x, "OK\r\n"}},  // overlong: cut, its rest dropped
      {{x + "yyy", "~", "OK\r\n"}, {x, "OK\r\n"}},
      {{x.substr(2) + "\r\n"}, {x.substr(2) + "\r\n"}},
      {Texts(640, "OK\r\n"), Texts(ReplyFramer::kMaxQueuedReplies, "OK\r\n")},  // a flood
  };
  for (const auto& [segments, replies] : rows) {
    ReplyFramer framer;
    Texts got;
    for (const std::string& segment : segments)
      segment == "~" ? framer.FlushPartial() : framer.Feed(segment);
    while (framer.HasReply()) got.push_back(framer.TakeReply());
    EXPECT_EQ(got, replies) << segments[0];
    EXPECT_EQ(framer.TakeReply(), "");
  }
}

}  // namespace zrv::test
