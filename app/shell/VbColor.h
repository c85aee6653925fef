// Colours of the view model (&HBBGGRR, or a system colour) as QColor.
#pragma once

#include <QColor>
#include <cstdint>

QColor VbColor(std::uint32_t color);
