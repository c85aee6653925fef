#include "trend/ChartExport.h"

#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <fstream>

#include "trend/CsvExport.h"

namespace zrv::trend {

QImage RenderChart(TrendChart& chart, QSize size) {
  QGraphicsScene scene;
  scene.addItem(&chart);
  chart.setGeometry(QRectF(QPointF(0, 0), size));
  chart.layout()->activate();

  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  scene.render(&painter, QRectF(image.rect()), QRectF(image.rect()));
  painter.end();

  scene.removeItem(&chart);
  return image;
}

bool ExportPng(const LogContent& content, double alarmLevel, const QString& title,
               const QString& file, std::optional<TimeRange> range) {
  TrendChart chart;
  chart.setTitle(title);
  chart.SetAlarmLevel(alarmLevel);
  chart.SetContent(&content);
  chart.SetEmptyText("No records in " + title);
  // Laid out first, so the range is decimated for the picture's own columns.
  chart.setGeometry(QRectF(QPointF(0, 0), kExportSize));
  if (range) chart.ShowRange(*range);
  return RenderChart(chart, kExportSize).save(file, "PNG");
}

bool ExportCsv(const std::string& log, const QString& file, std::optional<TimeRange> range) {
  std::ifstream in(log, std::ios::binary);
  std::ofstream out(file.toStdString(), std::ios::binary | std::ios::trunc);
  if (!in || !out) return false;
  WriteCsv(in, out, range);
  out.close();
  return static_cast<bool>(out);
}

}  // namespace zrv::trend
