// The chart of one log: purity on the left axis, temperature on the right,
// the alarm level as a line, the stretches below it shaded and the e-mail
// alarms as markers on the time axis. It draws only what its pixel columns
// can show and decimates again whenever the visible time range changes. Each
// stretch of records is a line of its own, so a gap or a clock set back shows
// as a break. Times are true times, labelled in the local clock.
#pragma once

#include <QtCharts/QAreaSeries>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include "trend/AlarmStretches.h"
#include "trend/ChartScale.h"
#include "trend/TrendStyle.h"

#include <cmath>

class QGraphicsSimpleTextItem;

namespace zrv::trend {

class TrendChart : public QChart {
  Q_OBJECT

 public:
  // In %, until the operator sets one.
  static constexpr double kDefaultAlarmLevel = 80;

  TrendChart();

  // The content is read, not copied; call Refresh after it changed.
  void SetContent(const LogContent* content);
  void Refresh();
  void SetAlarmLevel(double level);
  double AlarmLevel() const { return below_.Level(); }
  const BelowLevel& Below() const { return below_; }
  // Said in the middle of the plot while there is nothing to draw.
  void SetEmptyText(const QString& text);

  // Zoom and pan act on time only; the full range follows the log as it grows
  // until the operator zooms.
  void ShowRange(TimeRange range);
  void ResetZoom();
  void ZoomAround(double plotX, double factor);
  void Pan(double fractionOfView);
  TimeRange VisibleRange() const { return visible_; }
  bool Zoomed() const { return zoomed_; }

  // The record nearest in time to a point of the plot, or null.
  const Record* NearestRecord(double plotX) const;

 private:
  TimeRange FullRange() const;
  UtcSeconds TimeAt(double plotX) const;
  void OnTimeAxisChanged();
  void Redraw();
  void DrawLines(std::vector<QLineSeries*>& pool, Field field, QRgb color, qreal width,
                 QValueAxis* axis, int columns);
  void DrawTimeTicks();

  // What was handed to Qt last: a followed log's new record mostly changes
  // nothing on screen, and then nothing is handed over (and nothing repainted).
  struct Drawn {
    std::vector<Line> purity, temperature;
    std::vector<TimeTick> ticks;
    ValueScale purityScale{}, temperatureScale{};
    std::vector<TimeRange> shade;
    std::vector<UtcSeconds> notices;
    double level = NAN;
    std::size_t records = 0, runs = 0;  // of the content decimated
    TimeRange lastStretch{};
  } drawn_;
  bool ChangesNothingDrawn() const;

  const LogContent* content_ = nullptr;
  BelowLevel below_{kDefaultAlarmLevel};
  TimeRange visible_{0, 60};
  bool zoomed_ = false;
  bool redrawing_ = false;

  // Owned by the chart once added.
  QCategoryAxis* time_;
  QValueAxis* purityAxis_;
  QValueAxis* temperatureAxis_;
  std::vector<QLineSeries*> purity_;  // one per stretch of the line; the first names it
  std::vector<QLineSeries*> temperature_;
  QLineSeries* alarmLine_;
  QLineSeries* shadeEdge_;
  QAreaSeries* shade_;
  QScatterSeries* notices_;
  QGraphicsSimpleTextItem* empty_;
};

}  // namespace zrv::trend
