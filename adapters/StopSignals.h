// Ends a program on SIGTERM, SIGINT and SIGHUP the way its own end does: a
// session logout, a service stop or Ctrl+C in the terminal closes the window
// or ends the logger's run, and the program exits with status 0. A signal
// ignored at start (nohup, a background job's SIGINT) stays ignored. A signal
// handler may do next to nothing, so it only writes the signal into a socket
// pair; the event loop reads it there and calls the program's stop.
#pragma once

#include <QSocketNotifier>
#include <csignal>
#include <functional>

namespace zrv::adapters {

class StopSignals {
 public:
  // Catches the three signals from now on and calls `stop` when one comes.
  explicit StopSignals(std::function<void()> stop);
  // Gives the signals back the actions they had before.
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

 private:
  std::function<void()> stop_;
  int sockets_[2] = {-1, -1};  // the handler writes to [1], the notifier reads [0]
  QSocketNotifier* notifier_ = nullptr;
  struct sigaction previous_[3] = {};  // of SIGTERM, SIGINT, SIGHUP
};

}  // namespace zrv::adapters
