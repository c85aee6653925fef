// The trend view's window: the chart of one log, followed live. The file is
// polled, not watched: a change notice can be missed or come late for a file
// that another program opens, appends to and closes once per record, and a
// poll every quarter second shows a new record well within a second.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <memory>

#include "trend/DesktopNotifier.h"
#include "trend/LogFollower.h"
#include "trend/TrendChartView.h"

class QDoubleSpinBox;

namespace zrv::trend {

class TrendWindow : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kPollMs = 250;

  TrendWindow(double alarmLevel, bool notify);

  void Open(const QString& path);
  QString summary() const { return summary_->text(); }

 private:
  void Poll();
  void Notify(const AlarmWatch::Events& events);
  void UpdateSummary();
  void ChooseLog();
  void ExportPngTo();
  void ExportCsvTo();

  TrendChart* chart_;
  TrendChartView* view_;
  QDoubleSpinBox* level_;
  QLabel* summary_;
  QTimer poll_;
  std::unique_ptr<LogFollower> follower_;
  AlarmWatch watch_;
  bool notify_;
  bool missing_ = false;
  DesktopNotifier notifier_;
};

}  // namespace zrv::trend
