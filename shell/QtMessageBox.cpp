#include "shell/QtMessageBox.h"

#include <QDateTime>
#include <QMessageBox>
#include <cstdio>

namespace zrv::shell {

namespace {

QMessageBox* OpenBox(const std::string& text, const std::string& detail, QWidget* parent) {
  const QString shown = QString::fromStdString(text);
  const QString why = QString::fromStdString(detail);
  std::fprintf(stderr, "%s zrv02-controller: %s%s\n",
               qPrintable(QDateTime::currentDateTime().toString(Qt::ISODateWithMs)),
               qPrintable(shown), qPrintable(why.isEmpty() ? QString() : " (" + why + ")"));
  auto* box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Quorvane v1.20"), shown,
                              QMessageBox::Ok, parent);
  if (!why.isEmpty()) box->setDetailedText(why);
  box->setAttribute(Qt::WA_DeleteOnClose);
  return box;
}

}  // namespace

// Every box belongs to the window, never to the box that happens to be
// active: closing one box leaves the others up.
void QtMessageBox::Show(const std::string& text, const std::string& detail) {
  QMessageBox* box = OpenBox(text, detail, window_);
  box->setWindowModality(window_ ? Qt::WindowModal : Qt::ApplicationModal);
  box->open();
}

void QtMessageBox::Notify(const std::string& text, const std::string& detail) {
  QMessageBox* box = OpenBox(text, detail, window_);
  box->setWindowModality(Qt::NonModal);
  box->show();
}

}  // namespace zrv::shell
