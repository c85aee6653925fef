// The controller's real window on the real event loop, talking over loopback
// to the simulator running in the same process. Tests act as the operator:
// they type into and click the real widgets.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <memory>

#include "app/shell/MainWindow.h"
#include "sim/SimServer.h"
#include "tests/app/shell/ShellTestSupport.h"

namespace zrv::test {

class EndToEnd : public testing::Test {
 protected:
  // Starts the simulator on a free port below 32768, points the history
  // files at it and opens the window.
  void Open(sim::SimOptions options);

  template <typename W = QWidget>
  W* Find(const char* name) {
    W* widget = window->findChild<W*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  void Click(const char* name);
  // Replaces the text of a line edit as the operator would: select, type.
  void TypeInto(const char* name, const QString& text);
  // Presses Check and waits until the version is accepted and the link idle.
  void CheckVersion();
  // Commands the simulator received, in order.
  QStringList Wire() const;
  bool Idle() const;

  ViewModel& vm() { return window->core().View(); }

  ScriptedMessageBox messages;
  std::unique_ptr<sim::SimServer> sim;
  std::unique_ptr<MainWindow> window;
};

}  // namespace zrv::test
