#include "shell/ShellFonts.h"

#include <cmath>

namespace zrv::shell {

namespace {

// The design's default font for the window. Its stand-in runs wider, so it
// gets 11 px rather than the 12 px of 9 pt: the largest size at which every
// caption still fits its control.
constexpr const char* kWindowFamily = "MS UI Gothic";
constexpr int kWindowPixelSize = 11;

int PixelsOf(int points) {
  return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

}  // namespace

void InstallFontSubstitutions() {
  QFont::insertSubstitution(QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"));
  QFont::insertSubstitution(QString::fromLatin1(kWindowFamily), QStringLiteral("IPAPGothic"));
}

QFont WindowFont() {
  QFont font(QString::fromLatin1(kWindowFamily));
  font.setPixelSize(kWindowPixelSize);
  return font;
}

QFont ControlFont(const zrv::ControlFont& design) {
  QFont font(QString::fromStdString(design.family));
  font.setPixelSize(PixelsOf(design.pointSize));
  font.setWeight(static_cast<QFont::Weight>(design.weight));
  return font;
}

}  // namespace zrv::shell
