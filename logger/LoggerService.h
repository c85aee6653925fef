// The unattended controller: the same logic as the window, driven through
// the same handlers as an operator would (fill the fields, press Check, then
// start), on the event loop with no window. A run that ends is started again
// after a pause (RestartPause.h); a stop signal ends the run at its next
// stopping point and the program with status 0.
#pragma once

#include <QObject>
#include <QTimer>

#include "adapters/ControllerHost.h"
#include "logger/LoggerSettings.h"
#include "logger/RestartPause.h"
#include "logger/StderrMessages.h"
#include "logger/SystemdNotifier.h"

namespace zrv::logger {

class LoggerService : public QObject {
  Q_OBJECT

 public:
  // The longest a stop waits for the run's next stopping point.
  static constexpr int kStopWaitMs = 2500;
  // A check still without a usable firmware version after this is said so.
  static constexpr int kCheckPatienceMs = 10000;

  explicit LoggerService(const LoggerSettings& settings, QObject* parent = nullptr);

  // Starts the first run.
  void Start();
  // Ends the run and then the program (status 0).
  void Stop();

 private:
  enum class Phase { kStarting, kChecking, kRunning, kAway, kStopping, kStopped };

  void BeginCheck();
  void BeginRun();
  void OnHandled();
  void Away(const QString& why);
  void CountDown();
  void Finish();
  QString Address() const;

  LoggerSettings settings_;
  StderrMessages messages_;
  adapters::ControllerHost host_;
  SystemdNotifier notifier_;
  RestartPause pause_;
  Phase phase_ = Phase::kStarting;
  std::uint64_t recordsAtStart_ = 0;
  std::uint64_t restarts_ = 0;
  QString why_;          // the last run's end, while away
  int secondsLeft_ = 0;  // of the pause
  QTimer countDown_;
  QTimer patience_;
  QTimer stopWait_;
};

}  // namespace zrv::logger
