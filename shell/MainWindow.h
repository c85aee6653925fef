// The controller's window: owns the controller on the event loop
// (adapters/ControllerHost.h), builds one widget per view-model control,
// forwards the operator's events to the handlers and re-renders every widget
// after each handler.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "adapters/ControllerHost.h"
#include "shell/ControlRenderer.h"

class QRadioButton;

namespace zrv::shell {

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // `messages` shows the operator's message boxes: a QtMessageBox in the
  // program, a recording double in tests.
  explicit MainWindow(zrv::MessageBoxPort& messages, QWidget* parent = nullptr);

  zrv::SvZRV_02& Core() { return host_.Core(); }
  adapters::QtTimer& Timer1() { return host_.Timer1(); }
  const adapters::ControllerHost& Host() const { return host_; }

  // Brings every widget up to date with the view model.
  void RenderNow();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Puts the window on screen as the handler has left it so far before a
  // box covers it, as the operator would see it with a native window.
  class RenderFirst : public zrv::MessageBoxPort {
   public:
    RenderFirst(MainWindow& window, zrv::MessageBoxPort& messages)
        : window_(window), messages_(messages) {}
    void Show(const std::string& text, const std::string& detail) override {
      window_.RenderNow();
      window_.host_.TakeCopy();  // the exporters too see the state the box is about
      messages_.Show(text, detail);
    }
    void Notify(const std::string& text, const std::string& detail) override {
      messages_.Notify(text, detail);
    }

   private:
    MainWindow& window_;
    zrv::MessageBoxPort& messages_;
  };

  void BuildControls();
  void WireControl(zrv::Control& control, QWidget* widget);
  void WireKeyFilter(zrv::Control& control, QWidget* widget);
  void SetTabOrder();

  void RunHandler(const std::function<void()>& handler);
  void TakeOptionValues();

  RenderFirst messages_;
  adapters::ControllerHost host_;

  std::vector<std::pair<zrv::Control*, QWidget*>> widgets_;
  std::vector<std::pair<zrv::Control*, QRadioButton*>> options_;
  ControlRenderer renderer_;
  bool rendering_ = false;
};

}  // namespace zrv::shell
