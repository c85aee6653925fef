// Files as an operator's machine may have them: address history files that
// are missing, damaged or cannot be written, and a log that fails mid-run.
// The window goes on and says what went wrong; nothing but loopback is
// dialled (a history that cannot be read leaves the design host, which the
// operator replaces before pressing Check).
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "tests/app/shell/EndToEndFixture.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

namespace fs = std::filesystem;

// Written in a history file's place; kDirectory puts a directory there.
const std::string kDirectory = "<directory>";
// The host the window is designed with, before any history is read.
const std::string kDesignHost = ViewModel().HostIPEdit.text;

struct HistoryCase {
  const char* name;
  std::string bytes;      // both files
  std::string shownHost;  // "" = not checked
  std::vector<std::string> messages;
  std::string ipFileAfter;  // "" = not checked
};

class BadHistoryFiles : public EndToEnd, public testing::WithParamInterface<HistoryCase> {
 protected:
  void TearDown() override {
    for (const char* file : {kIpHistoryFile, kPortHistoryFile}) fs::remove_all(file);
  }
  void TypeIntoCombo(const char* name, const std::string& text) {
    QLineEdit* edit = Find<QComboBox>(name)->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    Type(edit, QString::fromStdString(text));
  }
};

TEST_P(BadHistoryFiles, CheckStillRunsAndSaysWhatFailed) {
  const HistoryCase& c = GetParam();
  sim = std::make_unique<sim::SimServer>(sim::SimOptions{});
  const quint16 port = ListenLocally([&](quint16 p) { return sim->listen(p); });
  for (const char* file : {kIpHistoryFile, kPortHistoryFile}) {
    fs::remove_all(file);
    if (c.bytes == kDirectory) {
      fs::create_directory(file);
    } else if (c.bytes != "<missing>") {
      WriteFileBytes(file, c.bytes);
    }
  }
  window = std::make_unique<MainWindow>(messages);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  if (!c.shownHost.empty()) {
    EXPECT_EQ(Find<QComboBox>("HostIPEdit")->currentText().toStdString(), c.shownHost);
  }

  TypeIntoCombo("HostIPEdit", "127.0.0.1");
  TypeIntoCombo("HostPTEdit", std::to_string(port));
  CheckVersion();
  EXPECT_EQ(messages.shown, c.messages);
  if (!c.ipFileAfter.empty()) {
    EXPECT_EQ(ReadFileBytes(kIpHistoryFile), c.ipFileAfter);
  }
  EXPECT_FALSE(fs::exists(std::string(kIpHistoryFile) + ".tmp"));
}

const std::string kWritten = "127.0.0.1,,,,,,\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, BadHistoryFiles,
    testing::Values(
        HistoryCase{"Missing", "<missing>", kDesignHost, {}, kWritten},
        HistoryCase{"Empty", "", kDesignHost, {}, kWritten},
        HistoryCase{"TenMegabytesInOneLine", std::string(10 << 20, '7'), kDesignHost, {}, kWritten},
        HistoryCase{"Binary", std::string("\x00\xff\x01,\x80\r\x1b\xfe\x02", 9), "", {}, ""},
        HistoryCase{"LineWithoutCommas", "10.0.0.1", "10.0.0.1", {}, "127.0.0.1,10.0.0.1,,,,,\r\n"},
        HistoryCase{
            "MoreThanSixItems", "a,b,c,d,e,f,g,h,\r\n", "a", {}, "127.0.0.1,a,b,c,d,f,\r\n"},
        HistoryCase{"DirectoryInThePlace",
                    kDirectory,
                    kDesignHost,
                    {"Can't write ZRV-02_IPAddressList.Log !\nCan't write ZRV-02_PortList.Log !"},
                    ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct LogCase {
  const char* name;
  std::string directory;  // "" = a fresh subdirectory, removed once a line is logged
  std::string file;
};

class FailingLog : public EndToEnd, public testing::WithParamInterface<LogCase> {};

TEST_P(FailingLog, RunGoesOnAndTheOperatorIsToldOnce) {
  const LogCase& c = GetParam();
  Open({.instrument = {.firmware = "1.10"}});
  CheckVersion();
  const fs::path doomed = fs::current_path() / "doomed";
  fs::create_directories(doomed);
  vm().Dir1.text = c.directory.empty() ? doomed.string() : c.directory;
  window->renderNow();
  TypeInto("Txt_Interval", "1");
  TypeInto("Txt_Save_File", QString::fromStdString(c.file));
  Click("start");
  const auto polls = [&] { return Wire().count("PURITY?"); };
  if (c.directory.empty()) {
    ASSERT_TRUE(WaitFor([&] { return !ReadFileBytes((doomed / c.file).string()).empty(); }));
    fs::remove_all(doomed);
  }
  const int before = polls();
  ASSERT_TRUE(WaitFor([&] { return polls() >= before + 3; }, 8000)) << "the run goes on";
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Can't write log file !"});
  Click("stop");
  ASSERT_TRUE(WaitFor([&] { return Idle() && Find("start")->isEnabled(); }));
}

INSTANTIATE_TEST_SUITE_P(Logs, FailingLog,
                         testing::Values(LogCase{"DirectoryRemovedMidRun", "", "run.log"},
                                         LogCase{"DevFull", "/dev", "full"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zrv::test
