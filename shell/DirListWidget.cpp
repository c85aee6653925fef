#include "shell/DirListWidget.h"

#include <QDir>
#include <QFile>
#include <QStyle>

namespace zrv::shell {

namespace {

// Qt's own folder pictures, as the design's list drew fixed ones of its own.
// The style would look them up in the desktop's icon theme first, and that
// first lookup reads and searches the theme's whole index: about a fifth of
// the controller's start-up work. Should a Qt build lack the pictures, the
// style's icons are used after all.
QIcon FolderIcon(const QStyle& style, bool open) {
  static const QString kPictures[2] = {
      QStringLiteral(":/qt-project.org/styles/commonstyle/images/dirclosed-16.png"),
      QStringLiteral(":/qt-project.org/styles/commonstyle/images/diropen-16.png")};
  const QString& picture = kPictures[open];
  return QFile::exists(picture)
             ? QIcon(picture)
             : style.standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon);
}

}  // namespace

DirListWidget::DirListWidget(QWidget* parent) : QListWidget(parent) {
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    emit directoryChosen(item->data(Qt::UserRole).toString());
  });
}

void DirListWidget::SetPath(const QString& path) {
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
  auto* item =
      new QListWidgetItem(FolderIcon(*style(), open), QString(depth * 2, u' ') + name, this);
  item->setData(Qt::UserRole, path);
}

}  // namespace zrv::shell
