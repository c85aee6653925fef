// The byte stream cut into replies: segments in, replies out, exact bytes.
#include "link/ReplyFramer.h"

#include <gtest/gtest.h>

namespace zrv::test {
namespace {

using Texts = std::vector<std::string>;

struct Case {
  const char* name;
  Texts segments;  // "~" stands for the line going quiet
  Texts replies;
};

class ReplyFraming : public testing::TestWithParam<Case> {};

TEST_P(ReplyFraming, SegmentsBecomeReplies) {
  ReplyFramer framer;
  Texts replies;
  for (const std::string& segment : GetParam().segments) {
    if (segment == "~") {
      framer.FlushPartial();
    } else {
      framer.Feed(segment);
    }
    while (framer.HasReply()) replies.push_back(framer.TakeReply());
  }
  EXPECT_EQ(replies, GetParam().replies);
  EXPECT_EQ(framer.TakeReply(), "");
}

const std::string kLong(ReplyFramer::kMaxReplyBytes, 'x');

INSTANTIATE_TEST_SUITE_P(
    Stream, ReplyFraming,
    testing::Values(
        Case{"whole", {"99.5%\r\n"}, {"99.5%\r\n"}},
        Case{"split", {"99.", "5%\r", "\n"}, {"99.5%\r\n"}},
        Case{"joined", {"99.5%\r\n25.3DEG\r\n"}, {"99.5%\r\n", "25.3DEG\r\n"}},
        Case{"joinedAndSplit", {"99.5%\r\n25.", "3DEG\r\n"}, {"99.5%\r\n", "25.3DEG\r\n"}},
        Case{"bareLfIsNoLineEnd", {"a\nb\r\n"}, {"a\nb\r\n"}},
        Case{"noLineEndWaitsForQuiet", {"#?", "garbage", "~"}, {"#?garbage"}},
        Case{"quietWithNothingOpen", {"OK\r\n", "~"}, {"OK\r\n"}},
        Case{"highBytesKept", {"\xB0\xFF\r\n"}, {"\xB0\xFF\r\n"}},
        Case{"overlongCutRestDropped", {kLong + "yyy", "zz\r\nOK\r\n"}, {kLong, "OK\r\n"}},
        Case{"overlongEndedByQuiet", {kLong + "yyy", "~", "OK\r\n"}, {kLong, "OK\r\n"}},
        Case{"exactlyTheMaximum", {kLong.substr(2) + "\r\n"}, {kLong.substr(2) + "\r\n"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReplyFraming, AFloodOfLinesKeepsOnlyWhatCanBeServed) {
  ReplyFramer framer;
  std::string flood;
  for (std::size_t i = 0; i < 10 * ReplyFramer::kMaxQueuedReplies; ++i) flood += "OK\r\n";
  framer.Feed(flood);
  std::size_t replies = 0;
  while (framer.HasReply()) replies += framer.TakeReply() == "OK\r\n";
  EXPECT_EQ(replies, ReplyFramer::kMaxQueuedReplies);
}

}  // namespace
}  // namespace zrv::test
