// The program itself, offscreen: a short log exported with --export-png and
// --export-csv, the picture checked for what an operator must see, and a log
// followed live while records are appended and the file is emptied.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "trend/TrendWindow.h"

namespace zrv::trend {
namespace {

std::string Record(int minute, double purity) {
  char line[64];
  std::snprintf(line, sizeof line, "2026/12/07 %02d:%02d:00 %.1f 25.0 %%&DEG\r\n", 6 + minute / 60,
                minute % 60, purity);
  return line;
}

struct Pixels {
  int count = 0, left = INT_MAX, right = -1, top = INT_MAX, bottom = -1;
  int widestRow = 0, widestRowY = -1;
};

// Pixels of a colour between columns `from` and `to` (the axis labels and the
// legend share the series' colours, so the plot is searched on its own).
Pixels Find(const QImage& image, QRgb colour, bool exact, int from = 0, int to = INT_MAX) {
  Pixels p;
  for (int y = 0; y < image.height(); ++y) {
    int inRow = 0;
    for (int x = from; x < std::min(to, image.width()); ++x) {
      const QRgb px = image.pixel(x, y) & 0xffffff;
      const int off = std::abs(qRed(px) - qRed(colour)) + std::abs(qGreen(px) - qGreen(colour)) +
                      std::abs(qBlue(px) - qBlue(colour));
      if (exact ? px != colour : off >= 40) continue;
      ++p.count, ++inRow;
      p.left = std::min(p.left, x), p.right = std::max(p.right, x);
      p.top = std::min(p.top, y), p.bottom = std::max(p.bottom, y);
    }
    if (inRow > p.widestRow) p.widestRow = inRow, p.widestRowY = y;
  }
  return p;
}

TEST(TrendShellTest, ExportedPngShowsLineAlarmLevelAndShadedStretch) {
  // An hour: purity 95 %, then 70 % for the middle twenty minutes, then 95 %.
  QTemporaryDir dir;
  const QString log = dir.filePath("zrv-02.log"), png = dir.filePath("chart.png"),
                csv = dir.filePath("chart.csv");
  {
    std::ofstream out(log.toStdString(), std::ios::binary);
    for (int m = 0; m <= 60; ++m) out << Record(m, m >= 20 && m < 40 ? 70.0 : 95.0);
  }
  QProcess trend;
  trend.start(ZRV02_TREND_PATH,
              {log, "--alarm-level", "80", "--export-png", png, "--export-csv", csv});
  ASSERT_TRUE(trend.waitForFinished(20000));
  ASSERT_EQ(trend.exitCode(), 0) << trend.readAllStandardError().toStdString();
  std::ifstream table(csv.toStdString());
  std::string header, first;
  std::getline(table, header), std::getline(table, first);
  EXPECT_EQ(header + "\n" + first, "time,purity,temperature\n2026-12-07T06:00:00,95,25");
  ASSERT_EQ(QImage(png).size(), QSize(1280, 720));
  const QImage image = QImage(png).copy(0, 0, 1280, 640);  // above the legend

  // The dashed level line runs across the plot, inside the picture's margins.
  const Pixels alarm = Find(image, TrendChart::kAlarmLineColour, false);
  ASSERT_GT(alarm.widestRow, 400);
  const Pixels row =
      Find(image.copy(0, alarm.widestRowY, image.width(), 1), TrendChart::kAlarmLineColour, false);
  EXPECT_GT(row.left, 20);
  EXPECT_LT(row.right, 1260);
  const Pixels line = Find(image, TrendChart::kPurityColour, false, row.left + 3, row.right - 3);
  const Pixels shade = Find(image, TrendChart::kShadeColour, true, row.left, row.right + 1);
  // The plotted line spans the plot; the level lies between its high and low.
  ASSERT_GT(line.count, 200);
  EXPECT_GT(line.right - line.left, 900);
  EXPECT_GT(alarm.widestRowY, line.top);
  EXPECT_LT(alarm.widestRowY, line.bottom);
  // The shaded stretch is the middle third of the hour, from top to bottom.
  ASSERT_GT(shade.count, 1000);
  const double third = (line.right - line.left) / 3.0;
  EXPECT_NEAR(shade.left, line.left + third, third * 0.1);
  EXPECT_NEAR(shade.right, line.right - third, third * 0.1);
  EXPECT_LE(shade.top, line.top + 5);
  EXPECT_GE(shade.bottom, line.bottom - 5);
}

TEST(TrendShellTest, FollowsAppendedRecordsAndNewRun) {
  QTemporaryDir dir;
  const std::string log = dir.filePath("zrv-02.log").toStdString();
  TrendWindow window(80, false);
  window.Open(QString::fromStdString(log));
  const auto shows = [&](const char* text, int withinMs) {
    return QTest::qWaitFor([&] { return window.summary().startsWith(text); }, withinMs);
  };
  EXPECT_TRUE(window.statusBar()->currentMessage().startsWith("Waiting for zrv-02.log"));

  const auto write = [&](std::ios::openmode mode, const std::string& bytes) {
    std::ofstream(log, std::ios::binary | mode) << bytes;
  };
  write(std::ios::trunc, Record(0, 95));
  EXPECT_TRUE(shows("1 record,", 1000)) << window.summary().toStdString();
  write(std::ios::app, Record(1, 70) + Record(2, 71) + "2026/12/07 06:03:00 E-MAIL ALARM\r\n");
  EXPECT_TRUE(shows("3 records, 1 e-mail alarm,", 1000)) << window.summary().toStdString();
  EXPECT_TRUE(window.summary().contains("below 80 %: 1 time,")) << window.summary().toStdString();

  write(std::ios::trunc, "");
  write(std::ios::app, Record(10, 96));
  EXPECT_TRUE(shows("1 record, 0 e-mail alarms, 2026/12/07 06:10:00", 1000))
      << window.summary().toStdString();
  EXPECT_TRUE(window.statusBar()->currentMessage().startsWith("A new run began"));
}

}  // namespace
}  // namespace zrv::trend

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  zrv::trend::UseLogClock();
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
