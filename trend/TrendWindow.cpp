#include "trend/TrendWindow.h"

#include <QDateTime>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "trend/ChartExport.h"
#include "trend/TrendStyle.h"

namespace zrv::trend {
namespace {

QString Stamp(UtcSeconds t) {
  return QString::fromStdString(FormatStamp(ToCivil(t)));
}

QString Duration(UtcSeconds seconds) {
  return QString("%1:%2:%3")
      .arg(seconds / kHour)
      .arg(seconds % kHour / kMinute, 2, 10, QChar('0'))
      .arg(seconds % kMinute, 2, 10, QChar('0'));
}

QString Count(std::size_t n, const char* what) {
  return QString("%1 %2%3").arg(n).arg(what).arg(n == 1 ? "" : "s");
}

QLabel* Big(QWidget* parent) {
  auto* label = new QLabel(parent);
  QFont font = label->font();
  font.setPointSizeF(font.pointSizeF() * kReadoutScale);
  font.setBold(true);
  label->setFont(font);
  label->setAlignment(Qt::AlignCenter);
  label->setMargin(kReadoutMargin);
  return label;
}

void Show(QLabel* label, const QString& text, const char* style) {
  if (label->text() != text) label->setText(text);
  if (label->styleSheet() != style) label->setStyleSheet(style);
}

}  // namespace

QString ShownPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

TrendWindow::TrendWindow(double alarmLevel, bool notify)
    : chart_(new TrendChart),
      view_(new TrendChartView(chart_, this)),
      level_(new QDoubleSpinBox),
      summary_(new QLabel),
      purity_(Big(this)),
      temperature_(Big(this)),
      age_(Big(this)),
      state_(Big(this)),
      progress_(new QProgressBar),
      notify_(notify) {
  setWindowTitle("ZRV-02 trend");
  resize(1100, 720);
  auto* central = new QWidget;
  auto* readout = new QHBoxLayout;
  for (QLabel* label : {purity_, temperature_, age_, state_}) readout->addWidget(label, 1);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->addLayout(readout);
  column->addWidget(view_, 1);
  setCentralWidget(central);

  QMenu* file = menuBar()->addMenu("&File");
  file->addAction("&Open log...", QKeySequence::Open, this, &TrendWindow::ChooseLog);
  file->addAction("Export &PNG of the view...", this, &TrendWindow::ExportPngTo);
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
    UpdateReadout();
  });

  progress_->setMaximumWidth(200);
  progress_->setFormat("Reading %p %");
  progress_->hide();
  statusBar()->addWidget(progress_);
  statusBar()->addPermanentWidget(summary_);
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &TrendWindow::Poll);
}

QString TrendWindow::LogFolder() {
  const QString menuFolder = QDir::home().filePath("ZRV-02");
  if (qgetenv("ZRV02_MENU_START") == "1" && QFileInfo(menuFolder).isDir()) return menuFolder;
  return QDir::currentPath();
}

QStringList TrendWindow::Readout() const {
  return {purity_->text(), temperature_->text(), age_->text(), state_->text()};
}

void TrendWindow::Open(const std::string& path) {
  follower_ = std::make_unique<LogFollower>(path);
  watch_ = AlarmWatch{};
  last_ = LogFollower::Change::kNone;
  chart_->setTitle(QFileInfo(ShownPath(path)).fileName());
  setWindowTitle(QString("ZRV-02 trend - %1").arg(ShownPath(path)));
  chart_->SetContent(&follower_->Content());
  statusBar()->clearMessage();
  Poll();
  poll_.start();
}

void TrendWindow::Poll() {
  const LogFollower::Change change = follower_->Poll(kSliceBytes);
  const QString name = QFileInfo(ShownPath(follower_->Path())).fileName();
  const bool changedKind = change != last_;
  const bool wasAbsent =
      last_ == LogFollower::Change::kMissing || last_ == LogFollower::Change::kUnreadable;
  last_ = change;
  if (change == LogFollower::Change::kMissing || change == LogFollower::Change::kUnreadable) {
    if (!changedKind) return UpdateReadout();  // still so: nothing to redraw
    const QString why =
        change == LogFollower::Change::kMissing
            ? QString("No such file: %1 (waiting for it)").arg(name)
            : QString("Cannot read %1: %2").arg(name, QString::fromStdString(follower_->Problem()));
    statusBar()->showMessage(why);
    chart_->SetEmptyText(why);
    chart_->SetContent(nullptr);
    UpdateSummary();
    UpdateReadout();
    return;
  }
  const QString none = QString("No records in %1 yet").arg(name);
  if (progress_->isHidden()) chart_->SetEmptyText(none);
  if (change == LogFollower::Change::kNone) {
    if (changedKind) statusBar()->clearMessage();
    return UpdateReadout();
  }
  // A slice of a long log: read on at once, draw when it is all in.
  if (follower_->UnreadBytes() > 0) {
    if (progress_->isHidden()) {
      chart_->SetContent(nullptr);  // half a log would draw a wrong picture
      chart_->SetEmptyText(QString("Reading %1 ...").arg(name));
    }
    progress_->setValue(int(100.0 * double(follower_->FileBytes() - follower_->UnreadBytes()) /
                            double(follower_->FileBytes())));
    progress_->show();
    QTimer::singleShot(0, this, &TrendWindow::Poll);
    return;
  }
  if (!progress_->isHidden()) chart_->SetContent(&follower_->Content());
  progress_->hide();
  chart_->SetEmptyText(none);
  if (change == LogFollower::Change::kNewRun) {
    watch_.NewRun();
    chart_->SetContent(&follower_->Content());
    statusBar()->showMessage(QString("A new run began (the log was emptied at %1)")
                                 .arg(QTime::currentTime().toString("hh:mm:ss")));
  } else {
    if (wasAbsent) chart_->SetContent(&follower_->Content());
    if (changedKind) statusBar()->clearMessage();
  }
  chart_->Refresh();
  Notify(watch_.Update(follower_->Content(), chart_->AlarmLevel()));
  UpdateSummary();
  UpdateReadout();
}

void TrendWindow::Notify(const AlarmWatch::Events& events) {
  if (!notify_) return;
  const QString level = QString::number(chart_->AlarmLevel());
  const LogContent& content = follower_->Content();
  const QString latest = content.records.empty()
                             ? QString()
                             : QString("%1: purity %2 %")
                                   .arg(Stamp(content.records.back().Time()),
                                        QString::fromStdString(content.lastPurity));
  bool sent = true;
  for (int i = 0; i < events.fell; ++i)
    sent &= notifier_.Notify("ZRV-02: purity below " + level + " %", latest);
  for (int i = 0; i < events.recovered; ++i)
    sent &= notifier_.Notify("ZRV-02: purity back at " + level + " % or more", latest);
  for (int i = 0; i < events.emailAlarms; ++i)
    sent &= notifier_.Notify("ZRV-02: E-MAIL ALARM", "The instrument sent its e-mail alarm at " +
                                                         Stamp(content.notices.back()));
  if (!sent) statusBar()->showMessage("No desktop notification service: alarms show here only");
}

void TrendWindow::UpdateSummary() {
  const LogContent& c = follower_->Content();
  QString text = Count(c.records.size(), "record") + ", " + Count(c.notices.size(), "e-mail alarm");
  if (!c.records.empty())
    text +=
        QString(", %1 to %2").arg(Stamp(c.records.front().Time()), Stamp(c.records.back().Time()));
  text += ", " + Count(c.unreadable, "unreadable line");
  if (c.missingValues) text += ", " + Count(c.missingValues, "value") + " missing";
  if (c.outOfRange)
    text +=
        ", " + Count(c.outOfRange, "value") + " unreadable (beyond what the instrument reports)";
  if (follower_->PendingBytes()) text += ", last line still incomplete";
  const BelowLevel& below = chart_->Below();
  text += QString("; below %1 %: %2, %3 in all")
              .arg(chart_->AlarmLevel())
              .arg(Count(below.Stretches().size(), "time"))
              .arg(Duration(below.Total()));
  summary_->setText(text);
}

void TrendWindow::UpdateReadout() {
  const Glance g =
      AtAGlance(follower_->Content(), chart_->AlarmLevel(), QDateTime::currentSecsSinceEpoch());
  if (!g.any) {
    for (QLabel* label : {purity_, temperature_, age_, state_}) Show(label, "", kQuietStyle);
    Show(purity_, "No records", kQuietStyle);
    return;
  }
  const QString level = QString::number(chart_->AlarmLevel());
  Show(purity_, QString::fromStdString(g.purity) + " %", kNormalStyle);
  Show(temperature_, QString::fromStdString(g.temperature) + " DEG", kNormalStyle);
  const QString age = QString::fromStdString(g.age);
  if (g.ahead)
    Show(age_, "Last stamped " + age + " ahead", kOverdueStyle);
  else
    Show(age_, (g.overdue ? "Overdue: last " : "Last ") + age + " ago",
         g.overdue ? kOverdueStyle : kNormalStyle);
  switch (g.level) {
    case Glance::Level::kBelow:
      Show(state_, "BELOW " + level + " %", kBelowStyle);
      break;
    case Glance::Level::kAtOrAbove:
      Show(state_, "At or above " + level + " %", kGoodStyle);
      break;
    case Glance::Level::kUnknown:
      Show(state_, "No purity value", kQuietStyle);
      break;
  }
}

void TrendWindow::ChooseLog() {
  // The dialog takes the folder as text, so one whose name is not UTF-8 is
  // out of its reach.
  const QString folder = follower_ ? QFileInfo(ShownPath(follower_->Path())).path() : LogFolder();
  const QString path = QFileDialog::getOpenFileName(this, "Open measurement log", folder,
                                                    "Logs (*.log);;All files (*)");
  if (!path.isEmpty()) Open(QFile::encodeName(path).toStdString());
}

bool TrendWindow::ExportShownPng(const QString& file) const {
  const std::optional<TimeRange> shown =
      chart_->Zoomed() ? std::optional(chart_->VisibleRange()) : std::nullopt;
  return ExportPng(follower_->Content(), chart_->AlarmLevel(), chart_->title(), file, shown);
}

void TrendWindow::ExportPngTo() {
  const QString file = QFileDialog::getSaveFileName(this, "Export PNG", QString(), "PNG (*.png)");
  if (!file.isEmpty() && !ExportShownPng(file))
    QMessageBox::warning(this, "Export PNG", "Could not write " + file);
}

void TrendWindow::ExportCsvTo() {
  const QString file = QFileDialog::getSaveFileName(this, "Export CSV", QString(), "CSV (*.csv)");
  if (!file.isEmpty() && !ExportCsv(follower_->Path(), file))
    QMessageBox::warning(this, "Export CSV", "Could not write " + file);
}

}  // namespace zrv::trend
