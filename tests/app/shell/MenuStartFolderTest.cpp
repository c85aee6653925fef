// The menu start: with the marker set the controller moves into ~/ZRV-02,
// making it if needed; without it, or when the folder cannot be had, it
// stays in the directory it was started in.
#include "app/shell/MenuStartFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/app/shell/ShellTestSupport.h"

namespace zrv::test {
namespace {

enum class InTheWay { Nothing, FolderWithHistory, PlainFile };

struct MenuStartCase {
  const char* name;
  const char* marker;  // value of the marker variable; null = unset
  InTheWay inTheWay;
  bool entersFolder;
  bool reportsFailure;
};

class MenuStartFolderTest : public ::testing::TestWithParam<MenuStartCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid() && startDir_.isValid());
    savedHome_ = qgetenv("HOME");
    qputenv("HOME", home_.path().toLocal8Bit());
    QDir::setCurrent(startDir_.path());
  }
  void TearDown() override {
    qputenv("HOME", savedHome_);
    qunsetenv(kMenuStartVariable);
    QDir::setCurrent(savedCwd_);  // the other shell tests' history files are there
  }

  QTemporaryDir home_;
  QTemporaryDir startDir_;
  QByteArray savedHome_;
  const QString savedCwd_ = QDir::currentPath();
};

TEST_P(MenuStartFolderTest, WorksInTheRightFolder) {
  const MenuStartCase& c = GetParam();
  const QString folder = home_.filePath(kMenuStartFolderName);
  const QString history = QDir(folder).filePath("ZRV-02_IPAddressList.Log");
  if (c.inTheWay == InTheWay::FolderWithHistory) {
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(history);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("127.0.0.1,,,,,,\r\n");
  } else if (c.inTheWay == InTheWay::PlainFile) {
    QFile file(folder);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  if (c.marker != nullptr) qputenv(kMenuStartVariable, c.marker);

  const QString failure = EnterMenuStartFolder();

  EXPECT_EQ(!failure.isEmpty(), c.reportsFailure) << failure.toStdString();
  EXPECT_EQ(QDir::currentPath(), c.entersFolder ? folder : startDir_.path());
  if (c.inTheWay == InTheWay::Nothing) {
    EXPECT_EQ(QFileInfo(folder).isDir(), c.entersFolder);
  }
  if (c.inTheWay == InTheWay::FolderWithHistory) {
    EXPECT_TRUE(QFile::exists(history));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Launches, MenuStartFolderTest,
    ::testing::Values(
        MenuStartCase{"FromAShell", nullptr, InTheWay::Nothing, false, false},
        MenuStartCase{"EmptyMarkerIsAShell", "", InTheWay::Nothing, false, false},
        MenuStartCase{"FirstMenuStartMakesTheFolder", "1", InTheWay::Nothing, true, false},
        MenuStartCase{"LaterMenuStartKeepsTheHistory", "1", InTheWay::FolderWithHistory, true,
                      false},
        MenuStartCase{"AFileInTheWayLeavesItBe", "1", InTheWay::PlainFile, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zrv::test
