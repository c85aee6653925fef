// Colours of the view model (&HBBGGRR, or a system colour) as QColor.
#pragma once

#include <QColor>
#include <cstdint>

namespace zrv::shell {

QColor BgrColor(std::uint32_t color);

}  // namespace zrv::shell
