#include "app/shell/DirListWidget.h"

#include <QDir>
#include <QStyle>

DirListWidget::DirListWidget(QWidget* parent) : QListWidget(parent) {
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    emit directoryChosen(item->data(Qt::UserRole).toString());
  });
}

void DirListWidget::setPath(const QString& path) {
  path_ = path;
  clear();
  if (path.isEmpty()) return;

  const QString current = QDir::cleanPath(path);
  const QStringList parts = current.split(u'/', Qt::SkipEmptyParts);
  QString ancestor = QStringLiteral("/");
  AddEntry(ancestor, ancestor, 0, true);
  for (int i = 0; i < parts.size(); ++i) {
    ancestor = QDir(ancestor).filePath(parts[i]);
    AddEntry(parts[i], ancestor, i + 1, true);
  }
  setCurrentRow(count() - 1);

  const QDir dir(current);
  const QStringList children =
      dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& child : children) {
    AddEntry(child, dir.filePath(child), static_cast<int>(parts.size()) + 1, false);
  }
}

void DirListWidget::AddEntry(const QString& name, const QString& path, int depth, bool open) {
  const QIcon icon =
      style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon);
  auto* item = new QListWidgetItem(icon, QString(depth * 2, u' ') + name, this);
  item->setData(Qt::UserRole, path);
}
