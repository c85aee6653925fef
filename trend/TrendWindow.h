// The trend view's window: the latest values in large type over the chart of
// one log, followed live. The file is read when the system says it changed
// (inotify, through QFileSystemWatcher), so a record shows at once, and is
// polled once a second besides: a change notice can be missed or come late
// for a file that another program opens, appends to and closes once per
// record, and none comes for a file made anew at the name. The poll, a
// second after the last read, also ages the readout. Each wake-up costs far
// more than its few instructions (a cold cache), so a window following a
// record a second wakes once a second, not four times and more. A long log is read a slice at a
// time between events, with a progress bar, so the window never freezes
// while it loads.
#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <memory>

#include "trend/DesktopNotifier.h"
#include "trend/Glance.h"
#include "trend/LogFollower.h"
#include "trend/Statistics.h"
#include "trend/TrendChartView.h"

class QDoubleSpinBox;
class QProgressBar;

namespace zrv::trend {

// A file name, which is bytes, as text to show: bytes that are not UTF-8 as
// U+FFFD. Files are opened by the bytes themselves.
QString ShownPath(const std::string& path);

class TextPanel;

class TrendWindow : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kPollMs = 1000;
  // The longest a followed log's record waits to be drawn in the chart.
  static constexpr qint64 kLongestChartLagMs = 5000;
  // About a tenth of a second of reading between events.
  static constexpr std::size_t kSliceBytes = 32 << 20;

  TrendWindow(double alarmLevel, bool notify);

  // Where the file dialog starts: ~/ZRV-02 when started from the menu (where
  // the controller started from the menu writes its log), else here.
  static QString LogFolder();

  void Open(const std::string& path);
  QString Summary() const;
  // The readout's headlines, left to right.
  QStringList Readout() const;
  // The figures of the stretch shown, as the panel beside the chart shows
  // them: a line each, tabs between the cells.
  QStringList Figures() const;
  // The chart as the window shows it (the zoomed stretch, if zoomed).
  bool ExportShownPng(const QString& file) const;
  bool Loading() const { return follower_ && follower_->UnreadBytes() > 0; }

 private:
  void Poll();
  void RefreshChartSoon();
  void Notify(const AlarmWatch::Events& events);
  void UpdateSummary();
  void UpdateReadout();
  void UpdateFigures();
  void ChooseLog();
  void ExportPngTo();
  void ExportCsvTo();

  TrendChart* chart_;
  TrendChartView* view_;
  QDoubleSpinBox* level_;
  TextPanel* summary_;
  TextPanel* figures_;
  // The readout's boxes: purity, temperature, age, level.
  std::array<TextPanel*, 4> boxes_;
  QProgressBar* progress_;
  QTimer poll_;
  QFileSystemWatcher watcher_;  // the file, while there is one
  QElapsedTimer chartRefreshed_;
  QTimer chartDue_;  // a refresh put off
  std::unique_ptr<LogFollower> follower_;
  // What the chart draws: the follower's content, or none while the file is
  // missing, unreadable or still being read.
  const LogContent* drawn_ = nullptr;
  bool finished_ = false;  // a kept run's log, no longer written
  AlarmWatch watch_;
  StretchStatistics stretch_{std::nullopt, TrendChart::kDefaultAlarmLevel};
  bool notify_;
  DesktopNotifier notifier_;
};

}  // namespace zrv::trend
