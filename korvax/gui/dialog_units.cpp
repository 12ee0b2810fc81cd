#include "dialog_units.h"

namespace korvax {

QFont dialogFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// The classic 8-point sans serif dialog font measures 6 x 13 pixels at 96 dots per inch; fixed
// figures keep the dialogs the same size whatever font the system substitutes.
QSize dialogUnitsToPixels(int width, int height) { return QSize(width * 6 / 4, height * 13 / 8); }

} // namespace korvax
