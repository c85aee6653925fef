#include "logger/LoggerService.h"

#include <QCoreApplication>

#include "adapters/MetricsEndpoint.h"
#include "adapters/ModbusEndpoint.h"

namespace zrv::logger {
namespace {

constexpr char kProgram[] = "zrv02-logger";

}  // namespace

LoggerService::LoggerService(const LoggerSettings& settings, QObject* parent)
    : QObject(parent), settings_(settings), host_(messages_) {
  host_.Core().ContinueLogAcrossStarts();
  connect(&host_, &adapters::ControllerHost::handled, this, &LoggerService::OnHandled);
  countDown_.setInterval(1000);
  connect(&countDown_, &QTimer::timeout, this, &LoggerService::CountDown);
  patience_.setSingleShot(true);
  patience_.setInterval(kCheckPatienceMs);
  connect(&patience_, &QTimer::timeout, this,
          [this] { Say("no usable firmware version from " + Address() + " yet; still asking"); });
  stopWait_.setSingleShot(true);
  stopWait_.setInterval(kStopWaitMs);
  connect(&stopWait_, &QTimer::timeout, this, &LoggerService::Finish);
}

void LoggerService::Start() {
  // An address that cannot be taken now is said and the logger records without.
  if (settings_.metrics) adapters::ServeMetrics(kProgram, *settings_.metrics, host_.Copy(), this);
  if (settings_.modbus) adapters::ServeModbus(kProgram, *settings_.modbus, host_, this);
  host_.CountRunsStartedAgain(0);
  host_.RunHandler([this] {
    SvZRV_02& core = host_.Core();
    core.Form_Load();
    ViewModel& fields = core.View();
    fields.HostIPEdit.text = settings_.host.toStdString();
    fields.HostPTEdit.text = settings_.port.toStdString();
    fields.Txt_Interval.text = settings_.interval.toStdString();
    fields.Txt_Alarm_level.text = settings_.alarmLevel.toStdString();
    fields.Dir1.text = settings_.logFolder.toStdString();
    fields.Txt_Save_File.text = settings_.logName.toStdString();
  });
  notifier_.Ready();
  BeginCheck();
}

void LoggerService::BeginCheck() {
  phase_ = Phase::kChecking;
  Say("checking the firmware of " + Address());
  patience_.start();
  host_.RunHandler([this] { host_.Core().Version_Check_Click(); });
}

void LoggerService::BeginRun() {
  phase_ = Phase::kRunning;
  patience_.stop();
  recordsAtStart_ = host_.Copy().seen.records;
  const QString log = settings_.logFolder + "/" + settings_.logName;
  Say(QStringLiteral("recording %1 every %2 s into %3").arg(Address(), settings_.interval, log));
  host_.RunHandler([this] {
    host_.Core().View().Continue_mode.value = true;
    host_.Core().start_Click();
  });
}

void LoggerService::OnHandled() {
  const SvGlobal01B& g = host_.Core().State();
  const bool idle = !host_.Timer1().Enabled();
  const monitoring::StateCopy& copy = host_.Copy();
  switch (phase_) {
    case Phase::kChecking:
      if (g.VersionPending == 0 && g.ReadoutStep == kReadoutIdle && idle) {
        BeginRun();
      } else if (idle) {
        Away(messages_.LastText());
      } else {
        notifier_.Status("checking the firmware of " + Address());
      }
      return;
    case Phase::kRunning:
      if (g.ContinuousRun != kTrue && idle) {
        Away(messages_.LastText());
      } else if (copy.seen.records > recordsAtStart_) {
        const auto value = [](const std::optional<double>& v) {
          return v ? QString::number(*v) : QStringLiteral("-");
        };
        notifier_.Status(QStringLiteral("recording: last record %1 %2 % %3 DEG")
                             .arg(QString::fromStdString(copy.seen.recordTime),
                                  value(copy.seen.purity), value(copy.seen.temperature)));
      } else {
        notifier_.Status("recording: waiting for the first record from " + Address());
      }
      return;
    case Phase::kStopping:
      if (idle) Finish();
      return;
    case Phase::kStarting:
    case Phase::kAway:
    case Phase::kStopped:
      return;
  }
}

void LoggerService::Away(const QString& why) {
  phase_ = Phase::kAway;
  patience_.stop();
  why_ = why.isEmpty() ? QStringLiteral("the run ended") : why;
  secondsLeft_ = pause_.After(host_.Copy().seen.records > recordsAtStart_);
  Say(QStringLiteral("instrument away (%1); starting again in %2 s").arg(why_).arg(secondsLeft_));
  countDown_.start();
  CountDown();
}

void LoggerService::CountDown() {
  if (secondsLeft_ > 0) {
    notifier_.Status(
        QStringLiteral("instrument away: %1; next try in %2 s").arg(why_).arg(secondsLeft_--));
    return;
  }
  countDown_.stop();
  host_.CountRunsStartedAgain(++restarts_);
  Say("starting again");
  // A firmware once accepted stays accepted; Check is only pressed before.
  if (host_.Core().State().VersionPending == 1) {
    BeginCheck();
  } else {
    BeginRun();
  }
}

void LoggerService::Stop() {
  if (phase_ == Phase::kStopping || phase_ == Phase::kStopped) return;
  const bool running = phase_ == Phase::kRunning;
  phase_ = Phase::kStopping;
  countDown_.stop();
  patience_.stop();
  Say("stopping");
  notifier_.Stopping();
  if (!running || !host_.Timer1().Enabled()) return Finish();
  stopWait_.start();
  host_.RunHandler([this] { host_.Core().stop_Click(); });
}

void LoggerService::Finish() {
  phase_ = Phase::kStopped;
  stopWait_.stop();
  host_.RunHandler([this] { host_.Core().Form_QueryUnload(); });
  host_.Detach();
  Say("stopped");
  QCoreApplication::exit(0);
}

QString LoggerService::Address() const {
  return settings_.host + ":" + settings_.port;
}

}  // namespace zrv::logger
