// Desktop notices through the freedesktop notification service on the
// session bus. The call is sent without waiting for an answer, so a missing
// or slow service never holds up the chart.
#pragma once

#include <QString>

namespace zrv::trend {

class DesktopNotifier {
 public:
  // False when there is no session bus to send it on.
  bool Notify(const QString& summary, const QString& body);
};

}  // namespace zrv::trend
