// The small Qt ports: the message box, the clock, the directories and the
// timer.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <algorithm>

#include "app/SvZRV_02.h"
#include "app/shell/QtClock.h"
#include "app/shell/QtDirectories.h"
#include "app/shell/QtMessageBox.h"
#include "app/shell/QtTimer.h"
#include "tests/app/shell/ShellTestSupport.h"

namespace zrv::test {
namespace {

TEST(QtMessageBoxTest, ShowsTextUnderTheProgramTitleWithOneOkButton) {
  QString title, text;
  int buttons = -1;
  // The box is modal: look at it and close it from inside its own loop.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    title = box->windowTitle();
    text = box->text();
    buttons = static_cast<int>(box->buttons().size());
    box->button(QMessageBox::Ok)->click();
  });
  closer.start(10);

  QtMessageBox().Show("Illegal Input !");

  EXPECT_EQ(title, "Quorvane v1.20");
  EXPECT_EQ(text, "Illegal Input !");
  EXPECT_EQ(buttons, 1);
}

TEST(QtClockTest, StampsLocalTimeToTheSecond) {
  const QString stamp = QString::fromStdString(QtClock().Stamp());
  EXPECT_TRUE(
      QRegularExpression("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}$").match(stamp).hasMatch())
      << stamp.toStdString();
  EXPECT_EQ(stamp.left(10), QDate::currentDate().toString("yyyy/MM/dd"));
}

TEST(QtDirectoriesTest, ListsRootsAndKnowsDirectories) {
  QtDirectories directories;
  EXPECT_EQ(directories.CurrentDirectory(), QDir::currentPath().toStdString());

  const std::vector<std::string> drives = directories.Drives();
  ASSERT_FALSE(drives.empty());
  EXPECT_EQ(drives.front(), "/");
  EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
  EXPECT_EQ(std::adjacent_find(drives.begin(), drives.end()), drives.end());

  ASSERT_TRUE(QDir().mkpath("somewhere"));
  const struct {
    std::string path;
    bool directory;
  } rows[] = {{"/", true}, {"somewhere", true}, {"nowhere", false}, {kIpHistoryFile, false}};
  for (const auto& row : rows)
    EXPECT_EQ(directories.IsDirectory(row.path), row.directory) << row.path;
}

TEST(QtTimerTest, TicksOnlyWhenEnabledWithAnInterval) {
  QtTimer timer;
  QSignalSpy ticks(&timer, &QtTimer::tick);

  // Interval 0 means no ticks, where a QTimer would fire on every pass.
  timer.SetEnabled(true);
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(ticks.count(), 0);
  EXPECT_TRUE(timer.Enabled());

  timer.SetInterval(20);
  EXPECT_EQ(timer.Interval(), 20);
  EXPECT_TRUE(ticks.wait(5000));

  timer.SetEnabled(false);
  ticks.clear();
  timer.SetInterval(0);
  timer.SetInterval(1);
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(ticks.count(), 0);
  EXPECT_FALSE(timer.Enabled());
}

}  // namespace
}  // namespace zrv::test
