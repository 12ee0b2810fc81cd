// Dialog sizes are given in dialog units of an 8-point dialog font: a horizontal unit is a
// quarter of the font's average character width, a vertical unit an eighth of its height.
#pragma once

#include <QFont>
#include <QSize>

namespace korvax {

QFont dialogFont();
QSize dialogUnitsToPixels(int width, int height);

} // namespace korvax
