// The program itself, offscreen: a short log exported with --export-png and
// --export-csv, the picture checked for what an operator must see, and a log
// followed live from before it exists, while it fills, is emptied, removed and
// moved aside.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <cstdio>
#include <cstdlib>

#include "tests/support/TempWorkDir.h"
#include "trend/ChartExport.h"
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
  EXPECT_EQ(window.Figures().mid(0, 2).join("|"), "Shown stretch|Records\t16\t");
  // The export dialog proposes the log's name and the stretch, and adds .png to a name typed.
  QString proposed;
  QTimer::singleShot(0, [&proposed] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
    dialog->selectFile("typed");
    QMetaObject::invokeMethod(dialog, "accept");
  });
  for (QAction* action : window.findChildren<QAction*>())
    if (action->text().startsWith("Export &PNG")) action->trigger();
  EXPECT_EQ(proposed, "zrv-02\uFFFD_20261207-064500_20261207-070000.png");
  EXPECT_TRUE(QFileInfo::exists(dir.filePath("typed.png")));
  LogFollower follower(log);
  follower.Poll();
  StretchStatistics hour(std::nullopt, 80);
  hour.Update(follower.Content());
  EXPECT_EQ(
      ExportTitle("zrv-02.log", hour.Figures(), std::nullopt, 80),
      "zrv-02.log \u00b7 2026/12/07 06:00:00 to 2026/12/07 07:00:00 \u00b7 latest 95 %, 25 DEG "
      "\u00b7 below 80 %: 1 time, 20 min in all");
  // Round values and whole minutes on the axes.
  chart->ResetZoom();
  const auto* purity = static_cast<QValueAxis*>(chart->axes(Qt::Vertical)[0]);
  EXPECT_EQ(QString("%1-%2/%3").arg(purity->min()).arg(purity->max()).arg(purity->tickInterval()),
            "65-100/5");
  EXPECT_EQ(static_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal)[0])
                ->categoriesLabels()
                .join(" ")
                .toStdString(),
            "06:00<br>2026/12/07 06:30\u200b 07:00\u200b\u200b");  // on an 800-pixel screen
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

TEST(TrendShellTest, DrawsALogMadeAfterItOpensEmptiedRemovedOrMovedAside) {
  QTemporaryDir dir;
  const std::string log = dir.filePath("zrv-02.log").toStdString();
  TrendWindow window(80, false);
  window.Open(log);
  window.show();
  EXPECT_TRUE(window.statusBar()->currentMessage().startsWith("No such file: zrv-02.log"));
  const auto* chart = window.findChild<TrendChartView*>()->chart();
  const auto drawn = [chart] {
    for (QAbstractSeries* s : chart->series())
      if (s->name() == "Purity (%)") return static_cast<QLineSeries*>(s)->count();
    return -1;
  };
  // Stamped a few minutes before now, so the last record is current.
  const UtcSeconds now = QDateTime::currentSecsSinceEpoch();
  const auto at = [now](int minutesAgo) { return FormatStamp(ToCivil(now - 60 * minutesAgo)); };
  // {bytes appended ('+'), written over the file ('=') or into a new one after moving it aside
  // ('>'), or '-' to remove it; the summary's start and the purity points drawn within 2 s}
  const std::vector<std::tuple<std::string, std::string, int>> steps = {
      {"=", "0 records", 0},  // the controller's first run makes it empty, then fills it
      {"+" + at(4) + " 95 25 %&DEG\r\n", "1 record, 0 e-mail alarms, " + at(4) + " to", 1},
      {"+" + at(3) + " 70 25 %&DEG\r\n" + at(2) + " 71 25 %&DEG\r\n" + at(2) + " E-MAIL ALARM\r\n",
       "3 records, 1 e-mail alarm, " + at(4) + " to " + at(2) +
           ", 0 unreadable lines; below 80 %: 1 time, 0:01:00 in all",
       3},
      {"-", "3 records", 0},
      {"=", "0 records", 0},  // made again
      {"+" + at(1) + " 96 25 %&DEG\r\n", "1 record", 1},
      {">" + at(0) + " 97 25 %&DEG\r\n", "1 record, 0 e-mail alarms, " + at(0), 1},  // a new start
  };
  for (const auto& [action, summary, points] : steps) {
    const std::string kept = action[0] == '+' ? test::ReadFileBytes(log) : "";
    if (action[0] == '-') std::remove(log.c_str());
    if (action[0] == '>') std::rename(log.c_str(), (log + "_20261207-060000.log").c_str());
    if (action[0] != '-') test::WriteFileBytes(log, kept + action.substr(1));
    EXPECT_TRUE(QTest::qWaitFor(
        [&, summary = summary, points = points] {
          return window.Summary().startsWith(summary.c_str()) && drawn() == points;
        },
        2000))
        << action << ": " << window.Summary().toStdString() << ", " << drawn() << " points";
  }
  EXPECT_TRUE(window.statusBar()->currentMessage().startsWith("A new run began"));
  EXPECT_EQ((window.Readout().mid(0, 2) << window.Readout()[3]).join(", ").toStdString(),
            "97 %, 25 DEG, At or above 80 %");

  // A value text of 4000 bytes is cut short, not the window widened.
  test::WriteFileBytes(
      log, test::ReadFileBytes(log) + at(0) + " " + std::string(4000, '9') + "x 25 %&DEG\r\n");
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.Readout()[0].size() > 4000; }, 2000));
  QApplication::processEvents();
  EXPECT_LE(window.width(), window.screen()->availableSize().width());
}

}  // namespace zrv::trend

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("TZ", "UTC0");  // the exported times, here and in the program run
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
