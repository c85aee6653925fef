#include "adapters/StopSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iterator>

namespace zrv::adapters {

namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};
int g_signalWriteEnd = -1;

void OnStopSignal(int signal) {
  const int savedErrno = errno;
  const char byte = static_cast<char>(signal);
  // Non-blocking: with the pair full a close is pending anyway.
  [[maybe_unused]] const ssize_t written = write(g_signalWriteEnd, &byte, 1);
  errno = savedErrno;
}

}  // namespace

StopSignals::StopSignals(std::function<void()> stop) : stop_(std::move(stop)) {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, sockets_) != 0) return;
  g_signalWriteEnd = sockets_[1];
  notifier_ = new QSocketNotifier(sockets_[0], QSocketNotifier::Read);
  QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [this] {
    char drained[16];
    while (read(sockets_[0], drained, sizeof drained) > 0) {
    }
    // From the event loop, so never in the middle of a handler.
    stop_();
  });
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
    sigaction(kStopSignals[i], nullptr, &previous_[i]);
    // An ignored signal stays ignored: nohup, or SIGINT in a background job.
    if (previous_[i].sa_handler != SIG_IGN) sigaction(kStopSignals[i], &action, nullptr);
  }
}

StopSignals::~StopSignals() {
  for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
    sigaction(kStopSignals[i], &previous_[i], nullptr);
  g_signalWriteEnd = -1;
  delete notifier_;
  for (const int socket : sockets_)
    if (socket >= 0) close(socket);
}

}  // namespace zrv::adapters
