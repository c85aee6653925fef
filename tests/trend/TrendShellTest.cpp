// The program itself, offscreen: a short log exported with --export-png and
// --export-csv, the picture checked for what an operator must see, and a log
// followed live while records are appended and the file is emptied.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QValueAxis>
#include <cstdio>
#include <cstdlib>

#include "tests/support/TempWorkDir.h"
#include "trend/TrendWindow.h"

namespace zrv::trend {
TEST(TrendShellTest, ExportedPngShowsLineAlarmLevelAndShadedStretch) {
  // Where the pixels of a colour lie between columns `from` and `to` (the axis
  // labels and the legend share the series' colours).
  const auto find = [](const QImage& image, QRgb color, int from, int to) {
    QRect found;
    for (int y = 0; y < image.height(); ++y)
      for (int x = from; x < to; ++x)
        if ((image.pixel(x, y) & 0xffffff) == color) found |= QRect(x, y, 1, 1);
    return found;
  };
  QTemporaryDir dir;
  // A file name is bytes; this one is not UTF-8, so it is given through a shell, not as a QString.
  const std::string log = dir.path().toStdString() + "/zrv-02\xff.log";
  struct Removed {  // QTemporaryDir removes by the name as text, which misses this one
    const std::string& path;
    ~Removed() { std::remove(path.c_str()); }
  } removed{log};
  const QString png = dir.filePath("chart.png"), csv = dir.filePath("chart.csv");
  // An hour from 06:00: purity 95 %, then 70 % for the middle twenty minutes, then 95 %;
  // no records from 06:05 to 06:14 (a gap of ten intervals).
  std::string bytes;
  for (int m = 0; m <= 60; ++m)
    if (m < 5 || m > 14)
      bytes += FormatStamp(1796623200 + 60 * m) + (m / 20 == 1 ? " 70" : " 95.0") + " 25 %&DEG\r\n";
  test::WriteFileBytes(log, bytes);
  ASSERT_EQ(0, std::system(("'" ZRV02_TREND_PATH "' --alarm-level 80 '" + log + "' --export-png '" +
                            png.toStdString() + "' --export-csv '" + csv.toStdString() + "'")
                               .c_str()));
  EXPECT_EQ(test::ReadFileBytes(csv.toStdString()).substr(0, 76),
            "time,event,purity,temperature\n2026-12-07T06:00:00+00:00,measurement,95.0,25\n");
  ASSERT_EQ(QImage(png).size(), QSize(1280, 720));
  const QImage image = QImage(png).copy(0, 0, 1280, 640);  // above the legend

  // The dashed level runs across the plot, between the line's high and low;
  // the line spans the plot; the shaded stretch is the middle third of the
  // hour, from top to bottom.
  const QRect level = find(image, kAlarmLineColor, 0, 1280);
  const QRect line = find(image, kPurityColor, level.left() + 3, level.right() - 3);
  const QRect shade = find(image, kShadeColor, level.left(), level.right() + 1);
  EXPECT_TRUE(level.width() > 900 && level.height() < 5);
  EXPECT_TRUE(line.top() < level.top() && level.bottom() < line.bottom() && line.width() > 900);
  const double third = line.width() / 3.0;
  EXPECT_NEAR(shade.left(), line.left() + third, third * 0.1);
  EXPECT_NEAR(shade.right(), line.right() - third, third * 0.1);
  EXPECT_TRUE(shade.top() <= line.top() + 5 && shade.bottom() >= line.bottom() - 5);
  // The gap: no line between 06:05 and 06:14, a line on either side of it.
  const auto at = [&](double minute) { return line.left() + int(line.width() * minute / 60); };
  EXPECT_FALSE(find(image, kPurityColor, at(6), at(13)).isValid());
  EXPECT_TRUE(find(image, kPurityColor, at(2), at(4)).isValid());

  // The window's export draws what it shows: zoomed past the shaded stretch, none of it.
  TrendWindow window(80, false);
  window.Open(log);
  window.show();
  EXPECT_TRUE(window.windowTitle().endsWith("/zrv-02\uFFFD.log"));
  const QString zoomed = dir.filePath("zoomed.png");
  auto* chart = static_cast<TrendChart*>(window.findChild<TrendChartView*>()->chart());
  chart->ShowRange({1796623200 + 45 * 60, 1796623200 + 60 * 60});
  ASSERT_TRUE(window.ExportShownPng(zoomed));
  EXPECT_FALSE(find(QImage(zoomed).copy(0, 0, 1280, 640), kShadeColor, 0, 1280).isValid());
  // Round values and whole minutes on the axes.
  chart->ResetZoom();
  const auto* purity = static_cast<QValueAxis*>(chart->axes(Qt::Vertical)[0]);
  EXPECT_EQ(QString("%1-%2/%3").arg(purity->min()).arg(purity->max()).arg(purity->tickInterval()),
            "65-100/5");
  EXPECT_EQ(static_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal)[0])
                ->categoriesLabels()
                .join(" ")
                .toStdString(),
            "06:00<br>2026/12/07 06:10\u200b 06:20\u200b\u200b 06:30\u200b\u200b\u200b "
            "06:40\u200b\u200b\u200b\u200b 06:50\u200b\u200b\u200b\u200b\u200b "
            "07:00\u200b\u200b\u200b\u200b\u200b\u200b");
}

TEST(TrendShellTest, OddFilesFailWithAMessage) {
  QTemporaryDir dir;
  for (const QStringList& args : {QStringList{dir.path()},
                                  {dir.path(), "--export-csv", "x.csv"},
                                  {dir.filePath("none.log"), "--export-png", "x.png"}}) {
    QProcess trend;
    trend.start(ZRV02_TREND_PATH, args);
    ASSERT_TRUE(trend.waitForFinished(10000));
    EXPECT_EQ(trend.exitCode(), 1) << args.join(' ').toStdString();
    EXPECT_TRUE(trend.readAllStandardError().contains(": is a directory") ||
                args[0].endsWith("none.log"));
  }
}

TEST(TrendShellTest, FromTheMenuTheDialogStartsWhereTheControllerLogs) {
  QTemporaryDir home;
  ASSERT_TRUE(QDir(home.path()).mkdir("ZRV-02"));
  const QByteArray realHome = qgetenv("HOME");
  qputenv("HOME", home.path().toUtf8());
  EXPECT_EQ(TrendWindow::LogFolder(), QDir::currentPath());
  qputenv("ZRV02_MENU_START", "1");  // as the menu entry starts it
  EXPECT_EQ(TrendWindow::LogFolder(), home.filePath("ZRV-02"));
  qunsetenv("ZRV02_MENU_START");
  qputenv("HOME", realHome);
}

TEST(TrendShellTest, FollowsAppendedRecordsAndNewRun) {
  QTemporaryDir dir;
  const std::string log = dir.filePath("zrv-02.log").toStdString();
  TrendWindow window(80, false);
  window.Open(log);
  EXPECT_TRUE(window.statusBar()->currentMessage().startsWith("No such file: zrv-02.log"));
  // {bytes appended ('+') or written over the file ('='), the summary's start within 1 s}
  const std::vector<std::pair<std::string, QString>> steps = {
      {"=2026/12/07 06:00:00 95 25 %&DEG\r\n", "1 record, 0 e-mail alarms, 2026/12/07 06:00:00 to"},
      {"+2026/12/07 06:01:00 70 25 %&DEG\r\n2026/12/07 06:02:00 71 25 %&DEG\r\n"
       "2026/12/07 06:03:00 E-MAIL ALARM\r\n",
       "3 records, 1 e-mail alarm, 2026/12/07 06:00:00 to 2026/12/07 06:02:00, 0 unreadable "
       "lines; below 80 %: 1 time, 0:01:00 in all"},
      {"=2026/12/07 06:10:00 96 25 %&DEG\r\n", "1 record, 0 e-mail alarms, 2026/12/07 06:10:00 to"},
  };
  for (const auto& [bytes, summary] : steps) {
    test::WriteFileBytes(log, (bytes[0] == '+' ? test::ReadFileBytes(log) : "") + bytes.substr(1));
    EXPECT_TRUE(QTest::qWaitFor(
        [&window, summary = summary] { return window.Summary().startsWith(summary); }, 1000))
        << window.Summary().toStdString();
  }
  EXPECT_TRUE(window.statusBar()->currentMessage().startsWith("A new run began"));
  EXPECT_EQ(window.Readout()[0] + ", " + window.Readout()[3], "96 %, At or above 80 %");
}

}  // namespace zrv::trend

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("TZ", "UTC0");  // the exported times, here and in the program run
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
