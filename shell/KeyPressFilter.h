// Hands every typed character of one entry field to its KeyPress handler
// before the field sees it, and drops the character when the handler sets
// the code to 0. Characters outside Latin-1 get a code the handlers refuse
// (above 255 or negative). Keys without text (arrows, function keys) are
// not characters and pass untouched; pasted text is not typed and is not
// filtered.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

namespace zrv::shell {

class KeyPressFilter : public QObject {
  Q_OBJECT

 public:
  using KeyPress = std::function<void(std::int16_t& keyAscii)>;

  KeyPressFilter(KeyPress keyPress, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Accepts(QChar c);

  KeyPress keyPress_;
};

}  // namespace zrv::shell
