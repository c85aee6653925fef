// The chart of one log: purity on the left axis, temperature on the right,
// the alarm level as a line, the stretches below it shaded and the e-mail
// alarms as markers on the time axis. It draws only what its pixel columns
// can show and decimates again whenever the visible time range changes.
#pragma once

#include <QtCharts/QAreaSeries>
#include <QtCharts/QChart>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include "trend/AlarmStretches.h"

namespace zrv::trend {

// The date axis formats times in the process's zone; the log's stamps are
// already local wall-clock times, so the process runs in UTC to show them
// unshifted. Call before the application object exists.
void UseLogClock();

class TrendChart : public QChart {
  Q_OBJECT

 public:
  static constexpr QRgb kPurityColour = 0x1f5fbf;
  static constexpr QRgb kTemperatureColour = 0x2e9e44;
  static constexpr QRgb kAlarmLineColour = 0xd01010;
  static constexpr QRgb kShadeColour = 0xffd2cc;
  static constexpr QRgb kNoticeColour = 0xff8c00;

  TrendChart();

  // The content is read, not copied; call Refresh after it changed.
  void SetContent(const LogContent* content);
  void Refresh();
  void SetAlarmLevel(double level);
  double alarmLevel() const { return level_; }
  const std::vector<TimeRange>& stretches() const { return stretches_; }

  // Zoom and pan act on time only; the full range follows the log as it grows
  // until the operator zooms.
  void ShowRange(TimeRange range);
  void ResetZoom();
  void ZoomAround(double plotX, double factor);
  void Pan(double fractionOfView);
  TimeRange visibleRange() const { return visible_; }

  // The record nearest in time to a point of the plot, or null.
  const Record* NearestRecord(double plotX) const;

 private:
  TimeRange FullRange() const;
  CivilSeconds TimeAt(double plotX) const;
  void OnTimeAxisChanged();
  void Redraw();
  void UpdateValueRanges();

  const LogContent* content_ = nullptr;
  double level_ = 80;
  std::vector<TimeRange> stretches_;
  TimeRange visible_{0, 60};
  bool zoomed_ = false;
  bool redrawing_ = false;

  struct Span {
    double low, high;
  };
  Span purityRange_{0, 100};
  Span temperatureRange_{0, 50};

  // Owned by the chart once added.
  QDateTimeAxis* time_;
  QValueAxis* purityAxis_;
  QValueAxis* temperatureAxis_;
  QLineSeries* purity_;
  QLineSeries* temperature_;
  QLineSeries* alarmLine_;
  QLineSeries* shadeEdge_;
  QAreaSeries* shade_;
  QScatterSeries* notices_;
};

}  // namespace zrv::trend
