#include "program_icon.h"

#include <QPainter>
#include <QRadialGradient>

namespace korvax {

// A compact disc seen from above, with a ring in the disc's own colours.
QPixmap programIconPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(size * 0.04, size * 0.04, size * 0.92, size * 0.92);
    QRadialGradient shine(disc.center(), disc.width() / 2);
    shine.setColorAt(0.0, QColor(235, 235, 245));
    shine.setColorAt(0.6, QColor(170, 190, 230));
    shine.setColorAt(1.0, QColor(120, 120, 170));
    p.setPen(QPen(QColor(60, 60, 90), size / 32.0 + 0.5));
    p.setBrush(shine);
    p.drawEllipse(disc);
    p.setPen(QPen(QColor(30, 70, 160), size / 10.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(disc.adjusted(size * 0.2, size * 0.2, -size * 0.2, -size * 0.2));
    p.setPen(QPen(QColor(60, 60, 90), size / 32.0 + 0.5));
    p.setBrush(QColor(255, 255, 255));
    const double hole = size * 0.14;
    p.drawEllipse(disc.center(), hole, hole);
    return pixmap;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(programIconPixmap(size));
    return icon;
}

} // namespace korvax
