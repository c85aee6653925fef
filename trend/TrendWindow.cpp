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
#include <QPaintEvent>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <optional>

#include "trend/ChartExport.h"
#include "trend/TrendStyle.h"

namespace zrv::trend {

// Lines of text painted within a size hint fixed when it is made: a text,
// however long, is cut short with "..." rather than widening the window, and
// a new text repaints only the panel, never lays the window out again (a rich
// text label measured itself anew at every record a followed log brought).
class TextPanel : public QWidget {
 public:
  // `chars` wide and `lines` high in the body font; the first line in `first`.
  TextPanel(QWidget* parent, int chars, int lines, const QFont& first, Qt::Alignment align)
      : QWidget(parent), first_(first), align_(align) {
    hint_ = {
        fontMetrics().averageCharWidth() * chars,
        QFontMetrics(first).height() + (lines - 1) * fontMetrics().height() + 2 * kReadoutMargin};
  }
  // In a line, tabs part cells: the first on the left, the others right-aligned
  // in columns of kFigureChars at the right.
  void Show(const QStringList& lines, std::optional<ToneColors> colors = std::nullopt) {
    const bool recolored =
        colors.has_value() != colors_.has_value() ||
        (colors && (colors->text != colors_->text || colors->back != colors_->back));
    // Only the lines that changed are painted again.
    for (int i = 0; i < std::max(lines.size(), lines_.size()); ++i)
      if (!recolored && lines.value(i) != lines_.value(i)) update(LineRect(i));
    if (recolored) update();
    lines_ = lines;
    colors_ = colors;
  }
  const QStringList& Lines() const { return lines_; }
  QSize sizeHint() const override { return hint_; }
  QSize minimumSizeHint() const override { return {0, hint_.height()}; }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    if (colors_) painter.fillRect(event->rect(), QColor(colors_->back));
    painter.setPen(colors_ ? QColor(colors_->text) : palette().color(QPalette::WindowText));
    const int column = fontMetrics().averageCharWidth() * kFigureChars;
    for (int i = 0; i < lines_.size(); ++i) {
      const QRect line = LineRect(i);
      if (!event->rect().intersects(line)) continue;
      const QStringList cells = lines_[i].split('\t');
      QRect cell = line.adjusted(0, 0, -column * int(cells.size() - 1), 0);
      QFont font = i == 0 ? first_ : this->font();
      // A headline too wide is set smaller, down to a share of its size, before it is cut.
      const double smallest = font.pointSizeF() * kSmallestHeadline;
      while (i == 0 && font.pointSizeF() > smallest &&
             QFontMetrics(font).horizontalAdvance(cells[0]) > cell.width())
        font.setPointSizeF(std::max(smallest, font.pointSizeF() * 0.95));
      const QFontMetrics metrics(font);
      painter.setFont(font);
      painter.drawText(cell, align_, metrics.elidedText(cells[0], Qt::ElideRight, cell.width()));
      for (int c = 1; c < cells.size(); ++c) {
        cell = {cell.right() + 1, line.top(), column, line.height()};
        painter.drawText(cell, Qt::AlignRight, cells[c]);
      }
    }
  }

 private:
  QRect LineRect(int i) const {
    const int first = QFontMetrics(first_).height(), body = fontMetrics().height();
    const int top = kReadoutMargin + (i == 0 ? 0 : first + (i - 1) * body);
    return {kReadoutMargin, top, width() - 2 * kReadoutMargin, i == 0 ? first : body};
  }

  QFont first_;
  Qt::Alignment align_;
  QSize hint_;
  QStringList lines_;
  std::optional<ToneColors> colors_;
};

namespace {

QFont BoldFont(QFont font) {
  font.setBold(true);
  return font;
}

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

// The figures as a small table: the stretch, then purity beside temperature.
QStringList FiguresLines(const StretchFigures& f, bool zoomed, double level) {
  const auto number = [](double v) {
    return std::isnan(v) ? QString("-") : QString::number(v, 'f', 2);
  };
  QStringList lines{zoomed ? "Shown stretch" : "Whole log",
                    QString("Records\t%1\t").arg(f.records)};
  if (f.records)
    lines << Stamp(f.first) << "to " + Stamp(f.last) << "\t%\tDEG"
          << QString("Values\t%1\t%2").arg(f.purity.values).arg(f.temperature.values)
          << "Minimum\t" + number(f.purity.min) + "\t" + number(f.temperature.min)
          << "Mean\t" + number(f.purity.mean) + "\t" + number(f.temperature.mean)
          << "Maximum\t" + number(f.purity.max) + "\t" + number(f.temperature.max)
          << "Std. dev.\t" + number(f.purity.sampleSd) + "\t" + number(f.temperature.sampleSd);
  return lines << QString("Below %1 %: %2").arg(level).arg(Count(f.belowStretches, "time"))
               << Duration(f.belowTime) + " in all";
}

}  // namespace

QString ShownPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

TrendWindow::TrendWindow(double alarmLevel, bool notify)
    : chart_(new TrendChart),
      view_(new TrendChartView(chart_, this)),
      level_(new QDoubleSpinBox),
      summary_(new TextPanel(this, kSummaryChars, 1, font(), Qt::AlignLeft)),
      figures_(new TextPanel(this, kFiguresChars, kFiguresLines, BoldFont(font()), Qt::AlignLeft)),
      progress_(new QProgressBar),
      notify_(notify) {
  setWindowTitle("ZRV-02 trend");
  // As large as the chart wants, no larger than the screen.
  resize(QSize(1100, 720).boundedTo(screen()->availableSize()));
  auto* central = new QWidget;
  auto* readout = new QHBoxLayout;
  readout->setSpacing(kReadoutMargin);
  QFont headline = BoldFont(font());
  headline.setPointSizeF(headline.pointSizeF() * kReadoutScale);
  for (TextPanel*& box : boxes_) {
    box = new TextPanel(this, kReadoutChars * kReadoutScale, 2, headline, Qt::AlignHCenter);
    box->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    // The level box says the most ("No record for 10 h 20 min").
    readout->addWidget(box, box == boxes_.back() ? kLevelBoxShare : kValueBoxShare);
  }
  auto* chartAndFigures = new QHBoxLayout;
  chartAndFigures->addWidget(view_, 1);
  chartAndFigures->addWidget(figures_);
  figures_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->addLayout(readout);
  column->addLayout(chartAndFigures, 1);
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
      new QLabel("   Wheel: zoom · Shift+wheel, arrows: pan · drag: zoom to, with its "
                 "figures · double click: whole log"));
  chart_->SetAlarmLevel(alarmLevel);
  connect(level_, &QDoubleSpinBox::valueChanged, this, [this](double level) {
    chart_->SetAlarmLevel(level);
    UpdateSummary();
    UpdateReadout();
    UpdateFigures();
  });
  connect(chart_, &TrendChart::shownRangeChanged, this, &TrendWindow::UpdateFigures);

  progress_->setMaximumWidth(200);
  progress_->setFormat("Reading %p %");
  progress_->hide();
  statusBar()->addWidget(progress_);
  statusBar()->addPermanentWidget(summary_);
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &TrendWindow::Poll);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &TrendWindow::Poll);
  chartDue_.setSingleShot(true);
  connect(&chartDue_, &QTimer::timeout, this, [this] {
    chart_->Refresh();
    chartRefreshed_.start();
    UpdateSummary();
  });
}

QString TrendWindow::LogFolder() {
  const QString menuFolder = QDir::home().filePath("ZRV-02");
  if (qgetenv("ZRV02_MENU_START") == "1" && QFileInfo(menuFolder).isDir()) return menuFolder;
  return QDir::currentPath();
}

QString TrendWindow::Summary() const {
  return summary_->Lines().value(0);
}

QStringList TrendWindow::Figures() const {
  return figures_->Lines();
}

QStringList TrendWindow::Readout() const {
  QStringList headlines;
  for (const TextPanel* box : boxes_) headlines.append(box->Lines().value(0));
  return headlines;
}

void TrendWindow::Open(const std::string& path) {
  follower_ = std::make_unique<LogFollower>(path);
  if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
  drawn_ = nullptr;
  watch_ = AlarmWatch{};
  const QString name = QFileInfo(ShownPath(path)).fileName();
  finished_ = IsKeptRunName(name.toStdString());
  chart_->setTitle(name + (finished_ ? " (finished run)" : ""));
  setWindowTitle(QString("ZRV-02 trend - %1").arg(ShownPath(path)));
  chart_->SetContent(nullptr);
  statusBar()->clearMessage();
  Poll();
  poll_.start();
}

void TrendWindow::Poll() {
  // A second after the last read, whatever woke it: a log that brings a record
  // each second wakes the window once for each, not twice.
  poll_.start();
  const LogFollower::Change change = follower_->Poll(kSliceBytes);
  const QString name = QFileInfo(ShownPath(follower_->Path())).fileName();
  const bool absent =
      change == LogFollower::Change::kMissing || change == LogFollower::Change::kUnreadable;
  const bool loading = !absent && follower_->UnreadBytes() > 0;
  // Half a log would draw a wrong picture; a missing one none.
  const LogContent* drawn = absent || loading ? nullptr : &follower_->Content();
  QString empty = QString("No records in %1 yet").arg(name);
  if (absent) {
    empty =
        change == LogFollower::Change::kMissing
            ? QString("No such file: %1 (waiting for it)").arg(name)
            : QString("Cannot read %1: %2").arg(name, QString::fromStdString(follower_->Problem()));
    if (statusBar()->currentMessage() != empty) statusBar()->showMessage(empty);
  } else if (drawn_ == nullptr && !loading) {
    statusBar()->clearMessage();  // found, or read to its end
  }
  if (loading) empty = QString("Reading %1 ...").arg(name);
  chart_->SetEmptyText(empty);
  if (change == LogFollower::Change::kNewRun) {
    watch_.NewRun();
    stretch_ = StretchStatistics(stretch_.Range(), stretch_.Level());
    statusBar()->showMessage(QString("A new run began (the log was emptied or made anew at %1)")
                                 .arg(QTime::currentTime().toString("hh:mm:ss")));
  }
  if (drawn != drawn_ || (drawn && change == LogFollower::Change::kNewRun)) {
    drawn_ = drawn;
    chartDue_.stop();
    chart_->SetContent(drawn);
  } else if (drawn && change == LogFollower::Change::kAppended) {
    RefreshChartSoon();
  }
  if (loading) {
    progress_->setValue(int(100.0 * double(follower_->FileBytes() - follower_->UnreadBytes()) /
                            double(follower_->FileBytes())));
    progress_->show();
    QTimer::singleShot(0, this, &TrendWindow::Poll);
    return;
  }
  progress_->hide();
  // The watch ends with the file it was set on (removed or moved aside).
  if (change == LogFollower::Change::kNewRun && !watcher_.files().isEmpty())
    watcher_.removePaths(watcher_.files());
  if (drawn && watcher_.files().isEmpty()) watcher_.addPath(ShownPath(follower_->Path()));
  if (drawn && change != LogFollower::Change::kNone)
    Notify(watch_.Update(follower_->Content(), chart_->AlarmLevel()));
  if (change != LogFollower::Change::kNone) {
    UpdateSummary();
    UpdateFigures();
  }
  UpdateReadout();
}

void TrendWindow::RefreshChartSoon() {
  // A record moves what is drawn within its pixel column: a long log, whose
  // column spans hours, is drawn again at most once in a column's time (up to
  // kLongestChartLagMs), so a burst of records costs one redraw, not one each.
  // The readout shows every record at once.
  const TimeRange shown = chart_->VisibleRange();
  const qint64 columnMs =
      1000 * (shown.to - shown.from) / std::max<qint64>(1, qint64(chart_->plotArea().width()));
  const qint64 lag = std::min(columnMs, kLongestChartLagMs);
  if (!chartRefreshed_.isValid() || chartRefreshed_.elapsed() >= lag) {
    chartDue_.stop();
    chart_->Refresh();
    chartRefreshed_.start();
  } else if (!chartDue_.isActive()) {
    chartDue_.start(int(lag - chartRefreshed_.elapsed()));
  }
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
  summary_->Show({text});
}

void TrendWindow::UpdateReadout() {
  static const LogContent kNothing;
  const Glance g = AtAGlance(drawn_ ? *drawn_ : kNothing, chart_->AlarmLevel(),
                             QDateTime::currentSecsSinceEpoch(), finished_);
  const ReadoutBox* shown[] = {&g.purity, &g.temperature, &g.age, &g.level};
  static constexpr ToneColors kColors[] = {kNormalColors, kGoodColors, kBelowColors, kOverdueColors,
                                           kQuietColors};
  for (std::size_t i = 0; i < boxes_.size(); ++i)
    boxes_[i]->Show(
        {QString::fromStdString(shown[i]->headline), QString::fromStdString(shown[i]->caption)},
        kColors[static_cast<int>(shown[i]->tone)]);
}

void TrendWindow::UpdateFigures() {
  // Of the whole log until the operator zooms: then no step of the growing
  // range starts the figures again.
  const std::optional<TimeRange> range =
      chart_->Zoomed() ? std::optional(chart_->VisibleRange()) : std::nullopt;
  if (range != stretch_.Range() || chart_->AlarmLevel() != stretch_.Level())
    stretch_ = StretchStatistics(range, chart_->AlarmLevel());
  static const LogContent kNothing;
  stretch_.Update(drawn_ ? *drawn_ : kNothing);
  figures_->Show(FiguresLines(stretch_.Figures(), range.has_value(), chart_->AlarmLevel()));
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
  static const LogContent kNothing;
  return ExportPng(drawn_ ? *drawn_ : kNothing, chart_->AlarmLevel(),
                   QFileInfo(ShownPath(follower_->Path())).fileName(), file, shown);
}

void TrendWindow::ExportPngTo() {
  // Named after the log and, when zoomed, the stretch shown, beside the log.
  const QFileInfo log(ShownPath(follower_->Path()));
  QString name = log.completeBaseName();
  if (chart_->Zoomed())
    for (const UtcSeconds t : {chart_->VisibleRange().from, chart_->VisibleRange().to})
      name += QDateTime::fromSecsSinceEpoch(t).toString("_yyyyMMdd-hhmmss");
  QFileDialog dialog(this, "Export PNG", log.dir().filePath(name + ".png"), "PNG (*.png)");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("png");  // a name typed without one
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString file = dialog.selectedFiles().first();
  if (!ExportShownPng(file)) QMessageBox::warning(this, "Export PNG", "Could not write " + file);
}

void TrendWindow::ExportCsvTo() {
  const QString file = QFileDialog::getSaveFileName(this, "Export CSV", QString(), "CSV (*.csv)");
  if (!file.isEmpty() && !ExportCsv(follower_->Path(), file))
    QMessageBox::warning(this, "Export CSV", "Could not write " + file);
}

}  // namespace zrv::trend
