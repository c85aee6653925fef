// The controller's window: owns the logic (SvZRV_02) and its Qt ports,
// builds one widget per view-model control, forwards operator and timer
// events to the handlers and re-renders every widget after each handler.
//
// Handlers never overlap: each runs to completion on the event loop, and no
// message box runs an event loop inside one. Arriving replies wait in the
// socket adapter and come one per event, so no handler ever sees the state
// half-changed by another and no reply is lost.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/SvZRV_02.h"
#include "monitoring/StateCopy.h"
#include "shell/ControlRenderer.h"
#include "shell/QtClock.h"
#include "shell/QtDirectories.h"
#include "shell/QtTcpClient.h"
#include "shell/QtTimer.h"

class QRadioButton;

namespace zrv::shell {

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // `messages` shows the operator's message boxes: a QtMessageBox in the
  // program, a recording double in tests.
  explicit MainWindow(zrv::MessageBoxPort& messages, QWidget* parent = nullptr);

  zrv::SvZRV_02& Core() { return core_; }
  QtTimer& Timer1() { return timer1_; }
  // The state as the exporters show it, taken at each render.
  const zrv::monitoring::StateCopy& Copy() const { return copy_; }

  // Brings every widget up to date with the view model.
  void RenderNow();

 signals:
  // After each render: the state is as a handler left it (or as it stands
  // before a box the handler raises), never half-changed.
  void rendered();

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
  void WireTimersAndSocket();

  void RunHandler(const std::function<void()>& handler);
  void OnTick(void (zrv::SvZRV_02::*handler)());
  void ScheduleDelivery();
  void DeliverReply();
  void TakeOptionValues();

  QtTcpClient tcp_;
  QtTimer timer1_;
  QtTimer timer2_;
  RenderFirst messages_;
  QtClock clock_;
  QtDirectories directories_;
  zrv::SvZRV_02 core_;
  zrv::monitoring::StateCopy copy_;

  std::vector<std::pair<zrv::Control*, QWidget*>> widgets_;
  std::vector<std::pair<zrv::Control*, QRadioButton*>> options_;
  ControlRenderer renderer_;
  int handlerDepth_ = 0;
  bool deliveryQueued_ = false;
  bool rendering_ = false;
};

}  // namespace zrv::shell
