#include "shell/KeyPressFilter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace zrv::shell {

namespace {

// The character a key press types. Some platforms report Ctrl+C as "c"
// with the Control modifier rather than as the control character 3.
QChar TypedChar(const QKeyEvent& key) {
  const QChar c = key.text().front();
  const bool control = key.modifiers() & Qt::ControlModifier;
  if (control && c.isLetter() && c.unicode() < 0x80) return QChar(c.toUpper().unicode() & 0x1F);
  return c;
}

}  // namespace

KeyPressFilter::KeyPressFilter(KeyPress keyPress, QObject* parent)
    : QObject(parent), keyPress_(std::move(keyPress)) {}

bool KeyPressFilter::Accepts(QChar c) {
  // Latin-1 keeps its code; anything wider wraps to above 255 or below 0.
  std::int16_t keyAscii = static_cast<std::int16_t>(c.unicode());
  keyPress_(keyAscii);
  return keyAscii != 0;
}

bool KeyPressFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto& key = *static_cast<QKeyEvent*>(event);
    // Delete edits the field; X11 gives it the text DEL (127), but it types nothing.
    const bool editing = key.key() == Qt::Key_Delete;
    if (!editing && !key.text().isEmpty() && !Accepts(TypedChar(key))) return true;
  } else if (event->type() == QEvent::InputMethod) {
    auto* input = static_cast<QInputMethodEvent*>(event);
    QString kept;
    for (QChar c : input->commitString()) {
      if (Accepts(c)) kept += c;
    }
    if (kept != input->commitString()) {
      input->setCommitString(kept, input->replacementStart(), input->replacementLength());
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace zrv::shell
