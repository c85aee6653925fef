// The replies the instrument still owes, oldest first. The instrument answers
// every command line with one line and in order, so the reply that arrives
// next answers the oldest command still unanswered; a line that arrives when
// nothing is owed was not asked for. A reply owed on a connection that has
// been closed or replaced can never arrive, so the queue is forgotten with it.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>

namespace zrv {

enum class Awaited : std::int16_t {
  kVersion,
  kThreshold,
  kHysteresis,
  kEmailState,
  kPurity,
  kTemperature,
  kSingle,   // the reply to the operator's own command
  kSetting,  // the acknowledgement of an e-mail switch or a parameter set
};

class AwaitedReplies {
 public:
  // Far more than one transmission ever owes; past it, answers are taken as unasked lines.
  static constexpr std::size_t kMaxRuns = 64;

  void Push(Awaited kind, std::int32_t count);
  bool Empty() const { return runs_.empty(); }
  // The kind of the oldest owed reply, taken off the queue; none when nothing is owed.
  std::optional<Awaited> Take();
  std::optional<Awaited> Oldest() const;
  void Forget() { runs_.clear(); }

 private:
  // Repeats of one command are one run: the version query goes out at every
  // tick until it is answered, however long that takes.
  struct Run {
    Awaited kind;
    std::int32_t count;
  };
  std::deque<Run> runs_;
};

}  // namespace zrv
