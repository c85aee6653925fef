#include "shell/QtMessageBox.h"

#include <QApplication>
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

void QtMessageBox::Show(const std::string& text, const std::string& detail) {
  QWidget* window = window_ ? window_.data() : QApplication::activeWindow();
  QMessageBox* box = OpenBox(text, detail, window);
  box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
  box->open();
}

void QtMessageBox::Notify(const std::string& text, const std::string& detail) {
  QMessageBox* box = OpenBox(text, detail, QApplication::activeWindow());
  box->setWindowModality(Qt::NonModal);
  box->show();
}

}  // namespace zrv::shell
