// The chart of one log: purity on the left axis, temperature on the right,
// the alarm level as a line, the stretches below it shaded and the e-mail
// alarms as markers on the time axis. It draws only what its pixel columns
// can show and decimates again whenever the visible time range changes. Each
// stretch of records is a line of its own, so a gap or a clock set back shows
// as a break. Times are true times, labelled in the local clock.
//
// Everything drawn is a chart element: at every redraw, and at every record a
// followed log brings, the chart asks each element in turn to compute its
// content and hands over to Qt only what changed. A followed log's new record
// mostly changes nothing on screen, and then nothing is repainted. A new
// overlay is one more element, registered where the chart is made.
#pragma once

#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QValueAxis>
#include <memory>
#include <vector>

#include "trend/AlarmStretches.h"
#include "trend/ChartScale.h"
#include "trend/TrendStyle.h"

class QGraphicsSimpleTextItem;

namespace zrv::trend {

// What every element is computed from.
struct DrawInput {
  const LogContent& content;
  const BelowLevel& below;
  // Changes with each SetContent: records read since are not appended to the
  // ones before, even where the count grew.
  unsigned contentGeneration;
  TimeRange visible;
  QRectF plot;
  int columns;                     // one per pixel of the plot
  ValueScale purity, temperature;  // the value axes, which shading and markers span
};

// One thing the chart draws; only it changes its Qt items.
class ChartElement {
 public:
  virtual ~ChartElement() = default;
  // Computes the content for `in`: true when it differs from the one applied
  // last (or none was). Content known to be unchanged need not be computed.
  virtual bool Compute(const DrawInput& in) = 0;
  // Hands the content computed last to Qt.
  virtual void Apply() = 0;
};

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

 signals:
  // Zoomed, panned, or the whole log's range grew.
  void shownRangeChanged();

 private:
  // Shown while the log has no time to show.
  static constexpr TimeRange kNoTime{0, kMinute};

  TimeRange FullRange() const;
  UtcSeconds TimeAt(double plotX) const;
  void OnTimeAxisChanged();
  void Redraw();

  const LogContent* content_ = nullptr;
  unsigned contentGeneration_ = 0;
  BelowLevel below_{kDefaultAlarmLevel};
  TimeRange visible_ = kNoTime;
  bool zoomed_ = false;
  bool redrawing_ = false;

  // Owned by the chart once added.
  QCategoryAxis* time_;
  QValueAxis* purityAxis_;
  QValueAxis* temperatureAxis_;
  QGraphicsSimpleTextItem* empty_;
  // Computed and applied in this order.
  std::vector<std::unique_ptr<ChartElement>> elements_;
};

}  // namespace zrv::trend
