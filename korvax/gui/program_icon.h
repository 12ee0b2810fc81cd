// The program icon (class icon, small icon and About box picture), drawn rather than stored.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace korvax {

QPixmap programIconPixmap(int size);
QIcon programIcon();

} // namespace korvax
