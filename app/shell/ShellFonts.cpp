#include "app/shell/ShellFonts.h"

#include <cmath>

namespace {

// The design's default font for the window.
constexpr const char* kWindowFamily = "MS UI Gothic";
constexpr int kWindowPointSize = 9;

int PixelsOf(int points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

}  // namespace

void InstallFontSubstitutions() {
  QFont::insertSubstitution(QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"));
  QFont::insertSubstitution(QString::fromLatin1(kWindowFamily), QStringLiteral("IPAPGothic"));
}

QFont WindowFont() {
  QFont font(QString::fromLatin1(kWindowFamily));
  font.setPixelSize(PixelsOf(kWindowPointSize));
  return font;
}

QFont ControlFont(const zrv::FontSpec& spec) {
  QFont font(QString::fromStdString(spec.family));
  font.setPixelSize(PixelsOf(spec.pointSize));
  font.setWeight(static_cast<QFont::Weight>(spec.weight));
  return font;
}
