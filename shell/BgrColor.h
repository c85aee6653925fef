// Colours of the view model (&HBBGGRR, or a system colour) as QColor.
#pragma once

#include <QColor>
#include <cstdint>

QColor BgrColor(std::uint32_t color);
