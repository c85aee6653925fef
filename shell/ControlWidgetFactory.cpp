#include "shell/ControlWidgetFactory.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cmath>

#include "shell/DirListWidget.h"
#include "shell/OptionButtonWidget.h"
#include "shell/ShellFonts.h"

namespace zrv::shell {

using zrv::ControlKind;

namespace {

int Pixels(int twips) {
  return static_cast<int>(std::lround(static_cast<double>(twips) / zrv::kTwipsPerPixel));
}

}  // namespace

QRect ControlWidgetFactory::PixelRect(const zrv::Geometry& twips) {
  return QRect(Pixels(twips.left), Pixels(twips.top), Pixels(twips.width), Pixels(twips.height));
}

QWidget* ControlWidgetFactory::Create(const zrv::Control& control, QWidget* parent) {
  QWidget* widget = CreateOfKind(control.kind, parent);
  if (widget == nullptr) return nullptr;
  widget->setObjectName(QString::fromStdString(control.name));
  if (control.geometry) widget->setGeometry(PixelRect(*control.geometry));
  if (control.font) widget->setFont(ControlFont(*control.font));
  return widget;
}

QWidget* ControlWidgetFactory::CreateOfKind(ControlKind kind, QWidget* parent) {
  switch (kind) {
    case ControlKind::kLabel: {
      auto* label = new QLabel(parent);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setAutoFillBackground(true);
      return label;
    }
    case ControlKind::kCommandButton:
      return new QPushButton(parent);
    case ControlKind::kTextBox:
      return new QLineEdit(parent);
    case ControlKind::kMultiLineTextBox: {
      auto* box = new QPlainTextEdit(parent);
      box->setReadOnly(true);
      box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
      box->setLineWrapMode(QPlainTextEdit::NoWrap);
      box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      return box;
    }
    case ControlKind::kComboBox: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(true);
      // The entries are the address history, kept by the logic alone, and
      // typing is never completed from it: "1" must stay "1".
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setCompleter(nullptr);
      return combo;
    }
    case ControlKind::kFrame: {
      auto* frame = new QFrame(parent);
      frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
      frame->setAutoFillBackground(true);
      return frame;
    }
    case ControlKind::kOptionButton: {
      auto* option = new OptionButtonWidget(parent);
      option->setAutoFillBackground(true);
      return option;
    }
    case ControlKind::kDriveList:
      return new QComboBox(parent);
    case ControlKind::kDirList:
      return new DirListWidget(parent);
    case ControlKind::kTimer:
    case ControlKind::kSocket:
      return nullptr;
  }
  return nullptr;
}

}  // namespace zrv::shell
