// Writing a log out as a picture or a spreadsheet file. The picture is drawn
// into an image with no window involved, so it works on a headless machine.
#pragma once

#include <QImage>
#include <QString>
#include <optional>
#include <string>

#include "trend/Statistics.h"
#include "trend/TrendChart.h"

namespace zrv::trend {

constexpr QSize kExportSize{1280, 720};

// Draws a chart that is in no view into an image of `size`.
QImage RenderChart(TrendChart& chart, QSize size);

// The picture's title line, so that it stands alone: the log's name, the
// time shown, the latest values and the time below the level.
QString ExportTitle(const QString& name, const StretchFigures& figures,
                    std::optional<TimeRange> range, double alarmLevel);

// The whole log, or only `range` of it, under its title line.
bool ExportPng(const LogContent& content, double alarmLevel, const QString& name,
               const QString& file, std::optional<TimeRange> range = {});
// Read again from `log` (the file name's bytes), to keep the value texts as
// they are.
bool ExportCsv(const std::string& log, const QString& file, std::optional<TimeRange> range = {});

}  // namespace zrv::trend
