#include "trend/ChartExport.h"

#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <cmath>
#include <fstream>

#include "trend/CsvExport.h"
#include "trend/Glance.h"

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

QString ExportTitle(const QString& name, const StretchFigures& f, std::optional<TimeRange> range,
                    double alarmLevel) {
  const auto stamp = [](UtcSeconds t) { return QString::fromStdString(FormatStamp(ToCivil(t))); };
  const auto value = [](double v, const char* unit) {
    return std::isnan(v) ? QString("no value") : QString("%1 %2").arg(v).arg(unit);
  };
  if (!range && f.records == 0) return name + " \u00b7 no records";
  const TimeRange shown = range.value_or(TimeRange{f.first, f.last});
  QString title = QString("%1 \u00b7 %2 to %3").arg(name, stamp(shown.from), stamp(shown.to));
  if (f.records)
    title += QString(" \u00b7 latest %1, %2")
                 .arg(value(f.lastPurity, "%"), value(f.lastTemperature, "DEG"));
  return title + QString(" \u00b7 below %1 %: %2, %3 in all")
                     .arg(alarmLevel)
                     .arg(f.belowStretches == 1 ? QString("1 time")
                                                : QString("%1 times").arg(f.belowStretches))
                     .arg(QString::fromStdString(AgeText(f.belowTime)));
}

bool ExportPng(const LogContent& content, double alarmLevel, const QString& name,
               const QString& file, std::optional<TimeRange> range) {
  StretchStatistics stretch(range, alarmLevel);
  stretch.Update(content);
  TrendChart chart;
  chart.setTitle(ExportTitle(name, stretch.Figures(), range, alarmLevel));
  chart.SetAlarmLevel(alarmLevel);
  chart.SetContent(&content);
  chart.SetEmptyText("No records in " + name);
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
