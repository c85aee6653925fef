#include "tests/app/shell/EndToEndFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace zrv::test {

void EndToEnd::Open(sim::SimOptions options) {
  sim = std::make_unique<sim::SimServer>(std::move(options));
  const quint16 port = ListenLocally([&](quint16 p) { return sim->listen(p); });
  WriteLocalHistory(port);
  window = std::make_unique<MainWindow>(messages);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void EndToEnd::Click(const char* name) {
  QTest::mouseClick(Find<QWidget>(name), Qt::LeftButton);
}

void EndToEnd::TypeInto(const char* name, const QString& text) {
  auto* field = Find<QLineEdit>(name);
  field->setFocus();
  field->selectAll();
  QTest::keyClick(field, Qt::Key_Backspace);
  QTest::keyClicks(field, text);
}

void EndToEnd::CheckVersion() {
  Click("Version_Check");
  ASSERT_TRUE(WaitFor([&] { return Find<QPushButton>("Version_Check")->text() == "Complete"; }));
  ASSERT_TRUE(WaitFor([&] { return Idle(); }));
}

QStringList EndToEnd::Wire() const {
  QStringList commands;
  for (const auto& entry : sim->trace()) commands << entry.command;
  return commands;
}

bool EndToEnd::Idle() const {
  return !window->timer1().Enabled();
}

}  // namespace zrv::test
