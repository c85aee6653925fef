#include "logger/StderrMessages.h"

#include <QDateTime>
#include <cstdio>

namespace zrv::logger {

void Say(const QString& line) {
  std::fprintf(stderr, "%s zrv02-logger: %s\n",
               qPrintable(QDateTime::currentDateTime().toString(Qt::ISODateWithMs)),
               qPrintable(line));
  std::fflush(stderr);
}

void StderrMessages::Show(const std::string& text, const std::string& detail) {
  last_ = QString::fromStdString(text);
  Say(last_ + (detail.empty() ? QString() : " (" + QString::fromStdString(detail) + ")"));
}

void StderrMessages::Notify(const std::string& text, const std::string& detail) {
  Show(text, detail);
}

}  // namespace zrv::logger
