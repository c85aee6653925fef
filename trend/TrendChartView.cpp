#include "trend/TrendChartView.h"

#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

namespace zrv::trend {
namespace {

// The angle delta of one notch of a mouse wheel.
constexpr int kWheelNotch = 120;

QString ValueText(double value, const char* unit) {
  return std::isnan(value) ? QString("no value") : QString("%1 %2").arg(value).arg(unit);
}

}  // namespace

TrendChartView::TrendChartView(TrendChart* chart, QWidget* parent)
    : QChartView(chart, parent), chart_(chart) {
  setRenderHint(QPainter::Antialiasing);
  setRubberBand(QChartView::HorizontalRubberBand);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void TrendChartView::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / kWheelNotch;
  if (steps == 0) return;
  const double x = chart_->mapFromScene(mapToScene(event->position().toPoint())).x();
  if (event->modifiers() & Qt::ShiftModifier)
    chart_->Pan(-0.1 * steps);
  else
    chart_->ZoomAround(x, std::pow(0.8, steps));
  event->accept();
}

void TrendChartView::mouseDoubleClickEvent(QMouseEvent* event) {
  chart_->ResetZoom();
  event->accept();
}

void TrendChartView::mouseMoveEvent(QMouseEvent* event) {
  QChartView::mouseMoveEvent(event);
  const QPointF at = chart_->mapFromScene(mapToScene(event->position().toPoint()));
  const Record* r = chart_->plotArea().contains(at) ? chart_->NearestRecord(at.x()) : nullptr;
  if (!r) {
    QToolTip::hideText();
    return;
  }
  QToolTip::showText(event->globalPosition().toPoint(),
                     QString("%1\npurity %2\ntemperature %3")
                         .arg(QString::fromStdString(FormatStamp(ToCivil(r->Time()))),
                              ValueText(r->Purity(), "%"), ValueText(r->Temperature(), "DEG")),
                     this);
}

void TrendChartView::mouseReleaseEvent(QMouseEvent* event) {
  // The stock right click zooms out both axes; here only time zooms.
  if (event->button() == Qt::RightButton) {
    chart_->ZoomAround(chart_->plotArea().center().x(), 2.0);
    event->accept();
    return;
  }
  QChartView::mouseReleaseEvent(event);
}

void TrendChartView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
    chart_->Pan(event->key() == Qt::Key_Left ? -0.25 : 0.25);
    return;
  }
  QChartView::keyPressEvent(event);
}

}  // namespace zrv::trend
