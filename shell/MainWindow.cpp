#include "shell/MainWindow.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <algorithm>
#include <map>

#include "core/WindowEvents.h"
#include "shell/BgrColor.h"
#include "shell/ControlWidgetFactory.h"
#include "shell/DirListWidget.h"
#include "shell/KeyPressFilter.h"
#include "shell/ShellFonts.h"

namespace zrv::shell {

using zrv::Control;
using zrv::ControlKind;
using zrv::SvZRV_02;

MainWindow::MainWindow(zrv::MessageBoxPort& messages, QWidget* parent)
    : QWidget(parent), messages_(*this, messages), host_(messages_) {
  setWindowTitle(QString::fromLatin1(zrv::kWindowCaption));
  setFixedSize(zrv::kClientWidthTwips / zrv::kTwipsPerPixel,
               zrv::kClientHeightTwips / zrv::kTwipsPerPixel);
  setFont(WindowFont());
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, BgrColor(zrv::kWindowBackColor));
  setPalette(palette);
  setAutoFillBackground(true);

  BuildControls();
  SetTabOrder();
  connect(&host_, &adapters::ControllerHost::handled, this, &MainWindow::RenderNow);
  RunHandler([this] { Core().Form_Load(); });
}

void MainWindow::BuildControls() {
  // Frames first: their controls are placed inside them.
  std::map<std::string, QWidget*> containers;
  std::vector<Control*> controls = Core().View().All();
  std::stable_partition(controls.begin(), controls.end(),
                        [](const Control* c) { return c->kind == ControlKind::kFrame; });
  for (Control* control : controls) {
    const auto container = containers.find(control->container);
    QWidget* parent = container == containers.end() ? this : container->second;
    QWidget* widget = ControlWidgetFactory::Create(*control, parent);
    if (widget == nullptr) continue;
    if (control->kind == ControlKind::kFrame) containers[control->name] = widget;
    widgets_.emplace_back(control, widget);
    WireControl(*control, widget);
  }

  // The option buttons are one choice, whatever frame they sit in.
  auto* options = new QButtonGroup(this);
  for (const auto& [control, option] : options_) options->addButton(option);
}

void MainWindow::WireControl(Control& control, QWidget* widget) {
  switch (control.kind) {
    case ControlKind::kCommandButton:
      if (const zrv::ClickEvent* click = zrv::FindEvent(zrv::kClickEvents, control.name)) {
        connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this,
                [this, handler = click->handler] { RunHandler([&] { (Core().*handler)(); }); });
      }
      break;
    case ControlKind::kOptionButton: {
      auto* option = static_cast<QRadioButton*>(widget);
      options_.emplace_back(&control, option);
      // An option's Click comes with every click on it, also on the one
      // already chosen; rendering sets options without clicking them.
      const auto handler = zrv::FindEvent(zrv::kClickEvents, control.name)->handler;
      connect(option, &QRadioButton::clicked, this, [this, handler] {
        TakeOptionValues();
        RunHandler([&] { (Core().*handler)(); });
      });
      break;
    }
    case ControlKind::kTextBox:
      connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, this,
              [&control](const QString& text) { control.text = text.toStdString(); });
      WireKeyFilter(control, widget);
      break;
    case ControlKind::kComboBox:
      connect(static_cast<QComboBox*>(widget), &QComboBox::currentTextChanged, this,
              [this, &control](const QString& text) {
                if (!rendering_) control.text = text.toStdString();
              });
      WireKeyFilter(control, widget);
      break;
    case ControlKind::kDriveList:
      connect(static_cast<QComboBox*>(widget), &QComboBox::activated, this,
              [this, &control, combo = static_cast<QComboBox*>(widget)](int index) {
                // Choosing the drive already shown is no change, and must
                // not send the directory list back to the drive's root.
                const std::string drive = combo->itemText(index).toStdString();
                if (drive == control.text) return;
                control.text = drive;
                RunHandler([this] { (Core().*zrv::kDriveChange.handler)(); });
              });
      break;
    case ControlKind::kDirList:
      // Queued: the list rebuilds itself on render, and the entry that was
      // activated must outlive the signal that reports it.
      connect(
          static_cast<DirListWidget*>(widget), &DirListWidget::directoryChosen, this,
          [this, &control](const QString& path) {
            control.text = path.toStdString();
            RenderNow();
          },
          Qt::QueuedConnection);
      break;
    case ControlKind::kMultiLineTextBox:
      // Read-only, but a tab stop: the operator scrolls and copies with keys.
      widget->setFocusPolicy(Qt::StrongFocus);
      break;
    case ControlKind::kLabel:
    case ControlKind::kFrame:
    case ControlKind::kTimer:
    case ControlKind::kSocket:
      break;
  }
}

void MainWindow::WireKeyFilter(Control& control, QWidget* widget) {
  const zrv::KeyPressEvent* keyPress = zrv::FindEvent(zrv::kKeyPressEvents, control.name);
  if (keyPress == nullptr) return;
  auto* filter = new KeyPressFilter(
      [this, handler = keyPress->handler](std::int16_t& keyAscii) {
        RunHandler([&] { (Core().*handler)(keyAscii); });
      },
      widget);
  // On the combo box itself, not its line edit: the combo box holds the
  // focus and hands keys to the line edit directly, past any filter there.
  widget->installEventFilter(filter);
}

void MainWindow::SetTabOrder() {
  std::vector<std::pair<int, QWidget*>> stops;
  for (const auto& [control, widget] : widgets_) {
    if (widget->focusPolicy() & Qt::TabFocus) stops.emplace_back(control->tabIndex, widget);
  }
  std::sort(stops.begin(), stops.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < stops.size(); ++i) {
    setTabOrder(stops[i - 1].second, stops[i].second);
  }
  if (!stops.empty()) stops.front().second->setFocus();
}

void MainWindow::RenderNow() {
  const QScopedValueRollback<bool> rendering(rendering_, true);
  for (const auto& [control, widget] : widgets_) renderer_.Render(*control, widget);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  RunHandler([this] { Core().Form_QueryUnload(); });
  // The window is gone for the logic: nothing may reach its handlers now.
  host_.Detach();
  event->accept();
}

void MainWindow::RunHandler(const std::function<void()>& handler) {
  host_.RunHandler(handler);
}

void MainWindow::TakeOptionValues() {
  for (const auto& [control, option] : options_) control->value = option->isChecked();
}

}  // namespace zrv::shell
