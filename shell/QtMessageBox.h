// The operator's message boxes: one OK button, the program's title, the
// fixed text, and the detail behind "Show Details..." and on standard error
// with a time stamp. No box runs an event loop of its own: Show's box is
// modal to the window, so it holds the operator's input there while the
// timers and the socket go on, and Notify's box stays up beside the window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "core/Ports.h"

namespace zrv::shell {

class QtMessageBox : public zrv::MessageBoxPort {
 public:
  // The window whose input Show's boxes hold.
  void SetWindow(QWidget* window) { window_ = window; }

  void Show(const std::string& text, const std::string& detail) override;
  void Notify(const std::string& text, const std::string& detail) override;

 private:
  QPointer<QWidget> window_;
};

}  // namespace zrv::shell
