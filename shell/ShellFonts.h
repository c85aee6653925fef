// Fonts of the window. The design names Japanese Windows fonts; IPAPGothic
// stands in for them because it has their metrics and the full-width
// characters of the captions. Sizes become pixels at 96 dpi, like the
// geometry, so the layout does not depend on the screen's dpi.
#pragma once

#include <QFont>

#include "core/ViewModel.h"

// Called once before any window is created.

namespace zrv::shell {

void InstallFontSubstitutions();

// The window's own font, used by every control without a font of its own.
QFont WindowFont();

QFont ControlFont(const zrv::ControlFont& design);

}  // namespace zrv::shell
