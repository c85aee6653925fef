// The logger's message boxes: each box's text goes to standard error as one
// line with its time stamp and detail, which the journal keeps, and nothing
// waits for an OK. The last text is kept: it says why a run ended.
#pragma once

#include <QString>

#include "core/Ports.h"

namespace zrv::logger {

class StderrMessages : public zrv::MessageBoxPort {
 public:
  void Show(const std::string& text, const std::string& detail) override;
  void Notify(const std::string& text, const std::string& detail) override;

  const QString& LastText() const { return last_; }

 private:
  QString last_;
};

// One line on standard error, stamped like the boxes' lines.
void Say(const QString& line);

}  // namespace zrv::logger
