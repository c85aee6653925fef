#include "trend/TrendWindow.h"

#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>

#include "trend/ChartExport.h"

namespace zrv::trend {
namespace {

QString Stamp(CivilSeconds t) {
  return QString::fromStdString(FormatStamp(t));
}

QString Duration(CivilSeconds seconds) {
  return QString("%1:%2:%3")
      .arg(seconds / 3600)
      .arg(seconds / 60 % 60, 2, 10, QChar('0'))
      .arg(seconds % 60, 2, 10, QChar('0'));
}

QString Count(std::size_t n, const char* what) {
  return QString("%1 %2%3").arg(n).arg(what).arg(n == 1 ? "" : "s");
}

}  // namespace

TrendWindow::TrendWindow(double alarmLevel, bool notify)
    : chart_(new TrendChart),
      view_(new TrendChartView(chart_, this)),
      level_(new QDoubleSpinBox),
      summary_(new QLabel),
      notify_(notify) {
  setWindowTitle("ZRV-02 trend");
  resize(1100, 650);
  setCentralWidget(view_);

  QMenu* file = menuBar()->addMenu("&File");
  file->addAction("&Open log...", QKeySequence::Open, this, &TrendWindow::ChooseLog);
  file->addAction("Export &PNG...", this, &TrendWindow::ExportPngTo);
  file->addAction("Export &CSV...", this, &TrendWindow::ExportCsvTo);
  file->addSeparator();
  file->addAction("&Quit", QKeySequence::Quit, this, &QWidget::close);

  QToolBar* tools = addToolBar("Alarm level");
  tools->setMovable(false);
  tools->addWidget(new QLabel(" Alarm level (%) "));
  level_->setRange(0, 1000);
  level_->setDecimals(1);
  level_->setValue(alarmLevel);
  tools->addWidget(level_);
  tools->addWidget(
      new QLabel("   Wheel: zoom · Shift+wheel, arrows: pan · drag: zoom to · "
                 "double click: whole log"));
  chart_->SetAlarmLevel(alarmLevel);
  connect(level_, &QDoubleSpinBox::valueChanged, this, [this](double level) {
    chart_->SetAlarmLevel(level);
    UpdateSummary();
  });

  statusBar()->addPermanentWidget(summary_);
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &TrendWindow::Poll);
}

void TrendWindow::Open(const QString& path) {
  follower_ = std::make_unique<LogFollower>(path.toStdString());
  watch_ = AlarmWatch{};
  missing_ = false;
  chart_->setTitle(QFileInfo(path).fileName());
  setWindowTitle(QString("ZRV-02 trend - %1").arg(path));
  chart_->SetContent(&follower_->content());
  statusBar()->clearMessage();
  Poll();
  poll_.start();
}

void TrendWindow::Poll() {
  const LogFollower::Change change = follower_->Poll();
  if (change == LogFollower::Change::kMissing) {
    if (missing_) return;  // still missing: nothing to redraw
    statusBar()->showMessage(QString("Waiting for %1: no such file yet")
                                 .arg(QFileInfo(follower_->path().c_str()).fileName()));
    missing_ = true;
    UpdateSummary();
    return;
  }
  if (missing_) statusBar()->clearMessage();
  missing_ = false;
  if (change == LogFollower::Change::kNone) return;
  if (change == LogFollower::Change::kNewRun) {
    watch_.NewRun();
    chart_->ResetZoom();
    statusBar()->showMessage(QString("A new run began (the log was emptied at %1)")
                                 .arg(QTime::currentTime().toString("hh:mm:ss")));
  }
  chart_->Refresh();
  Notify(watch_.Update(follower_->content(), chart_->alarmLevel()));
  UpdateSummary();
}

void TrendWindow::Notify(const AlarmWatch::Events& events) {
  if (!notify_) return;
  const QString level = QString::number(chart_->alarmLevel());
  const auto& records = follower_->content().records;
  const QString latest =
      records.empty()
          ? QString()
          : QString("%1: purity %2 %").arg(Stamp(records.back().time)).arg(records.back().purity);
  bool sent = true;
  for (int i = 0; i < events.fell; ++i)
    sent &= notifier_.Notify("ZRV-02: purity below " + level + " %", latest);
  for (int i = 0; i < events.recovered; ++i)
    sent &= notifier_.Notify("ZRV-02: purity back at " + level + " % or more", latest);
  for (int i = 0; i < events.emailAlarms; ++i)
    sent &=
        notifier_.Notify("ZRV-02: E-MAIL ALARM", "The instrument sent its e-mail alarm at " +
                                                     Stamp(follower_->content().notices.back()));
  if (!sent) statusBar()->showMessage("No desktop notification service: alarms show here only");
}

void TrendWindow::UpdateSummary() {
  const LogContent& c = follower_->content();
  QString text = Count(c.records.size(), "record") + ", " + Count(c.notices.size(), "e-mail alarm");
  if (!c.records.empty())
    text += QString(", %1 to %2").arg(Stamp(c.records.front().time), Stamp(c.records.back().time));
  text += ", " + Count(c.unreadable, "unreadable line");
  if (c.missingValues) text += ", " + Count(c.missingValues, "value") + " missing";
  if (follower_->pendingBytes()) text += ", last line still incomplete";
  CivilSeconds below = 0;
  for (const TimeRange& s : chart_->stretches()) below += s.to - s.from;
  text += QString("; below %1 %: %2, %3 in all")
              .arg(chart_->alarmLevel())
              .arg(Count(chart_->stretches().size(), "time"))
              .arg(Duration(below));
  summary_->setText(text);
}

void TrendWindow::ChooseLog() {
  const QString path = QFileDialog::getOpenFileName(this, "Open measurement log", QString(),
                                                    "Logs (*.log);;All files (*)");
  if (!path.isEmpty()) Open(path);
}

void TrendWindow::ExportPngTo() {
  const QString file = QFileDialog::getSaveFileName(this, "Export PNG", QString(), "PNG (*.png)");
  if (!file.isEmpty() &&
      !ExportPng(follower_->content(), chart_->alarmLevel(), chart_->title(), file))
    QMessageBox::warning(this, "Export PNG", "Could not write " + file);
}

void TrendWindow::ExportCsvTo() {
  const QString file = QFileDialog::getSaveFileName(this, "Export CSV", QString(), "CSV (*.csv)");
  if (!file.isEmpty() && !ExportCsv(follower_->content(), file))
    QMessageBox::warning(this, "Export CSV", "Could not write " + file);
}

}  // namespace zrv::trend
