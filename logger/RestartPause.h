// How long the logger waits before it starts a run again: 5 s after a run
// that brought records, doubling after each one that brought none, up to
// 60 s, so an instrument that is away for long is asked once a minute and
// one that comes back is recorded again within a minute.
#pragma once

#include <algorithm>

namespace zrv::logger {

class RestartPause {
 public:
  static constexpr int kFirstSeconds = 5;
  static constexpr int kLongestSeconds = 60;

  // The pause after a run that has ended; `recorded` when it brought records.
  int After(bool recorded) {
    seconds_ = recorded || seconds_ == 0 ? kFirstSeconds : std::min(seconds_ * 2, kLongestSeconds);
    return seconds_;
  }

 private:
  int seconds_ = 0;
};

}  // namespace zrv::logger
