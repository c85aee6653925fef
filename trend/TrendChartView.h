// The chart on screen: the mouse wheel zooms time around the cursor (with
// Shift it pans), a drag zooms to the dragged stretch, a double click shows
// the whole log again, the arrow keys pan; hovering shows the nearest record.
#pragma once

#include <QtCharts/QChartView>

#include "trend/TrendChart.h"

namespace zrv::trend {

class TrendChartView : public QChartView {
  Q_OBJECT

 public:
  explicit TrendChartView(TrendChart* chart, QWidget* parent = nullptr);

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TrendChart* chart_;
};

}  // namespace zrv::trend
