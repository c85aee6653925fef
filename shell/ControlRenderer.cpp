#include "shell/ControlRenderer.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>

#include "shell/BgrColor.h"
#include "shell/DirListWidget.h"

namespace zrv::shell {

using zrv::Control;
using zrv::ControlKind;

namespace {

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

// The box shows the instrument's bytes, one character each (Latin-1), and
// CR LF as one line break.
QString Shown(const std::string& text) {
  QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

QStringList List(const std::vector<std::string>& entries) {
  QStringList list;
  for (const std::string& entry : entries) list << Text(entry);
  return list;
}

QStringList ItemsOf(const QComboBox& combo) {
  QStringList items;
  for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
  return items;
}

void SetColor(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
  if (widget->palette().color(role) == color) return;
  QPalette palette = widget->palette();
  palette.setColor(role, color);
  widget->setPalette(palette);
}

// Surfaces (labels, frames, options) are drawn in the window colour roles;
// entry fields in the base roles. Surfaces default to the button face.
void RenderColors(const Control& c, QWidget* widget, bool surface) {
  if (surface) {
    SetColor(widget, QPalette::Window, BgrColor(c.backColor.value_or(zrv::kButtonFace)));
    if (c.foreColor) SetColor(widget, QPalette::WindowText, BgrColor(*c.foreColor));
  } else {
    if (c.backColor) SetColor(widget, QPalette::Base, BgrColor(*c.backColor));
    if (c.foreColor) SetColor(widget, QPalette::Text, BgrColor(*c.foreColor));
  }
}

// A graphical-style button: the back colour fills the whole face, inside
// the same raised edge whatever the colour; a dark edge marks the focus and
// a disabled caption stays readable on bright faces.
void RenderButton(const Control& c, QPushButton* button) {
  const QString back = BgrColor(c.backColor.value_or(zrv::kButtonFace)).name();
  const QString fore =
      c.foreColor ? QStringLiteral("color:%1;").arg(BgrColor(*c.foreColor).name()) : QString();
  const QString sheet = QStringLiteral(
                            "QPushButton{background-color:%1;border:2px outset #a0a0a0;%2}"
                            "QPushButton:focus{border-color:#505050;}"
                            "QPushButton:disabled{color:#808080;}"
                            "QPushButton:pressed{border-style:inset;}")
                            .arg(back, fore);
  if (button->styleSheet() != sheet) button->setStyleSheet(sheet);
  if (button->text() != Text(c.text)) button->setText(Text(c.text));
}

void RenderOption(const Control& c, QRadioButton* option) {
  if (option->text() != Text(c.text)) option->setText(Text(c.text));
  if (option->isChecked() == c.value) return;
  // An exclusive group refuses to clear its checked button.
  QButtonGroup* group = option->group();
  if (group != nullptr) group->setExclusive(false);
  option->setChecked(c.value);
  if (group != nullptr) group->setExclusive(true);
}

void RenderList(const Control& c, QComboBox* combo) {
  const QStringList list = List(c.list);
  if (ItemsOf(*combo) != list) {
    combo->clear();
    combo->addItems(list);
  }
}

}  // namespace

void ControlRenderer::Render(const Control& c, QWidget* widget) {
  if (widget->isEnabledTo(widget->parentWidget()) != c.enabled) widget->setEnabled(c.enabled);
  if (widget->toolTip() != Text(c.toolTip)) widget->setToolTip(Text(c.toolTip));

  switch (c.kind) {
    case ControlKind::kLabel: {
      auto* label = static_cast<QLabel*>(widget);
      if (label->text() != Text(c.text)) label->setText(Text(c.text));
      RenderColors(c, widget, true);
      break;
    }
    case ControlKind::kCommandButton:
      RenderButton(c, static_cast<QPushButton*>(widget));
      break;
    case ControlKind::kTextBox: {
      auto* edit = static_cast<QLineEdit*>(widget);
      const int maxLength = c.maxLength > 0 ? c.maxLength : 32767;
      if (edit->maxLength() != maxLength) edit->setMaxLength(maxLength);
      if (edit->text() != Text(c.text)) edit->setText(Text(c.text));
      RenderColors(c, widget, false);
      break;
    }
    case ControlKind::kMultiLineTextBox:
      RenderReplyBox(c, static_cast<QPlainTextEdit*>(widget));
      RenderColors(c, widget, false);
      break;
    case ControlKind::kComboBox: {
      auto* combo = static_cast<QComboBox*>(widget);
      RenderList(c, combo);
      if (combo->currentText() != Text(c.text)) combo->setEditText(Text(c.text));
      RenderColors(c, widget, false);
      break;
    }
    case ControlKind::kFrame:
      RenderColors(c, widget, true);
      break;
    case ControlKind::kOptionButton:
      RenderOption(c, static_cast<QRadioButton*>(widget));
      RenderColors(c, widget, true);
      break;
    case ControlKind::kDriveList: {
      auto* combo = static_cast<QComboBox*>(widget);
      RenderList(c, combo);
      if (combo->currentText() != Text(c.text))
        combo->setCurrentIndex(combo->findText(Text(c.text)));
      RenderColors(c, widget, false);
      break;
    }
    case ControlKind::kDirList: {
      auto* list = static_cast<DirListWidget*>(widget);
      if (list->Path() != Text(c.text)) list->SetPath(Text(c.text));
      RenderColors(c, widget, false);
      break;
    }
    case ControlKind::kTimer:
    case ControlKind::kSocket:
      break;
  }
}

void ControlRenderer::RenderReplyBox(const Control& c, QPlainTextEdit* box) {
  if (c.text == replyText_ && c.selStart == replySelStart_) return;

  const QString shown = Shown(c.text);
  const QString before = Shown(replyText_);
  if (c.text != replyText_) {
    if (!replyText_.empty() && shown.startsWith(before)) {
      QTextCursor end(box->document());
      end.movePosition(QTextCursor::End);
      end.insertText(shown.mid(before.size()));
    } else {
      box->setPlainText(shown);
    }
  }
  replyText_ = c.text;
  replySelStart_ = c.selStart;

  // The insertion point is a byte offset into the model's text.
  const std::size_t bytes = std::min(c.selStart, c.text.size());
  const int position = static_cast<int>(Shown(c.text.substr(0, bytes)).size());
  QTextCursor cursor = box->textCursor();
  cursor.setPosition(std::min(position, box->document()->characterCount() - 1));
  box->setTextCursor(cursor);
  box->ensureCursorVisible();
}

}  // namespace zrv::shell
